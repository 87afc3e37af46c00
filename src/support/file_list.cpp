#include "support/file_list.h"

#include "platform/platform.h"
#include "support/find_search.h"
#include "support/path_text.h"

void FileList::AddName(const char* name) { PushFront(new NameNode(name)); }

void FileList::AddSorted(const char* name, int direction) {
  NameNode* node = new NameNode;
  node->SetName(name);
  // Before the first node that sorts after the new name; equal names go after.
  NameNode* before = Head();
  for (; before; before = before->Next()) {
    int comparison = platform::lstrcmpiA(name, before->Name());
    if (direction > 0 ? comparison < 0 : comparison > 0) break;
  }
  if (before)
    InsertBefore(node, before);
  else
    Append(node);
}

void FileList::AddAscending(const char* name) { AddSorted(name, 1); }

void FileList::AddDescending(const char* name) { AddSorted(name, -1); }

void FileList::Scan(const char* searchPath, int order, bool directoriesOnly) {
  PathText entry;
  Clear();
  platform::FindData data;
  FindSearch search(searchPath, &data);
  if (!search.IsOpen()) return;
  bool first = true;
  do {
    entry.Assign(data.name);
    bool isDirectory = (data.attributes & platform::kAttributeDirectory) != 0;
    if (isDirectory) entry.EnsureTrailingBackslash();
    if (directoriesOnly && !isDirectory) continue;
    if (first || order == 0)
      AddName(entry.Text());
    else if (order > 0)
      AddAscending(entry.Text());
    else
      AddDescending(entry.Text());
    first = false;
  } while (search.Next(&data));
}

void FileList::List(const char* directory, const char* pattern, int order, bool directoriesOnly) {
  PathText searchPath(directory);
  searchPath.EnsureTrailingBackslash();
  searchPath.Append(pattern);
  Scan(searchPath.Text(), order, directoriesOnly);
  Release(Find(".\\"));
  Release(Find("..\\"));
}
