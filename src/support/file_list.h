#pragma once

#include <stdint.h>

#include "platform/platform.h"
#include "support/file_attributes.h"
#include "support/name_list.h"

class PathText;

// A listed entry: its name with what the listing said of it, so that a
// decision is about this very entry and not whatever its path names later.
class EntryNode : public NameNode {
 public:
  EntryNode(const char* name, const platform::FindData& found);
  ~EntryNode() override {}

  uint32_t Attributes() const { return attributes_; }
  uint32_t ReparseTag() const { return reparseTag_; }   // 0 unless a reparse point
  const char* ShortName() const { return shortName_; }  // empty when there is none

 private:
  uint32_t attributes_;
  uint32_t reparseTag_;
  char shortName_[sizeof(platform::FindData::alternateName)];
};

// A NameList filled from one directory search: bare entry names, folders
// with a trailing backslash. Every node a search adds is an EntryNode.
class FileList : public NameList {
 public:
  FileList() {}
  ~FileList() override {}

  void AddName(const char* name);
  // Sorted by the platform's locale comparison; equal names go after.
  void AddAscending(const char* name);
  void AddDescending(const char* name);
  // order > 0 ascending, < 0 descending, 0 the reverse of discovery.
  // False when the search found nothing at all (no such folder).
  bool Scan(const char* searchPath, int order, bool directoriesOnly);
  // Scan of directory\pattern without the folder's own "." and ".." entries.
  bool List(const char* directory, const char* pattern, int order, bool directoriesOnly);
  // Removes the folder with everything in it that an exact path can name;
  // links are removed, never walked.
  void DeleteTree(const char* path);

 private:
  void AddSorted(NameNode* node, int direction);
  void Add(NameNode* node, int order);
  void ReleaseDotEntry(const char* name);
  // directory ends with a backslash. True when the folder is gone; listed
  // tells whether it could be listed at all.
  bool RemoveTree(const PathText& directory, bool* listed);
  bool RemoveEntry(const PathText& directory, const EntryNode& entry, FileList* sub);
  static bool RemoveAt(PathText* path, EntryKind kind, FileList* sub, bool* mayRetry);
};
