#include "entry/command_line.h"

#include "sim_test.h"
#include "support/ascii_fold.h"

namespace {

struct TailRow {
  int line;
  std::string commandLine;
  std::string tail;
};

class CommandTailTest : public SimTest {};

TEST_F(CommandTailTest, SkipsTheProgramPathAndTheBlanksAfterIt) {
  const TailRow rows[] = {
      {__LINE__, "SaverHelper.exe DefaultSaver", "DefaultSaver"},
      {__LINE__, "\"C:\\Program Files\\Q V\\SaverHelper.exe\" DefaultSaver", "DefaultSaver"},
      {__LINE__, "C:\\a\"b c\"d.exe   LaunchClose", "LaunchClose"},  // a quote inside the token
      {__LINE__, " DefaultSaver", "DefaultSaver"},                   // empty first token
      {__LINE__, "\"C:\\Program Files\\x.exe DefaultSaver", ""},     // unclosed quote takes the rest
      {__LINE__, "x.exe\t\x01\x1f DefaultSaver", "DefaultSaver"},    // tabs and control bytes
      {__LINE__, "x.exe \"DefaultSaver\"", "\"DefaultSaver\""},      // quotes belong to the tail
      {__LINE__, "x.exe DefaultSaver  ", "DefaultSaver  "},          // trailing blanks stay
      {__LINE__, "x.exe", ""},
      {__LINE__, "", ""},
      {__LINE__, "C:\\\xe9t\xe9\xff.exe DeleteSaved", "DeleteSaved"},  // bytes from 0x80 up
      {__LINE__, "\"q\x01 x\".exe DeleteSaved", "DeleteSaved"},        // control bytes inside quotes
      {__LINE__, "x.exe " + Repeat('a', 300), Repeat('a', 300)},
  };
  for (const TailRow& row : rows) {
    ROW_TRACE(row);
    EXPECT_EQ(row.tail, CommandTail(row.commandLine.c_str()));
  }
  EXPECT_STREQ("", CommandTail(nullptr));
}

TEST_F(CommandTailTest, LeadBytesOfTheCodePageTakeTheirTrailByte) {
  sim::SetLeadByteRange(0x81, 0x9f);
  sim::SetLeadByteRange(0xe0, 0xfc);
  const TailRow rows[] = {
      // 0x81 0x20: the trail byte is a blank but belongs to the character.
      {__LINE__, "C:\\\x81 x.exe DefaultSaver", "DefaultSaver"},
      // 0x83 0x22: a trail byte that looks like a quote opens no span.
      {__LINE__, "C:\\\x83\"x.exe DefaultSaver", "DefaultSaver"},
      {__LINE__, "C:\\x.exe DefaultSaver\x81", "DefaultSaver\x81"},
  };
  for (const TailRow& row : rows) {
    ROW_TRACE(row);
    EXPECT_EQ(row.tail, CommandTail(row.commandLine.c_str()));
  }
  // A lead byte just before the end never takes the terminator with it.
  char line[] = {'x', '.', 'e', 'x', 'e', '\x81', 0, 'D', 'e', 'f', 'a', 'u', 'l', 't', 'S', 'a', 'v', 'e', 'r', 0};
  const char* tail = CommandTail(line);
  EXPECT_EQ(line + 6, tail);
  EXPECT_STREQ("", tail);
}

TEST(AsciiFolding, FoldsOnlyTheLettersAToZ) {
  const struct {
    int line;
    const char* first;
    const char* second;
    bool equal;
  } rows[] = {
      {__LINE__, "DefaultSaver", "defaultsaver", true},
      {__LINE__, "DefaultSaver", "DEFAULTSAVER", true},
      {__LINE__, "", "", true},
      {__LINE__, "Default", "DefaultSaver", false},
      {__LINE__, "DefaultSaver", "Default", false},
      {__LINE__, "[", "{", false},  // 0x20 apart, not letters
      {__LINE__, "@", "`", false},
      {__LINE__, "\xc0", "\xe0", false},  // Latin-1 capitals are not folded
      {__LINE__,
       "\xcc"
       "aunch",
       "Launch", false},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    EXPECT_EQ(row.equal, EqualsAsciiFolded(row.first, row.second));
  }
}

// Which actions a tail starts, seen from their first platform call.
struct VerbRow {
  int line;
  std::string tail;
  bool launchClose, deleteSaved, defaultSaver;
};

class VerbTable : public SimTest {};

TEST_F(VerbTable, WholeTextAnyCaseNoTrimming) {
  const VerbRow rows[] = {
      {__LINE__, "LaunchClose", true, false, false},
      {__LINE__, "launchclose", true, false, false},
      {__LINE__, "DeleteSaved", false, true, false},
      {__LINE__, "DELETESAVED", false, true, false},
      {__LINE__, "DefaultSaver", false, false, true},
      {__LINE__, "dEFAULTsAVER", false, false, true},
      {__LINE__, "", false, false, false},
      {__LINE__, "DefaultSaver ", false, false, false},
      {__LINE__, " DefaultSaver", false, false, false},
      {__LINE__, "/DefaultSaver", false, false, false},
      {__LINE__, "\"DefaultSaver\"", false, false, false},
      {__LINE__, "Default", false, false, false},
      {__LINE__, "DefaultSaverX", false, false, false},
      {__LINE__, "DefaultSaver DeleteSaved", false, false, false},
      {__LINE__, "Defaul\xd4Saver", false, false, false},
      {__LINE__, "DefaultSaver" + Repeat(' ', 288), false, false, false},
  };
  for (const VerbRow& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    EXPECT_EQ(0, RunCommand(row.tail.c_str()));
    EXPECT_EQ(row.launchClose, !sim::CallsNamed({"FindWindowExA"}).empty());
    EXPECT_EQ(row.deleteSaved, !sim::CallsNamed({"LoadLibraryA"}).empty());
    EXPECT_EQ(row.defaultSaver, !sim::CallsNamed({"GetWindowsDirectoryA"}).empty());
    if (!row.launchClose && !row.deleteSaved && !row.defaultSaver) {
      EXPECT_TRUE(sim::Calls().empty());
    }
  }
}

}  // namespace
