// The simulated back end: the platform operations over an in-memory world.
#include "platform/simulated.h"

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
  int titleReads = 0;
  std::vector<int> children;
};

struct Entry {
  std::string name;
  uint32_t attributes = 0;
  uint32_t tag = 0;
  std::string target;  // key of a link's target folder
  bool inUse = false;
  std::vector<std::string> children;  // keys, in creation order
};

struct Search {
  std::vector<platform::FindData> results;
  size_t next = 0;
};

struct World {
  std::vector<std::string> calls;

  bool hasCommandLine = true;
  std::string commandLine;
  bool leadBytes[256] = {};

  std::vector<SimWindow> windows{SimWindow()};  // index 0 is "no window"
  std::vector<int> topLevel;
  int foreground = 0;
  std::vector<Delivery> deliveries;

  std::map<std::string, std::map<std::string, Value>> keys;  // folded path -> folded name -> value
  std::map<uintptr_t, std::string> openKeys;
  uintptr_t nextKey = 0x100;
  long keyOpenStatus = 0;
  long valueSetStatus = 0;

  std::string windowsDirectory = "C:\\WINDOWS";
  std::string documents = "C:\\Users\\user\\Documents";
  bool shellLibraryLoads = true;
  bool shellHasFunction = true;
  std::string currentDirectory = "C:\\cwd";

  std::map<std::string, Entry> entries;  // folded full path -> entry
  std::map<uintptr_t, Search> searches;
  uintptr_t nextSearch = 0x10;
  int failNextAfter = -1;
};

std::unique_ptr<World> world;

World& W() {
  if (!world) Reset();
  return *world;
}

void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Record(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  W().calls.push_back(line);
}

const char* Text(const char* text) { return text ? text : "null"; }

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

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
std::string Fold(const std::string& text) {
  std::string folded(text);
  for (char& c : folded) c = FoldAscii(c);
  return folded;
}

// Locale-like: ASCII and Latin-1 capitals equal their small letters.
int LocaleFold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

// Splits a path into its non-empty components, relative paths from the current directory.
std::vector<std::string> Components(const std::string& path) {
  std::string full = path;
  if (full.size() < 2 || full[1] != ':') full = W().currentDirectory + "\\" + full;
  std::vector<std::string> parts;
  std::string part;
  for (char c : full) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The key of the entry a path names; links on the way are followed, and the
// last one too when followLast is set. Empty when there is no such entry.
std::string Resolve(const std::string& path, bool followLast) {
  std::vector<std::string> parts = Components(path);
  if (parts.empty()) return "";
  std::string key = Fold(parts[0]);
  if (!W().entries.count(key)) return "";
  for (size_t i = 1; i < parts.size(); ++i) {
    if (parts[i] == ".") continue;
    key += "\\" + Fold(parts[i]);
    auto found = W().entries.find(key);
    if (found == W().entries.end()) return "";
    bool last = i + 1 == parts.size();
    if (!found->second.target.empty() && (!last || followLast)) key = found->second.target;
  }
  return key;
}

std::string ParentKey(const std::string& key) { return key.substr(0, key.rfind('\\')); }

void Detach(const std::string& key) {
  auto& siblings = W().entries[ParentKey(key)].children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
  W().entries.erase(key);
}

std::string Join(const std::vector<std::string>& parts, size_t count) {
  std::string path;
  for (size_t i = 0; i < count; ++i) path += (i ? "\\" : "") + parts[i];
  return path;
}

// The folder that would hold the entry at path, or empty.
std::string ParentOf(const std::string& path) {
  std::vector<std::string> parts = Components(path);
  return parts.size() < 2 ? "" : Resolve(Join(parts, parts.size() - 1), true);
}

Entry& AddEntry(const std::string& path, uint32_t attributes) {
  std::string parent = ParentOf(path);
  if (parent.empty()) {
    fprintf(stderr, "sim: no folder for %s\n", path.c_str());
    abort();
  }
  std::string key = parent + "\\" + Fold(Components(path).back());
  Entry& entry = W().entries[key];
  entry.name = Components(path).back();
  entry.attributes = attributes;
  W().entries[parent].children.push_back(key);
  return entry;
}

bool Matches(const char* pattern, const char* name) {
  if (*pattern == 0) return *name == 0;
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
  if (*name == 0) return false;
  if (*pattern != '?' && FoldAscii(*pattern) != FoldAscii(*name)) return false;
  return Matches(pattern + 1, name + 1);
}

platform::FindData Describe(const std::string& name, uint32_t attributes, uint32_t tag) {
  platform::FindData data;
  memset(&data, 0, sizeof data);
  data.attributes = attributes;
  data.reserved0 = tag;
  snprintf(data.name, sizeof data.name, "%s", name.c_str());
  return data;
}

long PLATFORM_API SimulatedGetFolderPath(Window owner, int folder, void* token, uint32_t flags, char* path) {
  Record("SHGetFolderPathA(%s, %d, %s, %u)", Name(owner), folder, token ? "token" : "0", flags);
  if (folder != platform::kCsidlPersonal) return 1;
  snprintf(path, platform::kMaxPath, "%s", W().documents.c_str());
  return 0;
}

platform::Module const kShellModule = reinterpret_cast<platform::Module>(static_cast<uintptr_t>(0x5f00));

}  // namespace

void Reset() {
  world.reset(new World);
  World& w = *world;
  w.entries["c:"].name = "C:";
  w.entries["c:"].attributes = platform::kAttributeDirectory;
  for (const char* folder : {"C:\\WINDOWS", "C:\\Users", "C:\\Users\\user", "C:\\Users\\user\\Documents", "C:\\cwd"})
    AddFolder(folder);
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
void SetDocumentsFolder(const std::string& path) { W().documents = path; }
void SetShellFolderLibrary(bool loads, bool hasFunction) {
  W().shellLibraryLoads = loads;
  W().shellHasFunction = hasFunction;
}
void SetCurrentDirectory(const std::string& path) { W().currentDirectory = path; }

void AddFolder(const std::string& path, uint32_t attributes) {
  AddEntry(path, attributes | platform::kAttributeDirectory);
}
void AddFile(const std::string& path, uint32_t attributes) { AddEntry(path, attributes); }
void AddLink(const std::string& path, const std::string& target, uint32_t reparseTag) {
  std::string targetKey = Resolve(target, true);
  Entry& link = AddEntry(path, platform::kAttributeDirectory | platform::kAttributeReparsePoint);
  link.tag = reparseTag;
  link.target = targetKey;
}
void SetReparseTag(const std::string& path, uint32_t tag) {
  Entry& entry = W().entries[Resolve(path, false)];
  entry.attributes |= platform::kAttributeReparsePoint;
  entry.tag = tag;
}
void SetInUse(const std::string& path) { W().entries[Resolve(path, false)].inUse = true; }
bool Exists(const std::string& path) { return !Resolve(path, false).empty(); }
std::vector<std::string> Tree(const std::string& path) {
  std::vector<std::string> below;
  std::string prefix = Resolve(path, true) + "\\";
  for (const auto& entry : W().entries)
    if (entry.first.compare(0, prefix.size(), prefix) == 0) below.push_back(entry.first.substr(prefix.size()));
  return below;
}
int OpenSearches() { return static_cast<int>(W().searches.size()); }
void FailNextAfter(int entries) { W().failNextAfter = entries; }

}  // namespace sim

namespace platform {

using sim::Record;
using sim::Name;

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
bool ShowWindow(Window window, int command) {
  Record("ShowWindow(%s, %d)", Name(window), command);
  sim::SimWindow* found = sim::Find(window);
  if (!found) return false;
  if (command == kSwRestore) found->iconic = false;
  return true;  // simulated windows are all visible
}
bool BringWindowToTop(Window window) {
  Record("BringWindowToTop(%s)", Name(window));
  return sim::Find(window) != nullptr;
}
bool SetForegroundWindow(Window window) {
  Record("SetForegroundWindow(%s)", Name(window));
  if (!sim::Find(window)) return false;
  sim::W().foreground = sim::Id(window);
  return true;
}
intptr_t SendMessageA(Window window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  Record("SendMessageA(%s, 0x%x, %lu, %ld)", Name(window), message, static_cast<unsigned long>(wParam),
         static_cast<long>(lParam));
  sim::SimWindow* found = sim::Find(window);
  if (!found) return 0;
  sim::W().deliveries.push_back(
      {window, message, wParam, lParam, found->iconic, sim::W().foreground == sim::Id(window)});
  return 0;
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
Module LoadLibraryA(const char* name) {
  Record("LoadLibraryA(%s)", sim::Text(name));
  bool shell = name && sim::Fold(name) == "shfolder.dll";
  return shell && sim::W().shellLibraryLoads ? sim::kShellModule : nullptr;
}
AnyProc GetProcAddress(Module module, const char* name) {
  Record("GetProcAddress(%s, %s)", module == sim::kShellModule ? "SHFolder" : "?", sim::Text(name));
  if (module != sim::kShellModule || !sim::W().shellHasFunction || strcmp(name, "SHGetFolderPathA") != 0)
    return nullptr;
  return reinterpret_cast<AnyProc>(&sim::SimulatedGetFolderPath);
}
bool FreeLibrary(Module module) {
  Record("FreeLibrary(%s)", module == sim::kShellModule ? "SHFolder" : "?");
  return module == sim::kShellModule;
}
bool CreateDirectoryA(const char* path) {
  Record("CreateDirectoryA(%s)", sim::Text(path));
  if (!path || sim::Exists(path) || sim::ParentOf(path).empty()) return false;
  sim::AddFolder(path);
  return true;
}

FindHandle FindFirstFileA(const char* searchPath, FindData* data) {
  Record("FindFirstFileA(%s)", sim::Text(searchPath));
  std::string path(searchPath ? searchPath : "");
  size_t slash = path.rfind('\\');
  std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
  std::string folderKey = sim::Resolve(folder, true);
  if (pattern.empty() || folderKey.empty()) return InvalidFindHandle();
  const sim::Entry& directory = sim::W().entries[folderKey];
  if (!(directory.attributes & kAttributeDirectory)) return InvalidFindHandle();
  sim::Search search;
  bool wild = pattern.find_first_of("*?") != std::string::npos;
  if (wild) {
    for (const char* dots : {".", ".."})
      if (sim::Matches(pattern.c_str(), dots)) search.results.push_back(sim::Describe(dots, kAttributeDirectory, 0));
  }
  for (const std::string& key : directory.children) {
    const sim::Entry& entry = sim::W().entries[key];
    if (wild ? sim::Matches(pattern.c_str(), entry.name.c_str()) : sim::Fold(pattern) == sim::Fold(entry.name))
      search.results.push_back(sim::Describe(entry.name, entry.attributes, entry.tag));
  }
  if (search.results.empty()) return InvalidFindHandle();
  *data = search.results[0];
  search.next = 1;
  uintptr_t handle = sim::W().nextSearch++;
  sim::W().searches[handle] = search;
  return reinterpret_cast<FindHandle>(handle);
}
bool FindNextFileA(FindHandle handle, FindData* data) {
  Record("FindNextFileA()");
  auto found = sim::W().searches.find(reinterpret_cast<uintptr_t>(handle));
  if (found == sim::W().searches.end()) return false;
  sim::Search& search = found->second;
  int failAfter = sim::W().failNextAfter;
  if (search.next >= search.results.size() || (failAfter >= 0 && static_cast<int>(search.next) >= failAfter))
    return false;
  *data = search.results[search.next++];
  return true;
}
bool FindClose(FindHandle handle) {
  Record("FindClose()");
  return sim::W().searches.erase(reinterpret_cast<uintptr_t>(handle)) != 0;
}
uint32_t GetFileAttributesA(const char* path) {
  Record("GetFileAttributesA(%s)", sim::Text(path));
  std::string key = sim::Resolve(path ? path : "", false);
  return key.empty() ? kInvalidAttributes : sim::W().entries[key].attributes;
}
int lstrcmpiA(const char* first, const char* second) {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(first);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(second);
  while (*a && sim::LocaleFold(*a) == sim::LocaleFold(*b)) ++a, ++b;
  int difference = sim::LocaleFold(*a) - sim::LocaleFold(*b);
  return (difference > 0) - (difference < 0);
}
bool DeleteFileA(const char* path) {
  Record("DeleteFileA(%s)", sim::Text(path));
  std::string key = sim::Resolve(path ? path : "", false);
  if (key.empty()) return false;
  const sim::Entry& entry = sim::W().entries[key];
  if (entry.attributes & (kAttributeDirectory | kAttributeReadOnly) || entry.inUse) return false;
  sim::Detach(key);
  return true;
}
bool RemoveDirectoryA(const char* path) {
  Record("RemoveDirectoryA(%s)", sim::Text(path));
  std::string key = sim::Resolve(path ? path : "", false);
  if (key.empty() || key.find('\\') == std::string::npos) return false;
  const sim::Entry& entry = sim::W().entries[key];
  if (!(entry.attributes & kAttributeDirectory)) return false;
  // A link goes alone; its target is not touched.
  if (entry.target.empty() && !entry.children.empty()) return false;
  sim::Detach(key);
  return true;
}

}  // namespace platform
