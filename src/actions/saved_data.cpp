#include "actions/saved_data.h"

#include <string.h>

#include "platform/platform.h"
#include "support/exact_names.h"
#include "support/file_attributes.h"
#include "support/file_list.h"
#include "support/find_search.h"
#include "support/path_text.h"

namespace {

// directory + name as a path that names exactly that entry, or false.
bool JoinExactly(const PathText& directory, const char* name, PathText* path) {
  switch (ReachOfName(name, IsSystemLeadByte)) {
    case NameReach::Plain:
      *path = directory;
      return path->Append(name);
    case NameReach::ExactPathOnly:
      return MakeExactForm(directory.Text(), path) && path->Append(name);
    case NameReach::None:
      break;
  }
  return false;
}

// What to call an entry by: its long name where that names it exactly,
// else its short name, else the long name in the exact path form.
// Empty when none of them can.
bool ChoosePath(const PathText& directory, const char* longName, const char* shortName, PathText* path,
                bool* byLongName) {
  NameReach longReach = ReachOfName(longName, IsSystemLeadByte);
  *byLongName = true;
  if (longReach == NameReach::Plain && JoinExactly(directory, longName, path)) return true;
  *byLongName = false;
  if (*shortName && JoinExactly(directory, shortName, path)) return true;
  *byLongName = true;
  return longReach == NameReach::ExactPathOnly && JoinExactly(directory, longName, path);
}

}  // namespace

// Removes the entry at path; true when it is gone. mayRetry tells whether
// another name for it could still do better.
bool FileList::RemoveAt(PathText* path, EntryKind kind, FileList* sub, bool* mayRetry) {
  bool removed = false;
  switch (kind) {
    case EntryKind::FolderLink:
      // Skip links: never delete through them. The link itself goes.
      removed = platform::RemoveDirectoryA(path->Text());
      *mayRetry = !removed;
      break;
    case EntryKind::Folder: {
      bool listed = false;
      if (path->EnsureTrailingBackslash()) removed = sub->RemoveTree(*path, &listed);
      // A folder that was listed has been walked: walking it again by
      // another name could only repeat that.
      *mayRetry = !removed && !listed;
      break;
    }
    case EntryKind::File:
      removed = platform::DeleteFileA(path->Text());
      *mayRetry = !removed;
      break;
  }
  return removed;
}

bool FileList::RemoveEntry(const PathText& directory, const EntryNode& entry, FileList* sub) {
  // The listing marks folders with a backslash; the entry's own name is without it.
  PathText longName(entry.Name());
  if (IsDirectory(entry.Attributes())) longName.DropTrailingBackslash();
  EntryKind kind = KindOf(entry.Attributes(), entry.ReparseTag());

  PathText path;
  bool byLongName;
  if (!ChoosePath(directory, longName.Text(), entry.ShortName(), &path, &byLongName)) return false;
  bool mayRetry;
  if (RemoveAt(&path, kind, sub, &mayRetry)) return true;
  // A long name that the code page turned into a look-alike names no
  // entry, or another one in this folder: the short name names this one.
  if (!mayRetry || !byLongName || !*entry.ShortName() || !JoinExactly(directory, entry.ShortName(), &path))
    return false;
  return RemoveAt(&path, kind, sub, &mayRetry);
}

bool FileList::RemoveTree(const PathText& directory, bool* listed) {
  *listed = List(directory.Text(), "*", 0, false);
  FileList sub;
  for (NameNode* node = Head(); node; node = node->Next()) {
    // Every node a search adds is an EntryNode.
    RemoveEntry(directory, *static_cast<const EntryNode*>(node), &sub);
  }
  return platform::RemoveDirectoryA(directory.Text());
}

void FileList::DeleteTree(const char* path) {
  if (!path || !*path) return;
  // A cut path could name another folder, and one that cannot take its
  // backslash cannot be joined with its entries: refuse both.
  if (strlen(path) > static_cast<size_t>(PathText::kCapacity)) return;
  PathText directory(path);
  if (!directory.EnsureTrailingBackslash()) return;
  bool listed;
  RemoveTree(directory, &listed);
}

void DeleteSaved() {
  PathText target;
  if (!target.SetDocumentsSubfolder("Quorvane Halvenstrand")) return;
  // The saved folder is judged like any entry in it, by its own record:
  // a link goes alone, and anything but a folder stays.
  PathText entry(target);
  entry.DropTrailingBackslash();
  platform::FindData found;
  memset(&found, 0, sizeof found);
  FindSearch search(entry.Text(), &found);
  if (!search.IsOpen()) return;
  search.Close();
  uint32_t tag = IsReparsePoint(found.attributes) ? found.reserved0 : 0;
  switch (KindOf(found.attributes, tag)) {
    case EntryKind::FolderLink:
      platform::RemoveDirectoryA(entry.Text());
      break;
    case EntryKind::Folder: {
      FileList saved;
      saved.DeleteTree(target.Text());
      break;
    }
    case EntryKind::File:
      break;
  }
}
