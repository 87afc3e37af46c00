#include "actions/default_saver.h"

#include <string.h>

#include "support/path_text.h"

RegistryKey::RegistryKey() { Attach(nullptr, nullptr, nullptr); }

RegistryKey::~RegistryKey() { Close(); }

void RegistryKey::Attach(platform::Key handle, platform::Key root, const char* subkey) {
  handle_ = handle;
  root_ = handle ? root : nullptr;
  memset(subkey_, 0, sizeof subkey_);
  if (handle && subkey) {
    size_t length = strlen(subkey);
    if (length > sizeof subkey_ - 1) length = sizeof subkey_ - 1;
    memcpy(subkey_, subkey, length);
  }
}

bool RegistryKey::Close() {
  platform::Key held = handle_;
  Attach(nullptr, nullptr, nullptr);
  if (!held) return false;
  return platform::RegCloseKey(held) == platform::kErrorSuccess;
}

bool RegistryKey::Open(platform::Key root, const char* subkey) {
  Close();
  platform::Key opened = nullptr;
  platform::RegOpenKeyExA(root, subkey, 0, platform::kKeyAllAccess, &opened);
  Attach(opened, root, subkey);
  return handle_ != nullptr;
}

bool RegistryKey::SetDefaultSaver(const char* fileName) {
  PathText path;
  path.SetWindowsDirectory();
  // A path that cannot take the file name is not the saver: write nothing.
  if (!path.Append(fileName)) return false;
  if (!Open(platform::CurrentUserRoot(), "Control Panel\\Desktop")) return false;
  long status = platform::RegSetValueExA(handle_, "SCRNSAVE.EXE", 0, platform::kRegSz,
                                         reinterpret_cast<const unsigned char*>(path.Text()),
                                         static_cast<uint32_t>(path.Length() + 1));
  bool ok = status == platform::kErrorSuccess;
  if (ok) {
    uint32_t recipients = platform::kBsmApplications;
    platform::BroadcastSystemMessageA(0, &recipients, platform::kWmWinIniChange, 0, 0);
  }
  return ok;
}

void DefaultSaver() {
  RegistryKey key;
  key.SetDefaultSaver("Halven~1.scr");
}
