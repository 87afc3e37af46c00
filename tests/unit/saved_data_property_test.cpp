// DeleteSaved over thousands of seeded random trees: links inside and at
// the top, look-alike and unmappable names, final dots and spaces, device
// names, short names present or missing, read-only and in-use files and
// over-long entries. Nothing outside the folder changes; what stays is
// exactly what no exact name can reach, what cannot be deleted, and the
// folders above those.
#include <ctype.h>

#include <algorithm>
#include <random>

#include "actions/saved_data.h"
#include "sim_test.h"

namespace {

const std::string kSaved = "C:\\Users\\user\\Documents\\Quorvane Halvenstrand";

// Real names, each chosen at most once per folder; their listed forms differ.
const char* const kSpecialNames[] = {
    "..\xEF\xBC\xBCvictim.txt",              // ..＼victim.txt, listed as ..\victim.txt
    "\xEF\xBC\x8E\xEF\xBC\x8E",              // ．．, listed as ..
    "\xEF\xBC\x8E\xEF\xBC\x8E\xEF\xBC\x8E",  // ．．．, listed as ...
    "a\xE2\x88\x95"
    "b",               // a∕b
    "x\xEF\xBC\x8Fy",  // x／y
    "\xC5\x81\xC3\xB3"
    "d\xC5\xBA.txt",             // Łódź.txt, listed as Lódz.txt
    "\xE6\x97\xA5\xE6\x9C\xAC",  // 日本, listed as ??
    "\xF0\x9F\x98\x80.sav",      // an emoji
    "\xD0\x9F\xD1\x80\xD0\xB8",  // Cyrillic
    "Sch\xC3\xB6n.sav",          // in the code page
    "foo.",
    "bar ",
    "baz. ",
    "lnk",
    "lnk ",
    "con",
    "nul.txt",
    "com1",
    "lpt1.log",
    "..data",
};

struct Node {
  std::string name;  // real name
  std::string shortName;
  bool folder = false;
  bool link = false;
  bool locked = false;  // read-only or in use
  std::vector<Node> children;
};

class TreeMaker {
 public:
  explicit TreeMaker(unsigned seed) : random_(seed) {}

  int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

  std::vector<Node> Folder(int depth) {
    std::vector<Node> nodes;
    std::vector<bool> used(sizeof kSpecialNames / sizeof *kSpecialNames);
    int count = Below(depth == 0 ? 7 : 5);
    for (int i = 0; i < count; ++i) {
      Node node;
      int kind = Below(10);
      if (kind < 4) {
        int pick = Below(static_cast<int>(used.size()));
        if (used[pick]) continue;
        used[pick] = true;
        node.name = kSpecialNames[pick];
      } else if (kind < 5) {
        node.name = Repeat('L', 90 + Below(60)) + std::to_string(serial_++);  // long: may not fit deeper down
      } else {
        node.name = "e" + std::to_string(serial_++) + ".sav";
      }
      if (Chance(50)) node.shortName = "S" + std::to_string(serial_++) + "~1";
      int what = Below(10);
      if (what < 3 && depth < 3) {
        node.folder = true;
        node.children = Folder(depth + 1);
      } else if (what < 4) {
        node.link = true;
      } else {
        node.locked = Chance(12);
      }
      nodes.push_back(node);
    }
    return nodes;
  }

 private:
  std::mt19937 random_;
  int serial_ = 0;
};

// Whether the listing's ANSI form of a real name is that name: in code
// page 1252 a byte from 0x80 up stands for U+0080..U+00FF.
bool ListedExactly(const std::string& name) {
  std::string back;
  for (unsigned char c : sim::AnsiOf(name)) {
    if (c < 0x80) {
      back += static_cast<char>(c);
    } else {
      back += static_cast<char>(0xC0 | (c >> 6));
      back += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return back == name;
}

bool HasBadByte(const std::string& name) {
  for (unsigned char c : name)
    if (c < 0x20 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos) return true;
  return false;
}

bool IsDevice(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  for (const char* device : {"con", "prn", "aux", "nul", "conin$", "conout$"})
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

enum class Use { Plain, ExactForm, Never };

Use UseOf(const std::string& listed) {
  if (listed.empty() || HasBadByte(listed) || listed.find_first_not_of(". ") == std::string::npos) return Use::Never;
  if (listed.back() == '.' || listed.back() == ' ' || IsDevice(listed)) return Use::ExactForm;
  return Use::Plain;
}

// The model: the path (length and form) by which each entry can be reached,
// the rule being long name, else short name, else long name in "\\?\" form.
struct Reach {
  bool reached;
  size_t length;  // of the path without a folder's backslash
  bool exactForm;
};

Reach PathTo(size_t parentLength, bool parentExact, const std::string& name, bool exact, bool folder) {
  std::string listed = sim::AnsiOf(name);
  Use use = UseOf(listed);
  if (use == Use::Never) return {false, 0, false};
  bool asExact = parentExact || use == Use::ExactForm;
  size_t length = parentLength + (asExact && !parentExact ? 4 : 0) + listed.size();
  if (length + (folder ? 1 : 0) > 260) return {false, 0, false};
  return {exact, length, asExact};
}

void Unchanged(const std::vector<Node>& nodes, const std::string& prefix, std::vector<std::string>* expected) {
  for (const Node& node : nodes) {
    expected->push_back((prefix + "\\" + node.name).substr(kSaved.size() + 1));
    if (node.folder) Unchanged(node.children, prefix + "\\" + node.name, expected);
  }
}

// Records in expected what stays of nodes (at real path prefix); true when the folder empties.
bool Expect(const std::vector<Node>& nodes, const std::string& prefix, size_t length, bool exactForm,
            std::vector<std::string>* expected) {
  bool emptied = true;
  for (const Node& node : nodes) {
    std::string listed = sim::AnsiOf(node.name);
    bool folder = node.folder;  // needs room for its backslash; a link goes by its bare path
    Reach byLong = {false, 0, false};
    bool longTried = false;
    if (UseOf(listed) == Use::Plain) {
      byLong = PathTo(length + 1, exactForm, node.name, ListedExactly(node.name), folder);
      longTried = byLong.length != 0;
    }
    Reach reach = byLong;
    // A long name that was tried and missed (a look-alike) falls back to
    // the short name, as does one that cannot be used or does not fit.
    if (!reach.reached && !node.shortName.empty()) reach = PathTo(length + 1, exactForm, node.shortName, true, folder);
    if (!reach.reached && !longTried && UseOf(listed) == Use::ExactForm)
      reach = PathTo(length + 1, exactForm, node.name, ListedExactly(node.name), folder);

    std::string path = prefix + "\\" + node.name;
    bool gone;
    if (!reach.reached) {
      gone = false;
    } else if (node.link) {
      gone = true;
    } else if (node.folder) {
      gone = Expect(node.children, path, reach.length, reach.exactForm, expected);
    } else {
      gone = !node.locked;
    }
    if (!gone) {
      emptied = false;
      expected->push_back(path.substr(kSaved.size() + 1));
      if (!reach.reached && node.folder) Unchanged(node.children, path, expected);
    }
  }
  return emptied;
}

void Build(const std::vector<Node>& nodes, const std::string& at, int* outsideCount) {
  for (const Node& node : nodes) {
    std::string path = at + "\\" + node.name;
    if (node.link) {
      std::string target = "C:\\outside\\t" + std::to_string((*outsideCount)++ % 3);
      sim::AddLink(path, target, (*outsideCount % 2) ? 0xA000000C : 0xA0000003, node.shortName);
    } else if (node.folder) {
      sim::AddFolder(path, 0, node.shortName);
      Build(node.children, path, outsideCount);
    } else {
      sim::AddFile(path, node.locked && node.name.size() % 2 ? platform::kAttributeReadOnly : 0, node.shortName);
      if (node.locked && node.name.size() % 2 == 0) sim::SetInUse(path);
    }
  }
}

TEST(DeleteSavedProperty, NothingOutsideChangesAndEveryReachableEntryGoes) {
  const int kSeeds = 3000;
  for (int seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    sim::Reset();
    TreeMaker maker(static_cast<unsigned>(seed));
    // Outside the folder: neighbours in the documents folder and the link targets.
    sim::AddFile("C:\\Users\\user\\Documents\\victim.txt");
    sim::AddFolder("C:\\Users\\user\\Documents\\Letters");
    sim::AddFile("C:\\Users\\user\\Documents\\Letters\\one.doc");
    sim::AddFolder("C:\\outside");
    for (int t = 0; t < 3; ++t) {
      sim::AddFolder("C:\\outside\\t" + std::to_string(t));
      sim::AddFile("C:\\outside\\t" + std::to_string(t) + "\\precious.doc");
      sim::AddFolder("C:\\outside\\t" + std::to_string(t) + "\\deeper");
    }
    bool topIsLink = maker.Chance(10);
    std::vector<Node> nodes = maker.Folder(0);
    int outsideCount = 0;
    if (topIsLink) {
      sim::AddLink(kSaved, "C:\\outside\\t0", 0xA0000003);
    } else {
      sim::AddFolder(kSaved);
      Build(nodes, kSaved, &outsideCount);
    }
    std::vector<std::string> outsideBefore = sim::Tree("C:\\outside");
    std::vector<std::string> documentsBefore = sim::Tree("C:\\Users\\user\\Documents");
    documentsBefore.erase(std::remove_if(documentsBefore.begin(), documentsBefore.end(),
                                         [](const std::string& p) { return p.rfind("Quorvane Halvenstrand", 0) == 0; }),
                          documentsBefore.end());

    std::vector<std::string> expected;
    bool emptied = topIsLink || Expect(nodes, kSaved, kSaved.size(), false, &expected);
    std::sort(expected.begin(), expected.end());

    DeleteSaved();

    ASSERT_EQ(outsideBefore, sim::Tree("C:\\outside"));
    std::vector<std::string> documentsAfter = sim::Tree("C:\\Users\\user\\Documents");
    documentsAfter.erase(std::remove_if(documentsAfter.begin(), documentsAfter.end(),
                                        [](const std::string& p) { return p.rfind("Quorvane Halvenstrand", 0) == 0; }),
                         documentsAfter.end());
    ASSERT_EQ(documentsBefore, documentsAfter);
    ASSERT_EQ(!emptied, sim::Exists(kSaved));
    if (!emptied) {
      ASSERT_EQ(expected, sim::Tree(kSaved));
    }
    ASSERT_EQ(0, sim::OpenSearches());
  }
}

}  // namespace
