// The Windows operations this program uses, one function each, with the
// same names and arguments as the ANSI calls they stand for. Two back ends:
// win32_platform.cpp (the real calls) and simulated_platform.cpp (host tests).
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define PLATFORM_API __stdcall
#else
#define PLATFORM_API
#endif

namespace platform {

struct WindowObject;
struct KeyObject;
struct FindObject;
struct ModuleObject;
using Window = WindowObject*;
using Key = KeyObject*;
using FindHandle = FindObject*;
using Module = ModuleObject*;

using EnumProc = int(PLATFORM_API*)(Window window, intptr_t parameter);
using AnyProc = void (*)();  // any function; cast to its real type
using WideChar = uint16_t;   // UTF-16, as the system's wide calls take it
using FolderPathProc = long(PLATFORM_API*)(Window owner, int folder, void* token, uint32_t flags, char* path);
using WideFolderPathProc = long(PLATFORM_API*)(Window owner, int folder, void* token, uint32_t flags, WideChar* path);

const int kMaxPath = 260;

const uint32_t kKeyAllAccess = 0xF003F;
const uint32_t kRegSz = 1;
const long kErrorSuccess = 0;
const int kSwRestore = 9;
const unsigned kSmtoAbortIfHung = 0x2;
const unsigned kSwpNoSize = 0x1;
const unsigned kSwpNoMove = 0x2;
const unsigned kSwpAsyncWindowPos = 0x4000;
const unsigned kWmWinIniChange = 0x1A;
const unsigned kWmApp = 0x8000;
const uint32_t kBsmApplications = 8;
const int kCsidlPersonal = 5;
const uint32_t kShgfpTypeCurrent = 0;
const long kSOk = 0;
const unsigned kCpAcp = 0;
const uint32_t kWcNoBestFitChars = 0x400;
const uint32_t kMbErrInvalidChars = 0x8;

const uint32_t kAttributeReadOnly = 0x1;
const uint32_t kAttributeHidden = 0x2;
const uint32_t kAttributeSystem = 0x4;
const uint32_t kAttributeDirectory = 0x10;
const uint32_t kAttributeArchive = 0x20;
const uint32_t kAttributeReparsePoint = 0x400;
const uint32_t kInvalidAttributes = 0xFFFFFFFF;

inline Key CurrentUserRoot() { return reinterpret_cast<Key>(static_cast<uintptr_t>(0x80000001u)); }
inline FindHandle InvalidFindHandle() { return reinterpret_cast<FindHandle>(static_cast<intptr_t>(-1)); }

// Laid out like the system's ANSI find record, so the real back end passes it through.
struct FindData {
  uint32_t attributes;
  uint32_t times[6];
  uint32_t sizeHigh;
  uint32_t sizeLow;
  uint32_t reserved0;  // reparse tag when attributes has kAttributeReparsePoint
  uint32_t reserved1;
  char name[kMaxPath];
  char alternateName[14];
};

// Process
const char* GetCommandLineA();
uint32_t GetTickCount();
void Sleep(unsigned milliseconds);
bool IsDBCSLeadByte(unsigned char byte);

// Windows and messages
Window FindWindowExA(Window parent, Window childAfter, const char* className, const char* title);
bool EnumWindows(EnumProc proc, intptr_t parameter);
bool EnumChildWindows(Window parent, EnumProc proc, intptr_t parameter);
int GetWindowTextA(Window window, char* buffer, int size);
int GetClassNameA(Window window, char* buffer, int size);
Window GetForegroundWindow();
uint32_t GetWindowThreadProcessId(Window window);  // the thread; no process output
bool IsIconic(Window window);
Window GetLastActivePopup(Window window);
bool IsHungAppWindow(Window window);
bool ShowWindowAsync(Window window, int command);
bool SetWindowPos(Window window, Window insertAfter, int x, int y, int width, int height, unsigned flags);
bool SetForegroundWindow(Window window);
// Nonzero when the window handled the message within timeoutMs.
intptr_t SendMessageTimeoutA(Window window, unsigned message, uintptr_t wParam, intptr_t lParam, unsigned flags,
                             unsigned timeoutMs, uintptr_t* result);
long BroadcastSystemMessageA(uint32_t flags, uint32_t* recipients, unsigned message, uintptr_t wParam, intptr_t lParam);

// Registry
long RegOpenKeyExA(Key root, const char* subkey, uint32_t options, uint32_t access, Key* result);
long RegSetValueExA(Key key, const char* valueName, uint32_t reserved, uint32_t type, const unsigned char* data,
                    uint32_t size);
long RegCloseKey(Key key);

// Folders and libraries
unsigned GetWindowsDirectoryA(char* buffer, unsigned size);
Module LoadLibraryA(const char* name);
AnyProc GetProcAddress(Module module, const char* name);
bool FreeLibrary(Module module);
bool CreateDirectoryA(const char* path);
uint32_t GetShortPathNameW(const WideChar* longPath, WideChar* shortPath, uint32_t size);

// Text
int WideCharToMultiByte(unsigned codePage, uint32_t flags, const WideChar* wide, int wideLength, char* buffer, int size,
                        const char* defaultChar, bool* usedDefaultChar);
int MultiByteToWideChar(unsigned codePage, uint32_t flags, const char* text, int length, WideChar* buffer, int size);

// Files
FindHandle FindFirstFileA(const char* searchPath, FindData* data);
bool FindNextFileA(FindHandle handle, FindData* data);
bool FindClose(FindHandle handle);
int lstrcmpiA(const char* first, const char* second);
bool DeleteFileA(const char* path);
bool RemoveDirectoryA(const char* path);

}  // namespace platform
