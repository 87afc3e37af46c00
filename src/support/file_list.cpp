#include "support/file_list.h"

#include <string.h>

#include "support/ascii_fold.h"
#include "support/file_attributes.h"
#include "support/find_search.h"
#include "support/path_text.h"

EntryNode::EntryNode(const char* name, const platform::FindData& found)
    : NameNode(name),
      attributes_(found.attributes),
      // The tag field means something only for reparse points.
      reparseTag_(IsReparsePoint(found.attributes) ? found.reserved0 : 0) {
  memcpy(shortName_, found.alternateName, sizeof shortName_);
  shortName_[sizeof shortName_ - 1] = 0;
}

void FileList::AddName(const char* name) { PushFront(new NameNode(name)); }

void FileList::AddSorted(NameNode* node, int direction) {
  // Before the first node that sorts after the new name; equal names go after.
  NameNode* before = Head();
  for (; before; before = before->Next()) {
    int comparison = platform::lstrcmpiA(node->Name(), before->Name());
    if (direction > 0 ? comparison < 0 : comparison > 0) break;
  }
  if (before)
    InsertBefore(node, before);
  else
    Append(node);
}

void FileList::AddAscending(const char* name) {
  NameNode* node = new NameNode;
  node->SetName(name);
  AddSorted(node, 1);
}

void FileList::AddDescending(const char* name) {
  NameNode* node = new NameNode;
  node->SetName(name);
  AddSorted(node, -1);
}

void FileList::Add(NameNode* node, int order) {
  if (order == 0 || !Head())
    PushFront(node);
  else
    AddSorted(node, order);
}

bool FileList::Scan(const char* searchPath, int order, bool directoriesOnly) {
  PathText entry;
  Clear();
  platform::FindData data;
  FindSearch search(searchPath, &data);
  if (!search.IsOpen()) return false;
  do {
    entry.Assign(data.name);
    bool isDirectory = (data.attributes & platform::kAttributeDirectory) != 0;
    if (isDirectory) entry.EnsureTrailingBackslash();
    if (directoriesOnly && !isDirectory) continue;
    Add(new EntryNode(entry.Text(), data), order);
  } while (search.Next(&data));
  return true;
}

bool FileList::List(const char* directory, const char* pattern, int order, bool directoriesOnly) {
  PathText searchPath(directory);
  searchPath.EnsureTrailingBackslash();
  searchPath.Append(pattern);
  bool found = Scan(searchPath.Text(), order, directoriesOnly);
  ReleaseDotEntry(".\\");
  ReleaseDotEntry("..\\");
  return found;
}

// The folder's own "." or ".." entry. A name the code page turned into
// dots (fullwidth "．．" is listed as "..") belongs to a real entry, which
// has a short name: that one stays in the list.
void FileList::ReleaseDotEntry(const char* name) {
  for (NameNode* node = Head(); node; node = node->Next()) {
    if (EqualsAsciiFolded(node->Name(), name) && !*static_cast<EntryNode*>(node)->ShortName()) {
      Release(node);
      return;
    }
  }
}
