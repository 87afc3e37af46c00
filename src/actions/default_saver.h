#pragma once

#include "platform/platform.h"

// Owns one open registry key; closing is idempotent.
class RegistryKey {
 public:
  static const int kSubkeyCapacity = 260;

  RegistryKey();
  virtual ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Takes over handle; a subkey name longer than 259 characters is cut there.
  void Attach(platform::Key handle, platform::Key root, const char* subkey);
  // False when no key was held (and then no platform call is made).
  bool Close();
  // Never creates a missing subkey.
  bool Open(platform::Key root, const char* subkey);

  // Writes the Windows directory's fileName as the user's screen saver and
  // tells running programs. The key stays open until Close or destruction.
  bool SetDefaultSaver(const char* fileName);

  platform::Key Root() const { return root_; }
  platform::Key Handle() const { return handle_; }
  const char* Subkey() const { return subkey_; }

 private:
  platform::Key root_;
  platform::Key handle_;
  char subkey_[kSubkeyCapacity];
};

// The DefaultSaver verb.
void DefaultSaver();
