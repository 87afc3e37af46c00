#include "actions/saved_data.h"

#include <string.h>

#include "platform/platform.h"
#include "support/file_attributes.h"
#include "support/find_search.h"
#include "support/file_list.h"
#include "support/path_text.h"

namespace {

// Reads the reparse tag of the entry at path (no trailing backslash).
uint32_t ReparseTagOf(const char* path) {
  platform::FindData data;
  memset(&data, 0, sizeof data);  // a search that reports no tag leaves 0, not stack bytes
  FindSearch entry(path, &data);
  return entry.IsOpen() ? data.reserved0 : 0;
}

enum class FolderKind { Walk, Link, Unknown };

// Looks at the folder entry itself, not at its target.
FolderKind Classify(const char* entryPath) {
  uint32_t attributes = platform::GetFileAttributesA(entryPath);
  if (!IsDirectory(attributes)) return FolderKind::Unknown;
  if (!IsReparsePoint(attributes)) return FolderKind::Walk;
  return IsFolderLink(attributes, ReparseTagOf(entryPath)) ? FolderKind::Link : FolderKind::Walk;
}

}  // namespace

void FileList::DeleteTree(const char* path) {
  if (!path || !*path) return;
  // A cut path could name another folder, and one that cannot take its
  // backslash cannot be joined with its entries: refuse both.
  if (strlen(path) > static_cast<size_t>(PathText::kCapacity)) return;
  PathText directory(path);
  if (!directory.EnsureTrailingBackslash()) return;

  List(directory.Text(), "*", 0, false);
  FileList sub;
  for (NameNode* node = Head(); node; node = node->Next()) {
    PathText full(directory.Text());
    // An entry too long to name stays, and so does this folder; the walk goes on.
    if (!full.Append(node->Name())) continue;
    if (!full.EndsWithBackslash()) {
      platform::DeleteFileA(full.Text());
      continue;
    }
    PathText entry(full.Text());
    entry.DropTrailingBackslash();
    switch (Classify(entry.Text())) {
      case FolderKind::Walk:
        sub.DeleteTree(full.Text());
        break;
      case FolderKind::Link:
        // Skip links: never delete through them. The link itself goes.
        platform::RemoveDirectoryA(entry.Text());
        break;
      case FolderKind::Unknown:
        break;  // gone or no longer a folder: leave it
    }
  }
  platform::RemoveDirectoryA(directory.Text());
}

void DeleteSaved() {
  PathText target;
  if (!target.SetDocumentsSubfolder("Quorvane Halvenstrand")) return;
  FileList saved;
  saved.DeleteTree(target.Text());
}
