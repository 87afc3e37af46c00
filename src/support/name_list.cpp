#include "support/name_list.h"

#include <string.h>

#include "support/ascii_fold.h"

NameNode::NameNode() : name_(nullptr), insertions_(0), next_(nullptr) {}

NameNode::NameNode(const char* name) : NameNode() { SetName(name); }

NameNode::~NameNode() { delete[] name_; }

void NameNode::SetName(const char* text) {
  char* copy = nullptr;
  if (text) {
    size_t size = strlen(text) + 1;
    copy = new char[size];
    memset(copy, 0, size);
    memcpy(copy, text, size - 1);
  }
  delete[] name_;
  name_ = copy;
}

NameList::NameList() : count_(0), head_(nullptr) {}

NameList::~NameList() { Clear(); }

// Counts one insertion and links node behind after, or at the head when after is null.
void NameList::Link(NameNode* node, NameNode* after) {
  ++node->insertions_;
  ++count_;
  if (after) {
    node->next_ = after->next_;
    after->next_ = node;
  } else {
    node->next_ = head_;
    head_ = node;
  }
}

NameNode* NameList::PushFront(NameNode* node) {
  if (!node) return nullptr;
  Link(node, nullptr);
  return node;
}

void NameList::Append(NameNode* node) {
  if (!node) return;
  ++node->insertions_;
  ++count_;
  if (!head_) {
    head_ = node;
    return;
  }
  NameNode* last = head_;
  while (last->next_) last = last->next_;
  last->next_ = node;
}

NameNode* NameList::InsertAfter(NameNode* node, NameNode* after) {
  if (!node) return nullptr;
  Link(node, head_ ? after : nullptr);
  return node;
}

void NameList::InsertBefore(NameNode* node, NameNode* before) {
  if (!node) return;
  if (!before) {
    Append(node);
    return;
  }
  if (!head_ || before == head_) {
    Link(node, nullptr);
    return;
  }
  NameNode* previous = head_;
  while (previous->next_ && previous->next_ != before) previous = previous->next_;
  InsertAfter(node, previous);
}

NameNode* NameList::Find(const char* key) const {
  if (!key) return nullptr;
  for (NameNode* node = head_; node; node = node->next_) {
    if (node->name_ && node->name_[0] == key[0] && EqualsAsciiFolded(node->name_, key)) return node;
  }
  return nullptr;
}

bool NameList::Unlink(NameNode* node) {
  if (!node || !head_) return false;
  if (node == head_) {
    head_ = node->next_;
  } else {
    NameNode* previous = head_;
    while (previous->next_ && previous->next_ != node) previous = previous->next_;
    if (!previous->next_) return false;
    previous->next_ = node->next_;
  }
  node->next_ = nullptr;
  --count_;
  return true;
}

bool NameList::Release(NameNode* node) {
  if (!node || !head_) return false;
  if (node->insertions_ > 2) {
    --node->insertions_;
    return true;
  }
  if (!Unlink(node)) return false;
  delete node;
  return true;
}

void NameList::Clear() {
  NameNode* node = head_;
  while (node) {
    NameNode* next = node->next_;
    delete node;
    node = next;
  }
  head_ = nullptr;
  count_ = 0;
}
