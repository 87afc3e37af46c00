// Where this Windows program runs under Wine: Unix paths, and the check
// that a folder lies inside the sealed prefix, for anything that deletes.
#pragma once

#include <windows.h>

#include <string>

namespace wineprefix {

inline std::string UnixPath(const std::string& windowsPath) {
  typedef char*(CDECL * UnixName)(const WCHAR*);
  UnixName unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return "";
  WCHAR wide[MAX_PATH * 2];
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
  char* name = unixName(wide);
  std::string result = name ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// True when path (a Windows path to a folder) lies inside this Wine prefix
// and no folder on the way is a link: deleting there cannot reach the real
// home, which an unsealed prefix links as Documents.
inline bool InsidePrefix(const std::string& path) {
  char prefix[MAX_PATH * 2];
  DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  if (length == 0 || length >= sizeof prefix) return false;
  std::string root = std::string(prefix) + "/";
  if (UnixPath(path).compare(0, root.size(), root) != 0) return false;
  // Wine shows a Unix link to a folder as a reparse point.
  for (std::string walk = path; walk.size() > 3; walk = walk.substr(0, walk.rfind('\\'))) {
    DWORD attributes = GetFileAttributesA(walk.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  }
  return true;
}

}  // namespace wineprefix
