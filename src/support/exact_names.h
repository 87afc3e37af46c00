#pragma once

#include "support/path_text.h"

// Whether a name from a directory listing, joined to its folder's path,
// names that entry and nothing else.
enum class NameReach {
  Plain,          // as it is
  ExactPathOnly,  // only through the "\\?\" form: Windows would strip a final
                  // dot or space, or take the name for a device
  None,           // never: a separator, a wildcard, or a name of dots alone
};

using LeadByteTest = bool (*)(unsigned char byte);

// The system's ANSI code page's lead bytes, for the functions below.
bool IsSystemLeadByte(unsigned char byte);

// The trail byte of a double-byte character is part of it, never a separator.
NameReach ReachOfName(const char* name, LeadByteTest isLeadByte);

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 (and the console names), with or
// without an extension.
bool IsDeviceName(const char* name);

// "X:\..." or "\\server\share\...", every name in it plain: a path that
// Windows takes as it is written.
bool IsExactFolderPath(const char* path, LeadByteTest isLeadByte);

// The "\\?\" form of an absolute path, which Windows does not rewrite.
// False, with exact unchanged, when it does not fit or path is not absolute.
bool MakeExactForm(const char* path, PathText* exact);
