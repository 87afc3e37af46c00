// The simulated back end, files and text: a file system of real (wide)
// names seen through an ANSI code page, with the path rules of Windows.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <memory>

#include "platform/simulated.h"
#include "platform/simulated_internal.h"

namespace sim {
namespace {

struct Entry {
  std::string name;       // the real name, UTF-8
  std::string shortName;  // the 8.3 alias, or empty
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

struct Files {
  unsigned codePage = 1252;
  std::string documents = "C:\\Users\\user\\Documents";
  bool shellLibraryLoads = true;
  bool shellHasFunction = true;
  bool shellHasWideFunction = true;
  long folderPathStatus = -1;  // -1: as the folder is
  std::string currentDirectory = "C:\\cwd";

  std::map<std::string, Entry> entries;  // folded full path -> entry
  std::map<uintptr_t, Search> searches;
  uintptr_t nextSearch = 0x10;
  int failNextAfter = -1;
};

std::unique_ptr<Files> files;

Files& F() {
  if (!files) ResetFiles();
  return *files;
}

// ---- Text: UTF-8 for real names, UTF-16 for the wide calls, and the code pages.

std::u32string FromUtf8(const std::string& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = text[i];
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    char32_t point = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra && i + k < text.size(); ++k) point = (point << 6) | (text[i + k] & 0x3F);
    out += point;
    i += 1 + extra;
  }
  return out;
}

std::string ToUtf8(const std::u32string& points) {
  std::string out;
  for (char32_t p : points) {
    if (p < 0x80) {
      out += static_cast<char>(p);
    } else if (p < 0x800) {
      out += static_cast<char>(0xC0 | (p >> 6));
      out += static_cast<char>(0x80 | (p & 0x3F));
    } else if (p < 0x10000) {
      out += static_cast<char>(0xE0 | (p >> 12));
      out += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (p & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (p >> 18));
      out += static_cast<char>(0x80 | ((p >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((p >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (p & 0x3F));
    }
  }
  return out;
}

std::u32string FromUtf16(const platform::WideChar* text) {
  std::u32string out;
  for (; *text; ++text) {
    char32_t unit = *text;
    if (unit >= 0xD800 && unit < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[1] - 0xDC00);
      ++text;
    }
    out += unit;
  }
  return out;
}

std::vector<platform::WideChar> ToUtf16(const std::u32string& points) {
  std::vector<platform::WideChar> out;
  for (char32_t p : points) {
    if (p >= 0x10000) {
      out.push_back(static_cast<platform::WideChar>(0xD800 + ((p - 0x10000) >> 10)));
      out.push_back(static_cast<platform::WideChar>(0xDC00 + ((p - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<platform::WideChar>(p));
    }
  }
  out.push_back(0);
  return out;
}

struct DoubleByte {
  uint16_t bytes;
  char32_t point;
};
// A few characters of code page 932, among them some whose trail byte is 0x5C.
const DoubleByte k932[] = {
    {0x835C, 0x30BD},  // katakana so
    {0x955C, 0x8868},  // hyo (table)
    {0x945C, 0x80FD},  // no (ability)
    {0x8341, 0x30A2},  // katakana a
    {0x93FA, 0x65E5},  // ni (sun)
    {0x967B, 0x672C},  // hon (book)
    {0x815F, 0xFF3C},  // fullwidth backslash
    {0x8144, 0xFF0E},  // fullwidth full stop
    {0x815E, 0xFF0F},  // fullwidth solidus
};

struct BestFit {
  char32_t point;
  char byte;
};
// The system's look-alikes for characters a code page lacks.
const BestFit kBestFit1252[] = {
    {0xFF3C, '\\'}, {0xFF0F, '/'}, {0x2215, '/'}, {0xFF0E, '.'}, {0x0141, 'L'}, {0x0142, 'l'},
    {0x017A, 'z'},  {0x017C, 'z'}, {0x0107, 'c'}, {0x0144, 'n'}, {0x015B, 's'}, {0xFF1A, ':'},
};
const BestFit kBestFit932[] = {{0x00A5, '\\'}, {0x2215, '/'}, {0x0141, 'L'}, {0x017A, 'z'}};

bool IsLead932(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// One character in the code page; false when it has none (then a
// look-alike or '?' stands in, *exact false).
std::string EncodePoint(char32_t point, bool bestFit, bool* exact) {
  *exact = true;
  if (point < 0x80) return std::string(1, static_cast<char>(point));
  if (F().codePage == 1252) {
    if (point >= 0xA0 && point <= 0xFF) return std::string(1, static_cast<char>(point));
  } else {
    for (const DoubleByte& d : k932)
      if (d.point == point) return std::string{static_cast<char>(d.bytes >> 8), static_cast<char>(d.bytes & 0xFF)};
    if (point >= 0xFF61 && point <= 0xFF9F) return std::string(1, static_cast<char>(0xA1 + (point - 0xFF61)));
  }
  *exact = false;
  if (bestFit) {
    const BestFit* table = F().codePage == 1252 ? kBestFit1252 : kBestFit932;
    size_t count = F().codePage == 1252 ? sizeof kBestFit1252 / sizeof *table : sizeof kBestFit932 / sizeof *table;
    for (size_t i = 0; i < count; ++i)
      if (table[i].point == point) return std::string(1, table[i].byte);
  }
  return "?";
}

std::string Encode(const std::u32string& points, bool bestFit, bool* usedDefault) {
  std::string out;
  bool allExact = true;
  for (char32_t p : points) {
    bool exact;
    out += EncodePoint(p, bestFit, &exact);
    allExact = allExact && exact;
  }
  if (usedDefault) *usedDefault = !allExact;
  return out;
}

std::u32string Decode(const std::string& ansi) {
  std::u32string out;
  for (size_t i = 0; i < ansi.size(); ++i) {
    unsigned char b = ansi[i];
    if (b < 0x80) {
      out += b;
    } else if (F().codePage == 1252) {
      out += b;
    } else if (IsLead932(b) && i + 1 < ansi.size()) {
      uint16_t pair = static_cast<uint16_t>(b << 8 | static_cast<unsigned char>(ansi[i + 1]));
      char32_t point = 0xE000 + (pair & 0x0FFF);  // unknown pairs: private, but distinct
      for (const DoubleByte& d : k932)
        if (d.bytes == pair) point = d.point;
      out += point;
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      out += 0xFF61 + (b - 0xA1);
    } else {
      out += 0xFFFD;
    }
  }
  return out;
}

std::string RealFromAnsi(const char* ansi) { return ToUtf8(Decode(ansi ? ansi : "")); }

// ---- Paths

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
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

bool AllDots(const std::string& name) { return name.find_first_not_of('.') == std::string::npos; }

bool IsDevice(const std::string& name) {
  std::string base = Fold(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

struct Parsed {
  std::vector<std::string> parts;  // real names, the drive first
  bool valid = false;
  bool device = false;  // the path names a device, not a file
};

// A path as the ANSI calls take it. "\\?\" paths are taken as written;
// others the way Windows rewrites them: '/' is a separator, "." and ".."
// go, a name loses one final dot, the last name all its final dots and
// spaces, and a last name like "con" or "nul.txt" is a device.
Parsed ParseReal(std::string path) {
  Parsed parsed;
  if (path.compare(0, 4, "\\\\?\\") == 0) {
    std::string rest = path.substr(4);
    if (rest.size() < 2 || rest[1] != ':') return parsed;
    if (rest.find("\\\\") != std::string::npos) return parsed;
    parsed.parts = Split(rest);
    parsed.valid = true;
    return parsed;
  }
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.empty()) return parsed;
  bool endsWithSeparator = path.back() == '\\';
  if (path.size() < 2 || path[1] != ':') path = F().currentDirectory + "\\" + path;
  std::vector<std::string> raw = Split(path);
  for (size_t i = 0; i < raw.size(); ++i) {
    std::string part = raw[i];
    bool last = i + 1 == raw.size() && !endsWithSeparator;
    if (part == ".") continue;
    if (part == "..") {
      if (parsed.parts.size() > 1) parsed.parts.pop_back();
      continue;
    }
    if (last) {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      if (part.empty()) continue;
      parsed.device = i > 0 && IsDevice(part);
    } else if (part.back() == '.' && !AllDots(part)) {
      part.pop_back();
    }
    parsed.parts.push_back(part);
  }
  parsed.valid = !parsed.parts.empty();
  return parsed;
}

Parsed ParseAnsi(const char* ansi) { return ParseReal(RealFromAnsi(ansi)); }

bool NameMatches(const Entry& entry, const std::string& name) {
  return Fold(entry.name) == Fold(name) || (!entry.shortName.empty() && Fold(entry.shortName) == Fold(name));
}

std::string ChildNamed(const std::string& folderKey, const std::string& name) {
  for (const std::string& key : F().entries[folderKey].children)
    if (NameMatches(F().entries[key], name)) return key;
  return "";
}

// The key of the entry the parts name; links on the way are followed, and
// the last one too when followLast is set. Empty when there is none.
std::string Walk(const std::vector<std::string>& parts, size_t count, bool followLast) {
  if (count == 0 || !F().entries.count(Fold(parts[0]))) return "";
  std::string key = Fold(parts[0]);
  for (size_t i = 1; i < count; ++i) {
    key = ChildNamed(key, parts[i]);
    if (key.empty()) return "";
    const Entry& entry = F().entries[key];
    if (!entry.target.empty() && (i + 1 < count || followLast)) key = entry.target;
  }
  return key;
}

std::string WalkAnsi(const char* path, bool followLast) {
  Parsed parsed = ParseAnsi(path);
  if (!parsed.valid || parsed.device) return "";
  return Walk(parsed.parts, parsed.parts.size(), followLast);
}

std::string WalkReal(const std::string& path, bool followLast) {
  std::vector<std::string> parts = Split(path);
  return Walk(parts, parts.size(), followLast);
}

std::string ParentKey(const std::string& key) { return key.substr(0, key.rfind('\\')); }

void Detach(const std::string& key) {
  auto& siblings = F().entries[ParentKey(key)].children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), key), siblings.end());
  F().entries.erase(key);
}

Entry& AddEntryIn(const std::string& parentKey, const std::string& name, uint32_t attributes) {
  std::string key = parentKey + "\\" + Fold(name);
  if (F().entries.count(key)) {
    fprintf(stderr, "sim: %s exists already\n", key.c_str());
    abort();
  }
  Entry& entry = F().entries[key];
  entry.name = name;
  entry.attributes = attributes;
  F().entries[parentKey].children.push_back(key);
  return entry;
}

Entry& AddEntry(const std::string& path, uint32_t attributes, const std::string& shortName) {
  std::vector<std::string> parts = Split(path);
  std::string parent = parts.size() < 2 ? "" : Walk(parts, parts.size() - 1, true);
  if (parent.empty()) {
    fprintf(stderr, "sim: no folder for %s\n", path.c_str());
    abort();
  }
  Entry& entry = AddEntryIn(parent, parts.back(), attributes);
  entry.shortName = shortName;
  return entry;
}

bool Matches(const char* pattern, const char* name) {
  if (*pattern == 0) return *name == 0;
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
  if (*name == 0) return false;
  if (*pattern != '?' && FoldAscii(*pattern) != FoldAscii(*name)) return false;
  return Matches(pattern + 1, name + 1);
}

platform::FindData Describe(const Entry& entry) {
  platform::FindData data;
  memset(&data, 0, sizeof data);
  data.attributes = entry.attributes;
  data.reserved0 = entry.tag;
  snprintf(data.name, sizeof data.name, "%s", AnsiOf(entry.name).c_str());
  snprintf(data.alternateName, sizeof data.alternateName, "%s", AnsiOf(entry.shortName).c_str());
  return data;
}

// What the shell reports for the documents folder.
long FolderPathStatus(int folder) {
  if (folder != platform::kCsidlPersonal) return 1;
  if (F().folderPathStatus != -1) return F().folderPathStatus;
  return WalkReal(F().documents, true).empty() ? static_cast<long>(0x80070003) : platform::kSOk;
}
bool FolderPathWritten(long status) { return status == platform::kSOk || F().folderPathStatus != -1; }

long PLATFORM_API SimulatedGetFolderPath(platform::Window, int folder, void* token, uint32_t flags, char* path) {
  Record("SHGetFolderPathA(0, %d, %s, %u)", folder, token ? "token" : "0", flags);
  long status = FolderPathStatus(folder);
  path[0] = 0;
  if (FolderPathWritten(status)) snprintf(path, platform::kMaxPath, "%s", AnsiOf(F().documents).c_str());
  return status;
}

long PLATFORM_API SimulatedGetFolderPathW(platform::Window, int folder, void* token, uint32_t flags,
                                          platform::WideChar* path) {
  Record("SHGetFolderPathW(0, %d, %s, %u)", folder, token ? "token" : "0", flags);
  long status = FolderPathStatus(folder);
  path[0] = 0;
  if (FolderPathWritten(status)) {
    std::vector<platform::WideChar> wide = ToUtf16(FromUtf8(F().documents));
    size_t count = std::min(wide.size(), static_cast<size_t>(platform::kMaxPath));
    std::copy(wide.begin(), wide.begin() + count, path);
    path[platform::kMaxPath - 1] = 0;
  }
  return status;
}

platform::Module const kShellModule = reinterpret_cast<platform::Module>(static_cast<uintptr_t>(0x5f00));

}  // namespace

void ResetFiles() {
  files.reset(new Files);
  Files& f = *files;
  f.entries["c:"].name = "C:";
  f.entries["c:"].attributes = platform::kAttributeDirectory;
  for (const char* folder : {"C:\\WINDOWS", "C:\\Users", "C:\\Users\\user", "C:\\Users\\user\\Documents", "C:\\cwd"})
    AddFolder(folder);
}

void SetCurrentDirectory(const std::string& path) { F().currentDirectory = path; }

void SetCodePage(unsigned codePage) {
  F().codePage = codePage;
  if (codePage == 932) {
    SetLeadByteRange(0x81, 0x9F);
    SetLeadByteRange(0xE0, 0xFC);
  }
}

std::string AnsiOf(const std::string& name) { return Encode(FromUtf8(name), true, nullptr); }

void SetDocumentsFolder(const std::string& path) { F().documents = path; }
void SetShellFolderLibrary(bool loads, bool hasFunction, bool hasWideFunction) {
  F().shellLibraryLoads = loads;
  F().shellHasFunction = hasFunction;
  F().shellHasWideFunction = hasWideFunction;
}
void SetFolderPathStatus(long status) { F().folderPathStatus = status; }

void AddFolder(const std::string& path, uint32_t attributes, const std::string& shortName) {
  AddEntry(path, attributes | platform::kAttributeDirectory, shortName);
}
void AddFile(const std::string& path, uint32_t attributes, const std::string& shortName) {
  AddEntry(path, attributes, shortName);
}
void AddLink(const std::string& path, const std::string& target, uint32_t reparseTag, const std::string& shortName) {
  std::string targetKey = WalkReal(target, true);
  Entry& link = AddEntry(path, platform::kAttributeDirectory | platform::kAttributeReparsePoint, shortName);
  link.tag = reparseTag;
  link.target = targetKey;
}
void SetReparseTag(const std::string& path, uint32_t tag) {
  Entry& entry = F().entries[WalkReal(path, false)];
  entry.attributes |= platform::kAttributeReparsePoint;
  entry.tag = tag;
}
void SetInUse(const std::string& path) { F().entries[WalkReal(path, false)].inUse = true; }
bool Exists(const std::string& path) { return !WalkReal(path, false).empty(); }

namespace {
void Collect(const std::string& key, const std::string& prefix, std::vector<std::string>* out) {
  for (const std::string& child : F().entries[key].children) {
    const Entry& entry = F().entries[child];
    out->push_back(prefix + entry.name);
    if (entry.target.empty()) Collect(child, prefix + entry.name + "\\", out);
  }
}
}  // namespace

std::vector<std::string> Tree(const std::string& path) {
  std::vector<std::string> below;
  std::string key = WalkReal(path, true);
  if (!key.empty()) Collect(key, "", &below);
  std::sort(below.begin(), below.end());
  return below;
}
int OpenSearches() { return static_cast<int>(F().searches.size()); }
void FailNextAfter(int entries) { F().failNextAfter = entries; }

}  // namespace sim

namespace platform {

using sim::F;
using sim::Record;

Module LoadLibraryA(const char* name) {
  Record("LoadLibraryA(%s)", sim::Text(name));
  bool shell = name && sim::Fold(name) == "shfolder.dll";
  return shell && F().shellLibraryLoads ? sim::kShellModule : nullptr;
}
AnyProc GetProcAddress(Module module, const char* name) {
  Record("GetProcAddress(%s, %s)", module == sim::kShellModule ? "SHFolder" : "?", sim::Text(name));
  if (module != sim::kShellModule || !name) return nullptr;
  if (F().shellHasFunction && strcmp(name, "SHGetFolderPathA") == 0)
    return reinterpret_cast<AnyProc>(&sim::SimulatedGetFolderPath);
  if (F().shellHasWideFunction && strcmp(name, "SHGetFolderPathW") == 0)
    return reinterpret_cast<AnyProc>(&sim::SimulatedGetFolderPathW);
  return nullptr;
}
bool FreeLibrary(Module module) {
  Record("FreeLibrary(%s)", module == sim::kShellModule ? "SHFolder" : "?");
  return module == sim::kShellModule;
}
bool CreateDirectoryA(const char* path) {
  Record("CreateDirectoryA(%s)", sim::Text(path));
  sim::Parsed parsed = sim::ParseAnsi(path);
  if (!parsed.valid || parsed.device || parsed.parts.size() < 2) return false;
  std::string parent = sim::Walk(parsed.parts, parsed.parts.size() - 1, true);
  if (parent.empty() || !(F().entries[parent].attributes & kAttributeDirectory)) return false;
  if (!sim::ChildNamed(parent, parsed.parts.back()).empty()) return false;
  sim::AddEntryIn(parent, parsed.parts.back(), kAttributeDirectory);
  return true;
}
uint32_t GetShortPathNameW(const WideChar* longPath, WideChar* shortPath, uint32_t size) {
  std::string path = sim::ToUtf8(sim::FromUtf16(longPath));
  Record("GetShortPathNameW(%s)", path.c_str());
  std::vector<std::string> parts = sim::Split(path);
  if (parts.empty() || !F().entries.count(sim::Fold(parts[0]))) return 0;
  std::string key = sim::Fold(parts[0]), built = parts[0];
  for (size_t i = 1; i < parts.size(); ++i) {
    key = sim::ChildNamed(key, parts[i]);
    if (key.empty()) return 0;
    const sim::Entry& entry = F().entries[key];
    built += "\\" + (entry.shortName.empty() ? entry.name : entry.shortName);
    if (!entry.target.empty()) key = entry.target;
  }
  std::vector<WideChar> wide = sim::ToUtf16(sim::FromUtf8(built));
  if (wide.size() > size) return static_cast<uint32_t>(wide.size());
  std::copy(wide.begin(), wide.end(), shortPath);
  return static_cast<uint32_t>(wide.size() - 1);
}

int WideCharToMultiByte(unsigned codePage, uint32_t flags, const WideChar* wide, int wideLength, char* buffer, int size,
                        const char* defaultChar, bool* usedDefaultChar) {
  Record("WideCharToMultiByte(%u, 0x%x, %d, %d, %s)", codePage, flags, wideLength, size,
         defaultChar ? "default" : "null");
  if (codePage != kCpAcp || wideLength != -1) return 0;
  std::string text = sim::Encode(sim::FromUtf16(wide), !(flags & kWcNoBestFitChars), usedDefaultChar);
  if (static_cast<int>(text.size()) + 1 > size) return 0;
  memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size()) + 1;
}
int MultiByteToWideChar(unsigned codePage, uint32_t flags, const char* text, int length, WideChar* buffer, int size) {
  Record("MultiByteToWideChar(%u, 0x%x, %d, %d)", codePage, flags, length, size);
  if (codePage != kCpAcp || length != -1) return 0;
  std::vector<WideChar> wide = sim::ToUtf16(sim::Decode(text));
  if (static_cast<int>(wide.size()) > size) return 0;
  std::copy(wide.begin(), wide.end(), buffer);
  return static_cast<int>(wide.size());
}

FindHandle FindFirstFileA(const char* searchPath, FindData* data) {
  Record("FindFirstFileA(%s)", sim::Text(searchPath));
  std::string path = sim::RealFromAnsi(searchPath);
  size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return InvalidFindHandle();
  std::string pattern = path.substr(slash + 1);
  bool exactForm = path.compare(0, 4, "\\\\?\\") == 0;
  bool wild = pattern.find_first_of("*?") != std::string::npos;
  // The pattern is the path's last name: without "\\?\" it loses its final dots and spaces.
  if (!exactForm && !wild)
    while (!pattern.empty() && (pattern.back() == '.' || pattern.back() == ' ')) pattern.pop_back();
  sim::Parsed folder = sim::ParseReal(path.substr(0, slash + 1));
  if (pattern.empty() || !folder.valid) return InvalidFindHandle();
  std::string folderKey = sim::Walk(folder.parts, folder.parts.size(), true);
  if (folderKey.empty()) return InvalidFindHandle();
  const sim::Entry& directory = F().entries[folderKey];
  if (!(directory.attributes & kAttributeDirectory)) return InvalidFindHandle();
  sim::Search search;
  if (wild) {
    for (const char* dots : {".", ".."})
      if (sim::Matches(pattern.c_str(), dots)) {
        sim::Entry entry;
        entry.name = dots;
        entry.attributes = kAttributeDirectory;
        search.results.push_back(sim::Describe(entry));
      }
  }
  for (const std::string& key : directory.children) {
    const sim::Entry& entry = F().entries[key];
    if (wild ? sim::Matches(pattern.c_str(), entry.name.c_str()) : sim::NameMatches(entry, pattern))
      search.results.push_back(sim::Describe(entry));
  }
  if (search.results.empty()) return InvalidFindHandle();
  *data = search.results[0];
  search.next = 1;
  uintptr_t handle = F().nextSearch++;
  F().searches[handle] = search;
  return reinterpret_cast<FindHandle>(handle);
}
bool FindNextFileA(FindHandle handle, FindData* data) {
  Record("FindNextFileA()");
  auto found = F().searches.find(reinterpret_cast<uintptr_t>(handle));
  if (found == F().searches.end()) return false;
  sim::Search& search = found->second;
  int failAfter = F().failNextAfter;
  if (search.next >= search.results.size() || (failAfter >= 0 && static_cast<int>(search.next) >= failAfter))
    return false;
  *data = search.results[search.next++];
  return true;
}
bool FindClose(FindHandle handle) {
  Record("FindClose()");
  return F().searches.erase(reinterpret_cast<uintptr_t>(handle)) != 0;
}
int lstrcmpiA(const char* first, const char* second) {
  // Locale-like: ASCII and Latin-1 capitals equal their small letters.
  auto fold = [](unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return static_cast<int>(c);
  };
  const unsigned char* a = reinterpret_cast<const unsigned char*>(first);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(second);
  while (*a && fold(*a) == fold(*b)) ++a, ++b;
  int difference = fold(*a) - fold(*b);
  return (difference > 0) - (difference < 0);
}
bool DeleteFileA(const char* path) {
  Record("DeleteFileA(%s)", sim::Text(path));
  std::string key = sim::WalkAnsi(path, false);
  if (key.empty()) return false;
  const sim::Entry& entry = F().entries[key];
  if (entry.attributes & (kAttributeDirectory | kAttributeReadOnly) || entry.inUse) return false;
  sim::Detach(key);
  return true;
}
bool RemoveDirectoryA(const char* path) {
  Record("RemoveDirectoryA(%s)", sim::Text(path));
  std::string key = sim::WalkAnsi(path, false);
  if (key.empty() || key.find('\\') == std::string::npos) return false;
  const sim::Entry& entry = F().entries[key];
  if (!(entry.attributes & kAttributeDirectory)) return false;
  // A link goes alone; its target is not touched.
  if (entry.target.empty() && !entry.children.empty()) return false;
  sim::Detach(key);
  return true;
}

}  // namespace platform
