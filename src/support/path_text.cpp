#include "support/path_text.h"

#include <string.h>

#include "platform/platform.h"

PathText::PathText() { memset(text_, 0, sizeof text_); }

PathText::PathText(const char* source) : PathText() { Assign(source); }

int PathText::Length() const { return static_cast<int>(strlen(text_)); }

void PathText::Assign(const char* source) {
  text_[0] = 0;
  if (!source) return;
  int length = 0;
  while (length < kCapacity && source[length]) ++length;
  memcpy(text_, source, length);
  text_[length] = 0;
}

bool PathText::Append(const char* text) {
  if (!text || !*text) return true;
  size_t length = strlen(text_);
  size_t added = strlen(text);
  if (length + added > static_cast<size_t>(kCapacity)) return false;
  memcpy(text_ + length, text, added + 1);
  return true;
}

bool PathText::EndsWithBackslash() const {
  size_t length = strlen(text_);
  return length > 0 && text_[length - 1] == '\\';
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

bool PathText::SetDocumentsSubfolder(const char* name) {
  text_[0] = 0;
  platform::Module library = platform::LoadLibraryA("SHFolder.dll");
  if (library) {
    platform::FolderPathProc getFolderPath =
        reinterpret_cast<platform::FolderPathProc>(platform::GetProcAddress(library, "SHGetFolderPathA"));
    if (getFolderPath) {
      getFolderPath(nullptr, platform::kCsidlPersonal, nullptr, platform::kShgfpTypeCurrent, text_);
      text_[kCapacity] = 0;
    }
    EnsureTrailingBackslash();
    platform::FreeLibrary(library);
  }
  if (name) {
    // The subfolder must be named in full, with its backslash: a cut name or
    // a bare documents folder here would later be removed as saved data.
    if (!Append(name) || !EnsureTrailingBackslash()) {
      text_[0] = 0;
      return false;
    }
    platform::CreateDirectoryA(text_);
  }
  return text_[0] != 0;
}
