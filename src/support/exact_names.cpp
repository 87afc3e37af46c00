#include "support/exact_names.h"

#include <string.h>

#include "platform/platform.h"

namespace {

unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

bool IsInvalidNameByte(unsigned char c) { return c < 0x20 || strchr("\\/:*?\"<>|", c) != nullptr; }

// Compares text[0..length) with an upper-case word, ASCII letters folded.
bool EqualsWord(const char* text, size_t length, const char* word) {
  if (strlen(word) != length) return false;
  for (size_t i = 0; i < length; ++i)
    if (Upper(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(word[i])) return false;
  return true;
}

bool IsDriveRoot(const char* path) {
  unsigned char letter = Upper(static_cast<unsigned char>(path[0]));
  return letter >= 'A' && letter <= 'Z' && path[1] == ':' && path[2] == '\\';
}

}  // namespace

bool IsSystemLeadByte(unsigned char byte) { return platform::IsDBCSLeadByte(byte); }

bool IsDeviceName(const char* name) {
  // Windows reads the part before the first dot, less its trailing spaces.
  size_t length = strcspn(name, ".");
  while (length > 0 && name[length - 1] == ' ') --length;
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* device : kDevices)
    if (EqualsWord(name, length, device)) return true;
  if (length == 4 && (EqualsWord(name, 3, "COM") || EqualsWord(name, 3, "LPT"))) {
    unsigned char digit = static_cast<unsigned char>(name[3]);
    // Superscript one, two and three count too.
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

NameReach ReachOfName(const char* name, LeadByteTest isLeadByte) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(name);
  if (!*p) return NameReach::None;
  bool dotsAndSpacesOnly = true;
  unsigned char lastSingleByte = 0;  // 0 when the last character is a double-byte one
  while (*p) {
    if (isLeadByte(*p) && p[1]) {
      dotsAndSpacesOnly = false;
      lastSingleByte = 0;
      p += 2;
      continue;
    }
    unsigned char c = *p++;
    if (IsInvalidNameByte(c)) return NameReach::None;
    if (c != '.' && c != ' ') dotsAndSpacesOnly = false;
    lastSingleByte = c;
  }
  if (dotsAndSpacesOnly) return NameReach::None;
  if (lastSingleByte == '.' || lastSingleByte == ' ' || IsDeviceName(name)) return NameReach::ExactPathOnly;
  return NameReach::Plain;
}

bool IsExactFolderPath(const char* path, LeadByteTest isLeadByte) {
  const char* rest;
  if (IsDriveRoot(path)) {
    rest = path + 3;
  } else if (path[0] == '\\' && path[1] == '\\') {
    rest = path + 2;  // the server and the share are names like any other
  } else {
    return false;
  }
  int names = 0;
  while (*rest) {
    // One name up to the next separator that is not a trail byte.
    const char* end = rest;
    while (*end && *end != '\\') end += (isLeadByte(static_cast<unsigned char>(*end)) && end[1]) ? 2 : 1;
    if (end == rest) return false;  // an empty name: two separators in a row
    char piece[PathText::kCapacity + 1];
    size_t length = static_cast<size_t>(end - rest);
    if (length > PathText::kCapacity) return false;
    memcpy(piece, rest, length);
    piece[length] = 0;
    if (ReachOfName(piece, isLeadByte) != NameReach::Plain) return false;
    ++names;
    rest = *end ? end + 1 : end;
  }
  // A share path needs both its server and its share.
  return IsDriveRoot(path) || names >= 2;
}

bool MakeExactForm(const char* path, PathText* exact) {
  PathText built;
  if (strncmp(path, "\\\\?\\", 4) == 0) {
    built.Assign("");
  } else if (IsDriveRoot(path)) {
    built.Assign("\\\\?\\");
  } else if (path[0] == '\\' && path[1] == '\\') {
    built.Assign("\\\\?\\UNC\\");
    path += 2;
  } else {
    return false;
  }
  if (static_cast<int>(strlen(path)) > PathText::kCapacity || !built.Append(path)) return false;
  *exact = built;
  return true;
}
