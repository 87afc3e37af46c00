#include "support/path_text.h"

#include <string.h>

#include "platform/platform.h"
#include "support/exact_names.h"

PathText::PathText() { memset(text_, 0, sizeof text_); }

PathText::PathText(const char* source) : PathText() { Assign(source); }

int PathText::Length() const { return static_cast<int>(strlen(text_)); }

// Both may take their source from this very text: memmove, lengths first.
void PathText::Assign(const char* source) {
  if (!source) {
    text_[0] = 0;
    return;
  }
  int length = 0;
  while (length < kCapacity && source[length]) ++length;
  memmove(text_, source, length);
  text_[length] = 0;
}

bool PathText::Append(const char* text) {
  if (!text || !*text) return true;
  size_t length = strlen(text_);
  size_t added = strlen(text);
  if (length + added > static_cast<size_t>(kCapacity)) return false;
  memmove(text_ + length, text, added);
  text_[length + added] = 0;
  return true;
}

// Walks the characters from the start: in a double-byte code page the
// last byte may be the trail byte 0x5C of a character, not a backslash.
bool PathText::EndsWithBackslash() const {
  int last = -1;
  for (int i = 0; text_[i];) {
    last = i;
    i += (platform::IsDBCSLeadByte(static_cast<unsigned char>(text_[i])) && text_[i + 1]) ? 2 : 1;
  }
  return last >= 0 && text_[last] == '\\' && text_[last + 1] == 0;
}

bool PathText::EnsureTrailingBackslash() {
  if (text_[0] && !EndsWithBackslash()) Append("\\");
  return EndsWithBackslash();
}

void PathText::DropTrailingBackslash() {
  if (EndsWithBackslash()) text_[strlen(text_) - 1] = 0;
}

void PathText::SetWindowsDirectory() {
  text_[0] = 0;
  platform::GetWindowsDirectoryA(text_, kCapacity);
  text_[kCapacity] = 0;
  EnsureTrailingBackslash();
}

namespace {

bool SameWide(const platform::WideChar* a, const platform::WideChar* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

// The ANSI form of wide into buffer (capacity + 1 bytes), only when it names
// exactly the same text: no best-fit look-alikes, no default characters, and
// the system's own conversion back gives the wide text again.
bool ExactAnsi(const platform::WideChar* wide, char* buffer) {
  bool usedDefault = true;
  int length = platform::WideCharToMultiByte(platform::kCpAcp, platform::kWcNoBestFitChars, wide, -1, buffer,
                                             PathText::kCapacity + 1, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return false;
  buffer[PathText::kCapacity] = 0;
  platform::WideChar back[PathText::kCapacity + 1];
  int backLength = platform::MultiByteToWideChar(platform::kCpAcp, platform::kMbErrInvalidChars, buffer, -1, back,
                                                 PathText::kCapacity + 1);
  return backLength > 0 && SameWide(wide, back);
}

}  // namespace

bool PathText::SetDocumentsFolder() {
  text_[0] = 0;
  platform::Module library = platform::LoadLibraryA("SHFolder.dll");
  if (!library) return false;
  platform::FolderPathProc getFolderPath =
      reinterpret_cast<platform::FolderPathProc>(platform::GetProcAddress(library, "SHGetFolderPathA"));
  platform::WideFolderPathProc getWideFolderPath =
      reinterpret_cast<platform::WideFolderPathProc>(platform::GetProcAddress(library, "SHGetFolderPathW"));
  char reported[kCapacity + 1] = "";
  platform::WideChar wide[kCapacity + 1] = {0};
  bool found = getFolderPath && getWideFolderPath &&
               getFolderPath(nullptr, platform::kCsidlPersonal, nullptr, platform::kShgfpTypeCurrent, reported) ==
                   platform::kSOk &&
               getWideFolderPath(nullptr, platform::kCsidlPersonal, nullptr, platform::kShgfpTypeCurrent, wide) ==
                   platform::kSOk;
  platform::FreeLibrary(library);
  if (!found) return false;
  wide[kCapacity] = 0;

  // The ANSI text the system reported may be a look-alike of the real
  // folder's name; only a text that converts back exactly is used, else the
  // folder's short form, else nothing.
  char exact[kCapacity + 1];
  if (!ExactAnsi(wide, exact)) {
    platform::WideChar shortForm[kCapacity + 1];
    uint32_t length = platform::GetShortPathNameW(wide, shortForm, kCapacity + 1);
    if (length == 0 || length > static_cast<uint32_t>(kCapacity)) return false;
    shortForm[kCapacity] = 0;
    if (!ExactAnsi(shortForm, exact)) return false;
  }
  // Never a relative path: it would name a folder wherever the caller runs.
  if (!IsExactFolderPath(exact, IsSystemLeadByte)) return false;
  Assign(exact);
  if (!EnsureTrailingBackslash()) {
    text_[0] = 0;
    return false;
  }
  return true;
}

bool PathText::SetDocumentsSubfolder(const char* name) {
  if (!SetDocumentsFolder()) return false;
  if (name) {
    // The subfolder must be named in full, with its backslash: a cut name or
    // a bare documents folder here would later be removed as saved data.
    if (!Append(name) || !EnsureTrailingBackslash()) {
      text_[0] = 0;
      return false;
    }
    platform::CreateDirectoryA(text_);
  }
  return true;
}
