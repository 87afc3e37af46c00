// Files and folders for the end-to-end tests, including what only the Unix
// side can make under Wine: symbolic links, which Wine shows as folders with
// the reparse-point attribute.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "wine_prefix.h"

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace e2e {

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool WriteText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return written == text.size();
}

using wineprefix::UnixPath;

// Runs a Unix program through Wine; its handle does not tell when it ends,
// so callers wait for its effect.
inline bool StartUnix(std::string commandLine) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

inline bool WaitFor(bool wantExists, const std::string& path) {
  for (int i = 0; i < 400; ++i) {
    if (Exists(path) == wantExists) return true;
    Sleep(25);
  }
  return false;
}

// A folder link at link (a Windows path) to target.
inline bool MakeFolderLink(const std::string& link, const std::string& target) {
  std::string linkUnix = UnixPath(link), targetUnix = UnixPath(target);
  if (linkUnix.empty() || targetUnix.empty()) return false;
  return StartUnix("/bin/ln -s \"" + targetUnix + "\" \"" + linkUnix + "\"") && WaitFor(true, link);
}

// Runs a Unix shell command through Wine and waits until it has ended: it
// touches a marker file last, which the Windows side can see.
inline bool RunUnix(const std::string& command) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial;
  std::string marker =
      std::string(temp) + "saverhelper_done_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
  std::string markerUnix = UnixPath(std::string(temp).substr(0, strlen(temp) - 1));
  if (markerUnix.empty()) return false;
  markerUnix += marker.substr(marker.rfind('\\')).replace(0, 1, "/");
  // One argument for sh, quoted the Windows way: Wine splits the command line as Windows does.
  std::string script = command + "; touch \"" + markerUnix + "\"", quoted;
  for (char c : script) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
  bool done = StartUnix("/bin/sh -c \"" + quoted + "\"") && WaitFor(true, marker);
  DeleteFileA(marker.c_str());
  return done;
}

// The Unix name of the entry at path itself: its folder's Unix path and its
// own name, so that a link is named as the link, not as what it points to.
inline std::string UnixEntryPath(const std::string& path) {
  size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return "";
  std::string folder = UnixPath(path.substr(0, slash));
  WCHAR wide[MAX_PATH];
  char utf8[MAX_PATH * 3];
  if (folder.empty() || !MultiByteToWideChar(CP_ACP, 0, path.c_str() + slash + 1, -1, wide, MAX_PATH) ||
      !WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr))
    return "";
  return folder + "/" + utf8;
}

// Removes a tree from the Unix side: a link goes without its target (even
// one whose target is gone), and read-only or over-long entries are no
// obstacle. Only ever inside the sealed prefix.
inline bool RemoveAll(const std::string& path) {
  size_t slash = path.rfind('\\');
  if (slash == std::string::npos || !wineprefix::InsidePrefix(path.substr(0, slash))) return false;
  std::string unixPath = UnixEntryPath(path);
  if (unixPath.empty() || unixPath.find_first_of("\"$`\\") != std::string::npos) return false;
  return RunUnix("/bin/rm -rf \"" + unixPath + "\"") && !Exists(path);
}

// A new, empty folder under the temporary folder, for one test.
inline std::string FreshSandbox(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial;
  std::string path = std::string(temp) + "saverhelper_" + name + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                     std::to_string(++serial);
  if (!wineprefix::InsidePrefix(std::string(temp).substr(0, strlen(temp) - 1))) {
    ADD_FAILURE() << "the temporary folder " << temp << " leads out of the sealed Wine prefix";
    return "";
  }
  RemoveAll(path);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

// Every path below root, relative, sorted; links are listed, never entered.
inline void CollectTree(const std::string& root, const std::string& prefix, std::vector<std::string>* out) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((root + "\\" + prefix + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    out->push_back(prefix + name);
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      CollectTree(root, prefix + name + "\\", out);
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

inline std::vector<std::string> Tree(const std::string& root) {
  std::vector<std::string> paths;
  CollectTree(root, "", &paths);
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace e2e
