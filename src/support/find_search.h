#pragma once

#include "platform/platform.h"

// Owns one directory search handle; closing is idempotent.
class FindSearch {
 public:
  FindSearch(const char* searchPath, platform::FindData* data) : handle_(platform::FindFirstFileA(searchPath, data)) {}
  ~FindSearch() { Close(); }
  FindSearch(const FindSearch&) = delete;
  FindSearch& operator=(const FindSearch&) = delete;

  bool IsOpen() const { return handle_ != platform::InvalidFindHandle(); }
  bool Next(platform::FindData* data) { return IsOpen() && platform::FindNextFileA(handle_, data); }
  void Close() {
    if (IsOpen()) platform::FindClose(handle_);
    handle_ = platform::InvalidFindHandle();
  }

 private:
  platform::FindHandle handle_;
};
