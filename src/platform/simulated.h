// A small in-memory Windows for host tests: windows, registry keys and
// values, files and folders, the Windows and documents folders, and a record
// of every platform call in order. Reset() gives a fresh world.
#pragma once

#include "platform/platform.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace sim {

using platform::Window;

void Reset();

// Every platform call, formatted as "Name(arguments)", oldest first.
const std::vector<std::string>& Calls();
// The calls whose names begin with one of the prefixes.
std::vector<std::string> CallsNamed(const std::vector<std::string>& prefixes);
void ClearCalls();

// Process
void SetCommandLine(const char* line);  // null: no command line at all
void SetLeadByteRange(unsigned char first, unsigned char last);

// Windows. New windows go after their siblings in enumeration order.
Window AddWindow(const char* className, const char* title, Window parent = nullptr, uint32_t thread = 1);
void SetOwner(Window popup, Window owner);
void SetLastActivePopup(Window owner, Window popup);
void SetIconic(Window window, bool iconic);
// The window's thread stops pumping messages; countedHung: the system
// already counts the window as hung (IsHungAppWindow).
void SetUnresponsive(Window window, bool countedHung);
uint32_t Now();  // the simulated clock, in milliseconds
void SetForeground(Window window);
Window Foreground();
bool Iconic(Window window);
int TitleReads(Window window);
std::string NameOf(Window window);  // "w1", "w2", ... in creation order; "0" for null

struct Delivery {
  Window window;
  unsigned message;
  uintptr_t wParam;
  intptr_t lParam;
  bool iconic;      // the window was minimised when the message arrived
  bool foreground;  // the window was the foreground window then
};
const std::vector<Delivery>& Deliveries();

// Registry, under HKEY_CURRENT_USER; paths like "Control Panel\\Desktop".
void AddKey(const std::string& path);
void RemoveKey(const std::string& path);
struct Value {
  uint32_t type;
  std::string bytes;
};
bool ReadValue(const std::string& path, const std::string& name, Value* value);
void WriteValue(const std::string& path, const std::string& name, const Value& value);
void FailKeyOpen(long status);   // RegOpenKeyExA returns it and no handle
void FailValueSet(long status);  // RegSetValueExA returns it and writes nothing
int OpenKeys();

// Folders
void SetWindowsDirectory(const std::string& path);
void SetCurrentDirectory(const std::string& path);  // relative paths start here

// Text. Entries have their real (wide) names, written here in UTF-8; the
// ANSI calls see them through the code page: 1252 (the default) or 932.
// Characters the code page lacks come out as look-alikes where the system
// has one (fullwidth backslash as '\\', 'Ł' as 'L') and as '?' otherwise.
void SetCodePage(unsigned codePage);
std::string AnsiOf(const std::string& name);  // as a directory listing shows it

// The documents folder, a real name; when it does not exist the shell
// reports failure and an empty text.
void SetDocumentsFolder(const std::string& path);
void SetShellFolderLibrary(bool loads, bool hasFunction, bool hasWideFunction = true);
void SetFolderPathStatus(long status);  // both calls report it, whatever they write

// Files and folders, by real names. Paths are absolute ("C:\\..."); parents
// must exist. A short name is the entry's 8.3 alias (none when empty).
void AddFolder(const std::string& path, uint32_t attributes = 0, const std::string& shortName = "");
void AddFile(const std::string& path, uint32_t attributes = 0, const std::string& shortName = "");
// A folder link: listing through it shows the target's entries.
void AddLink(const std::string& path, const std::string& target, uint32_t reparseTag,
             const std::string& shortName = "");
void SetReparseTag(const std::string& path, uint32_t tag);  // adds the reparse-point attribute
void SetInUse(const std::string& path);                     // DeleteFileA fails on it
bool Exists(const std::string& path);
std::vector<std::string> Tree(const std::string& path);  // every path below, sorted, real names
int OpenSearches();
void FailNextAfter(int entries);  // FindNextFileA fails after this many results (-1: never)

}  // namespace sim
