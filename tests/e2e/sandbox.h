// Files and folders for the end-to-end tests, including what only the Unix
// side can make under Wine: symbolic links, which Wine shows as folders with
// the reparse-point attribute.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

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

inline std::string UnixPath(const std::string& windowsPath) {
  typedef char*(CDECL * UnixName)(const WCHAR*);
  UnixName unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return "";
  WCHAR wide[MAX_PATH * 2];
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2);
  char* name = unixName(wide);
  std::string result = name ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

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

// Removes a tree from the Unix side: links go without their targets, and
// read-only or over-long entries are no obstacle.
inline bool RemoveAll(const std::string& path) {
  if (!Exists(path)) return true;
  std::string unixPath = UnixPath(path);
  if (unixPath.empty() || unixPath == "/") return false;
  return StartUnix("/bin/rm -rf \"" + unixPath + "\"") && WaitFor(false, path);
}

// A new, empty folder under the temporary folder, for one test.
inline std::string FreshSandbox(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int serial;
  std::string path = std::string(temp) + "saverhelper_" + name + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                     std::to_string(++serial);
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
