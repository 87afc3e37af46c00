#pragma once

#include "support/name_list.h"

// A NameList filled from one directory search: bare entry names, folders
// with a trailing backslash.
class FileList : public NameList {
 public:
  FileList() {}
  ~FileList() override {}

  void AddName(const char* name);
  // Sorted by the platform's locale comparison; equal names go after.
  void AddAscending(const char* name);
  void AddDescending(const char* name);
  // order > 0 ascending, < 0 descending, 0 the reverse of discovery.
  void Scan(const char* searchPath, int order, bool directoriesOnly);
  // Scan of directory\pattern without the "." and ".." entries.
  void List(const char* directory, const char* pattern, int order, bool directoriesOnly);
  // Removes the folder with everything in it; links are removed, never walked.
  void DeleteTree(const char* path);

 private:
  void AddSorted(const char* name, int direction);
};
