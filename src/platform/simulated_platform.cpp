// The simulated back end: the platform operations over an in-memory world.
#include "platform/simulated.h"
#include "platform/simulated_internal.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <memory>

namespace sim {
namespace {

struct SimWindow {
  std::string className;
  std::string title;
  int parent = 0;
  int owner = 0;
  int lastPopup = 0;
  uint32_t thread = 1;
  bool iconic = false;
  bool unresponsive = false;    // its thread pumps no messages
  bool countedHung = false;     // and the system already says so
  bool restorePending = false;  // a restore was posted to its thread
  int titleReads = 0;
  std::vector<int> children;
};

struct World {
  std::vector<std::string> calls;

  bool hasCommandLine = true;
  std::string commandLine;
  bool leadBytes[256] = {};

  std::vector<SimWindow> windows{SimWindow()};  // index 0 is "no window"
  std::vector<int> topLevel;
  int foreground = 0;
  uint32_t tick = 1000;  // milliseconds; only Sleep and waiting sends move it
  std::vector<Delivery> deliveries;

  std::map<std::string, std::map<std::string, Value>> keys;  // folded path -> folded name -> value
  std::map<uintptr_t, std::string> openKeys;
  uintptr_t nextKey = 0x100;
  long keyOpenStatus = 0;
  long valueSetStatus = 0;

  std::string windowsDirectory = "C:\\WINDOWS";
};

std::unique_ptr<World> world;

World& W() {
  if (!world) Reset();
  return *world;
}

}  // namespace

void Record(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  W().calls.push_back(line);
}

const char* Text(const char* text) { return text ? text : "null"; }

namespace {

int Id(Window window) { return static_cast<int>(reinterpret_cast<uintptr_t>(window)); }
Window Handle(int id) { return reinterpret_cast<Window>(static_cast<uintptr_t>(id)); }
SimWindow* Find(Window window) {
  int id = Id(window);
  if (id <= 0 || id >= static_cast<int>(W().windows.size())) return nullptr;
  return &W().windows[id];
}
const char* Name(Window window) {
  static char names[8][16];
  static int slot;
  char* name = names[slot++ % 8];
  snprintf(name, 16, window ? "w%d" : "0", Id(window));
  return name;
}

}  // namespace

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
std::string Fold(const std::string& text) {
  std::string folded(text);
  for (char& c : folded) c = FoldAscii(c);
  return folded;
}

void Reset() {
  world.reset(new World);
  ResetFiles();
  AddKey("Control Panel");
  AddKey("Control Panel\\Desktop");
}

const std::vector<std::string>& Calls() { return W().calls; }
std::vector<std::string> CallsNamed(const std::vector<std::string>& prefixes) {
  std::vector<std::string> selected;
  for (const std::string& call : W().calls)
    for (const std::string& prefix : prefixes)
      if (call.compare(0, prefix.size(), prefix) == 0) {
        selected.push_back(call);
        break;
      }
  return selected;
}
void ClearCalls() { W().calls.clear(); }

void SetCommandLine(const char* line) {
  W().hasCommandLine = line != nullptr;
  W().commandLine = line ? line : "";
}
void SetLeadByteRange(unsigned char first, unsigned char last) {
  for (int b = first; b <= last; ++b) W().leadBytes[b] = true;
}

Window AddWindow(const char* className, const char* title, Window parent, uint32_t thread) {
  SimWindow window;
  window.className = className;
  window.title = title;
  window.parent = Id(parent);
  window.thread = thread;
  W().windows.push_back(window);
  int id = static_cast<int>(W().windows.size()) - 1;
  if (parent)
    W().windows[Id(parent)].children.push_back(id);
  else
    W().topLevel.push_back(id);
  return Handle(id);
}
void SetOwner(Window popup, Window owner) { Find(popup)->owner = Id(owner); }
void SetLastActivePopup(Window owner, Window popup) { Find(owner)->lastPopup = Id(popup); }
void SetIconic(Window window, bool iconic) { Find(window)->iconic = iconic; }
void SetUnresponsive(Window window, bool countedHung) {
  Find(window)->unresponsive = true;
  Find(window)->countedHung = countedHung;
}
uint32_t Now() { return W().tick; }
void SetForeground(Window window) { W().foreground = Id(window); }
Window Foreground() { return Handle(W().foreground); }
bool Iconic(Window window) { return Find(window)->iconic; }
int TitleReads(Window window) { return Find(window)->titleReads; }
std::string NameOf(Window window) { return Name(window); }
const std::vector<Delivery>& Deliveries() { return W().deliveries; }

void AddKey(const std::string& path) { W().keys[Fold(path)]; }
void RemoveKey(const std::string& path) { W().keys.erase(Fold(path)); }
bool ReadValue(const std::string& path, const std::string& name, Value* value) {
  auto key = W().keys.find(Fold(path));
  if (key == W().keys.end()) return false;
  auto found = key->second.find(Fold(name));
  if (found == key->second.end()) return false;
  *value = found->second;
  return true;
}
void WriteValue(const std::string& path, const std::string& name, const Value& value) {
  W().keys[Fold(path)][Fold(name)] = value;
}
void FailKeyOpen(long status) { W().keyOpenStatus = status; }
void FailValueSet(long status) { W().valueSetStatus = status; }
int OpenKeys() { return static_cast<int>(W().openKeys.size()); }

void SetWindowsDirectory(const std::string& path) { W().windowsDirectory = path; }
}  // namespace sim

namespace platform {

using sim::Name;
using sim::Record;

uint32_t GetTickCount() { return sim::W().tick; }
void Sleep(unsigned milliseconds) {
  Record("Sleep(%u)", milliseconds);
  sim::W().tick += milliseconds;
  for (sim::SimWindow& window : sim::W().windows) {
    if (window.restorePending && !window.unresponsive) {
      window.iconic = false;
      window.restorePending = false;
    }
  }
}

const char* GetCommandLineA() {
  Record("GetCommandLineA()");
  return sim::W().hasCommandLine ? sim::W().commandLine.c_str() : nullptr;
}
bool IsDBCSLeadByte(unsigned char byte) { return sim::W().leadBytes[byte]; }

Window FindWindowExA(Window parent, Window childAfter, const char* className, const char* title) {
  Record("FindWindowExA(%s, %s, %s, %s)", Name(parent), Name(childAfter), sim::Text(className), sim::Text(title));
  for (int id : sim::W().topLevel) {
    const sim::SimWindow& window = sim::W().windows[id];
    if (className && sim::Fold(className) != sim::Fold(window.className)) continue;
    if (title && sim::Fold(title) != sim::Fold(window.title)) continue;
    return sim::Handle(id);
  }
  return nullptr;
}

bool EnumWindows(EnumProc proc, intptr_t parameter) {
  Record("EnumWindows(%ld)", static_cast<long>(parameter));
  std::vector<int> order = sim::W().topLevel;
  for (int id : order)
    if (!proc(sim::Handle(id), parameter)) return false;
  return true;
}

namespace {
void Descendants(int id, std::vector<int>* out) {
  for (int child : sim::W().windows[id].children) {
    out->push_back(child);
    Descendants(child, out);
  }
}
}  // namespace

bool EnumChildWindows(Window parent, EnumProc proc, intptr_t parameter) {
  Record("EnumChildWindows(%s, %ld)", Name(parent), static_cast<long>(parameter));
  std::vector<int> order;
  if (sim::Find(parent)) Descendants(sim::Id(parent), &order);
  for (int id : order)
    if (!proc(sim::Handle(id), parameter)) return false;
  return true;
}

namespace {
int CopyCut(const std::string& text, char* buffer, int size) {
  if (size <= 0) return 0;
  int length = std::min(static_cast<int>(text.size()), size - 1);
  memcpy(buffer, text.data(), length);
  buffer[length] = 0;
  return length;
}
}  // namespace

int GetWindowTextA(Window window, char* buffer, int size) {
  Record("GetWindowTextA(%s, %d)", Name(window), size);
  sim::SimWindow* found = sim::Find(window);
  if (!found) return 0;
  ++found->titleReads;
  return CopyCut(found->title, buffer, size);
}
int GetClassNameA(Window window, char* buffer, int size) {
  Record("GetClassNameA(%s, %d)", Name(window), size);
  sim::SimWindow* found = sim::Find(window);
  return found ? CopyCut(found->className, buffer, size) : 0;
}
Window GetForegroundWindow() {
  Record("GetForegroundWindow()");
  return sim::Handle(sim::W().foreground);
}
uint32_t GetWindowThreadProcessId(Window window) {
  Record("GetWindowThreadProcessId(%s)", Name(window));
  sim::SimWindow* found = sim::Find(window);
  return found ? found->thread : 0;
}
bool IsIconic(Window window) {
  Record("IsIconic(%s)", Name(window));
  sim::SimWindow* found = sim::Find(window);
  return found && found->iconic;
}
Window GetLastActivePopup(Window window) {
  Record("GetLastActivePopup(%s)", Name(window));
  sim::SimWindow* found = sim::Find(window);
  if (!found) return nullptr;
  return found->lastPopup ? sim::Handle(found->lastPopup) : window;
}
bool IsHungAppWindow(Window window) {
  Record("IsHungAppWindow(%s)", Name(window));
  sim::SimWindow* found = sim::Find(window);
  return found && found->countedHung;
}
// Posted to the window's thread: done when that thread next runs (while we
// sleep), never by a thread that pumps no messages.
bool ShowWindowAsync(Window window, int command) {
  Record("ShowWindowAsync(%s, %d)", Name(window), command);
  sim::SimWindow* found = sim::Find(window);
  if (!found) return false;
  if (command == kSwRestore) found->restorePending = true;
  return true;
}
bool SetWindowPos(Window window, Window insertAfter, int x, int y, int width, int height, unsigned flags) {
  Record("SetWindowPos(%s, %s, %d, %d, %d, %d, 0x%x)", Name(window), Name(insertAfter), x, y, width, height, flags);
  return sim::Find(window) != nullptr;
}
bool SetForegroundWindow(Window window) {
  Record("SetForegroundWindow(%s)", Name(window));
  if (!sim::Find(window)) return false;
  sim::W().foreground = sim::Id(window);
  return true;
}
intptr_t SendMessageTimeoutA(Window window, unsigned message, uintptr_t wParam, intptr_t lParam, unsigned flags,
                             unsigned timeoutMs, uintptr_t* result) {
  Record("SendMessageTimeoutA(%s, 0x%x, %lu, %ld, 0x%x, %u)", Name(window), message, static_cast<unsigned long>(wParam),
         static_cast<long>(lParam), flags, timeoutMs);
  sim::SimWindow* found = sim::Find(window);
  if (!found) return 0;
  if (found->unresponsive) {
    // Aborted at once when the system counts the window as hung; otherwise the whole wait.
    if (!(found->countedHung && (flags & kSmtoAbortIfHung))) sim::W().tick += timeoutMs;
    return 0;
  }
  // A sent message is handled before anything posted to the thread.
  sim::W().deliveries.push_back(
      {window, message, wParam, lParam, found->iconic, sim::W().foreground == sim::Id(window)});
  if (result) *result = 0;
  return 1;
}
long BroadcastSystemMessageA(uint32_t flags, uint32_t* recipients, unsigned message, uintptr_t wParam,
                             intptr_t lParam) {
  Record("BroadcastSystemMessageA(%u, %u, 0x%x, %lu, %ld)", flags, recipients ? *recipients : 0xdeadbeefu, message,
         static_cast<unsigned long>(wParam), static_cast<long>(lParam));
  return 1;
}

namespace {
const char* KeyName(Key key) {
  static char text[32];
  if (key == CurrentUserRoot()) return "HKCU";
  snprintf(text, sizeof text, key ? "k%lx" : "0", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(key)));
  return text;
}
}  // namespace

long RegOpenKeyExA(Key root, const char* subkey, uint32_t options, uint32_t access, Key* result) {
  Record("RegOpenKeyExA(%s, %s, %u, 0x%x, %s)", KeyName(root), sim::Text(subkey), options, access,
         *result ? "preset" : "preset null");
  sim::World& w = sim::W();
  if (w.keyOpenStatus) return w.keyOpenStatus;
  if (root != CurrentUserRoot() || !subkey || !w.keys.count(sim::Fold(subkey))) return 2;
  uintptr_t handle = w.nextKey++;
  w.openKeys[handle] = sim::Fold(subkey);
  *result = reinterpret_cast<Key>(handle);
  return kErrorSuccess;
}
long RegSetValueExA(Key key, const char* valueName, uint32_t reserved, uint32_t type, const unsigned char* data,
                    uint32_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string shown;
  for (char c : bytes) shown += c ? std::string(1, c) : std::string("\\0");
  Record("RegSetValueExA(%s, %s, %u, %u, %s, %u)", KeyName(key), sim::Text(valueName), reserved, type, shown.c_str(),
         size);
  sim::World& w = sim::W();
  if (w.valueSetStatus) return w.valueSetStatus;
  auto open = w.openKeys.find(reinterpret_cast<uintptr_t>(key));
  if (open == w.openKeys.end()) return 6;
  w.keys[open->second][sim::Fold(valueName ? valueName : "")] = sim::Value{type, bytes};
  return kErrorSuccess;
}
long RegCloseKey(Key key) {
  Record("RegCloseKey(%s)", KeyName(key));
  return sim::W().openKeys.erase(reinterpret_cast<uintptr_t>(key)) ? kErrorSuccess : 6;
}

unsigned GetWindowsDirectoryA(char* buffer, unsigned size) {
  Record("GetWindowsDirectoryA(%u)", size);
  const std::string& directory = sim::W().windowsDirectory;
  if (directory.size() >= size) return static_cast<unsigned>(directory.size() + 1);
  memcpy(buffer, directory.c_str(), directory.size() + 1);
  return static_cast<unsigned>(directory.size());
}
}  // namespace platform
