#pragma once

#include <stdint.h>

#include "platform/platform.h"

inline bool IsDirectory(uint32_t attributes) {
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeDirectory) != 0;
}

inline bool IsReparsePoint(uint32_t attributes) {
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeReparsePoint) != 0;
}

// A cloud-files placeholder (synchronised documents folders): an ordinary
// folder whose contents are really there.
inline bool IsCloudPlaceholderTag(uint32_t reparseTag) { return (reparseTag & 0xFFFF0FFFu) == 0x9000001Au; }

// A folder entry that leads elsewhere: junctions, symbolic links and the
// like. Removing one must never reach what it points to.
inline bool IsFolderLink(uint32_t attributes, uint32_t reparseTag) {
  return IsDirectory(attributes) && IsReparsePoint(attributes) && !IsCloudPlaceholderTag(reparseTag);
}

enum class EntryKind { File, Folder, FolderLink };

// How a listed entry is removed: a file is deleted, a folder walked, a
// folder link removed alone.
inline EntryKind KindOf(uint32_t attributes, uint32_t reparseTag) {
  if (!IsDirectory(attributes)) return EntryKind::File;
  return IsFolderLink(attributes, reparseTag) ? EntryKind::FolderLink : EntryKind::Folder;
}
