#pragma once

#include <stdint.h>

// A heap node with an owned name, linked into at most one NameList.
class NameNode {
 public:
  NameNode();
  explicit NameNode(const char* name);
  virtual ~NameNode();
  // Replaces the name with a copy of text (null clears it). Text may lie
  // inside the current name: it is copied before the old name is freed.
  virtual void SetName(const char* text);

  NameNode(const NameNode&) = delete;
  NameNode& operator=(const NameNode&) = delete;

  const char* Name() const { return name_; }
  int32_t Insertions() const { return insertions_; }
  NameNode* Next() const { return next_; }

 private:
  friend class NameList;
  char* name_;
  int32_t insertions_;  // every insertion counts; Unlink does not take it back
  NameNode* next_;
};

// A singly linked list that owns its nodes. A null node argument changes
// nothing and gives null or false.
class NameList {
 public:
  NameList();
  virtual ~NameList();
  NameList(const NameList&) = delete;
  NameList& operator=(const NameList&) = delete;

  NameNode* PushFront(NameNode* node);
  void Append(NameNode* node);
  // At the head when after is null or the list is empty.
  NameNode* InsertAfter(NameNode* node, NameNode* after);
  // At the end when before is null or not in the list.
  void InsertBefore(NameNode* node, NameNode* before);
  // First node whose name starts with key's first byte exactly and equals
  // key by ASCII folding.
  NameNode* Find(const char* key) const;
  // Takes the node out; the caller owns it then.
  bool Unlink(NameNode* node);
  // A node inserted more than twice only has its count taken down;
  // otherwise it is unlinked and destroyed (and kept alive if not in the list).
  bool Release(NameNode* node);
  void Clear();

  int32_t Count() const { return count_; }
  NameNode* Head() const { return head_; }

 private:
  void Link(NameNode* node, NameNode* after);
  int32_t count_;
  NameNode* head_;
};
