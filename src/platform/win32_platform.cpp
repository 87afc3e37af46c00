// The real back end: each operation is the Windows call of the same name.
#include "platform/platform.h"

#include <windows.h>

#include <stddef.h>

namespace platform {
namespace {

static_assert(sizeof(FindData) == sizeof(WIN32_FIND_DATAA), "find record size");
static_assert(offsetof(FindData, attributes) == offsetof(WIN32_FIND_DATAA, dwFileAttributes), "");
static_assert(offsetof(FindData, reserved0) == offsetof(WIN32_FIND_DATAA, dwReserved0), "");
static_assert(offsetof(FindData, name) == offsetof(WIN32_FIND_DATAA, cFileName), "");
static_assert(offsetof(FindData, alternateName) == offsetof(WIN32_FIND_DATAA, cAlternateFileName), "");
static_assert(sizeof(WideChar) == sizeof(WCHAR), "wide text");

HWND W(Window window) { return reinterpret_cast<HWND>(window); }
Window W(HWND window) { return reinterpret_cast<Window>(window); }
HKEY K(Key key) { return reinterpret_cast<HKEY>(key); }
WIN32_FIND_DATAA* F(FindData* data) { return reinterpret_cast<WIN32_FIND_DATAA*>(data); }
WNDENUMPROC E(EnumProc proc) { return reinterpret_cast<WNDENUMPROC>(proc); }

}  // namespace

const char* GetCommandLineA() { return ::GetCommandLineA(); }
uint32_t GetTickCount() { return ::GetTickCount(); }
void Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }
bool IsDBCSLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != 0; }

Window FindWindowExA(Window parent, Window childAfter, const char* className, const char* title) {
  return W(::FindWindowExA(W(parent), W(childAfter), className, title));
}
bool EnumWindows(EnumProc proc, intptr_t parameter) { return ::EnumWindows(E(proc), parameter) != 0; }
bool EnumChildWindows(Window parent, EnumProc proc, intptr_t parameter) {
  return ::EnumChildWindows(W(parent), E(proc), parameter) != 0;
}
int GetWindowTextA(Window window, char* buffer, int size) { return ::GetWindowTextA(W(window), buffer, size); }
int GetClassNameA(Window window, char* buffer, int size) { return ::GetClassNameA(W(window), buffer, size); }
Window GetForegroundWindow() { return W(::GetForegroundWindow()); }
uint32_t GetWindowThreadProcessId(Window window) { return ::GetWindowThreadProcessId(W(window), nullptr); }
bool IsIconic(Window window) { return ::IsIconic(W(window)) != 0; }
Window GetLastActivePopup(Window window) { return W(::GetLastActivePopup(W(window))); }
bool IsHungAppWindow(Window window) { return ::IsHungAppWindow(W(window)) != 0; }
bool ShowWindowAsync(Window window, int command) { return ::ShowWindowAsync(W(window), command) != 0; }
bool SetWindowPos(Window window, Window insertAfter, int x, int y, int width, int height, unsigned flags) {
  return ::SetWindowPos(W(window), W(insertAfter), x, y, width, height, flags) != 0;
}
bool SetForegroundWindow(Window window) { return ::SetForegroundWindow(W(window)) != 0; }
intptr_t SendMessageTimeoutA(Window window, unsigned message, uintptr_t wParam, intptr_t lParam, unsigned flags,
                             unsigned timeoutMs, uintptr_t* result) {
  DWORD_PTR reply = 0;
  LRESULT handled = ::SendMessageTimeoutA(W(window), message, wParam, lParam, flags, timeoutMs, &reply);
  if (result) *result = reply;
  return handled;
}
long BroadcastSystemMessageA(uint32_t flags, uint32_t* recipients, unsigned message, uintptr_t wParam,
                             intptr_t lParam) {
  static_assert(sizeof(DWORD) == sizeof(uint32_t), "recipients");
  return ::BroadcastSystemMessageA(flags, reinterpret_cast<DWORD*>(recipients), message, wParam, lParam);
}

long RegOpenKeyExA(Key root, const char* subkey, uint32_t options, uint32_t access, Key* result) {
  return ::RegOpenKeyExA(K(root), subkey, options, access, reinterpret_cast<HKEY*>(result));
}
long RegSetValueExA(Key key, const char* valueName, uint32_t reserved, uint32_t type, const unsigned char* data,
                    uint32_t size) {
  return ::RegSetValueExA(K(key), valueName, reserved, type, data, size);
}
long RegCloseKey(Key key) { return ::RegCloseKey(K(key)); }

unsigned GetWindowsDirectoryA(char* buffer, unsigned size) { return ::GetWindowsDirectoryA(buffer, size); }
Module LoadLibraryA(const char* name) { return reinterpret_cast<Module>(::LoadLibraryA(name)); }
AnyProc GetProcAddress(Module module, const char* name) {
  return reinterpret_cast<AnyProc>(::GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}
bool FreeLibrary(Module module) { return ::FreeLibrary(reinterpret_cast<HMODULE>(module)) != 0; }
bool CreateDirectoryA(const char* path) { return ::CreateDirectoryA(path, nullptr) != 0; }
uint32_t GetShortPathNameW(const WideChar* longPath, WideChar* shortPath, uint32_t size) {
  return ::GetShortPathNameW(reinterpret_cast<const WCHAR*>(longPath), reinterpret_cast<WCHAR*>(shortPath), size);
}

int WideCharToMultiByte(unsigned codePage, uint32_t flags, const WideChar* wide, int wideLength, char* buffer, int size,
                        const char* defaultChar, bool* usedDefaultChar) {
  BOOL used = FALSE;
  int result = ::WideCharToMultiByte(codePage, flags, reinterpret_cast<const WCHAR*>(wide), wideLength, buffer, size,
                                     defaultChar, usedDefaultChar ? &used : nullptr);
  if (usedDefaultChar) *usedDefaultChar = used != 0;
  return result;
}
int MultiByteToWideChar(unsigned codePage, uint32_t flags, const char* text, int length, WideChar* buffer, int size) {
  return ::MultiByteToWideChar(codePage, flags, text, length, reinterpret_cast<WCHAR*>(buffer), size);
}

FindHandle FindFirstFileA(const char* searchPath, FindData* data) {
  return reinterpret_cast<FindHandle>(::FindFirstFileA(searchPath, F(data)));
}
bool FindNextFileA(FindHandle handle, FindData* data) {
  return ::FindNextFileA(reinterpret_cast<HANDLE>(handle), F(data)) != 0;
}
bool FindClose(FindHandle handle) { return ::FindClose(reinterpret_cast<HANDLE>(handle)) != 0; }
int lstrcmpiA(const char* first, const char* second) { return ::lstrcmpiA(first, second); }
bool DeleteFileA(const char* path) { return ::DeleteFileA(path) != 0; }
bool RemoveDirectoryA(const char* path) { return ::RemoveDirectoryA(path) != 0; }

}  // namespace platform
