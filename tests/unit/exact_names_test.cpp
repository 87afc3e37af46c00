#include "support/exact_names.h"

#include "sim_test.h"

namespace {

bool NoLeadBytes(unsigned char) { return false; }
bool LeadBytes932(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

const char* ReachText(NameReach reach) {
  switch (reach) {
    case NameReach::Plain:
      return "plain";
    case NameReach::ExactPathOnly:
      return "exact path only";
    case NameReach::None:
      return "none";
  }
  return "?";
}

TEST(ExactNames, WhichNamesNameTheirEntryAndNothingElse) {
  const NameReach plain = NameReach::Plain, exact = NameReach::ExactPathOnly, none = NameReach::None;
  const struct {
    int line;
    const char* name;
    bool codePage932;
    NameReach expected;
  } rows[] = {
      {__LINE__, "save.dat", false, plain},
      {__LINE__, "..data", false, plain},
      {__LINE__, ".hidden", false, plain},
      {__LINE__, "a b", false, plain},
      {__LINE__, "Sch\xF6n \xE9t\xE9", false, plain},
      {__LINE__, "~$lock", false, plain},
      // Separators, wildcards and the other bytes no name holds.
      {__LINE__, "..\\victim.txt", false, none},  // fullwidth backslash after best fit
      {__LINE__, "a/b", false, none},
      {__LINE__, "stream:data", false, none},
      {__LINE__, "??.txt", false, none},  // characters the code page lacks
      {__LINE__, "a*", false, none},
      {__LINE__, "a\"b", false, none},
      {__LINE__, "a<b", false, none},
      {__LINE__, "a>b", false, none},
      {__LINE__, "a|b", false, none},
      {__LINE__, "tab\there", false, none},
      {__LINE__, "\x1f", false, none},
      {__LINE__, "", false, none},
      // Dots and spaces alone: ".", "..", and what path parsing would make of them.
      {__LINE__, ".", false, none},
      {__LINE__, "..", false, none},
      {__LINE__, "...", false, none},
      {__LINE__, " ", false, none},
      {__LINE__, ". .", false, none},
      // A final dot or space would be stripped, naming another entry.
      {__LINE__, "foo.", false, exact},
      {__LINE__, "bar ", false, exact},
      {__LINE__, "lnk ", false, exact},
      {__LINE__, "a. . ", false, exact},
      // Devices, with or without an extension, in any case.
      {__LINE__, "con", false, exact},
      {__LINE__, "CON", false, exact},
      {__LINE__, "nul.txt", false, exact},
      {__LINE__, "Nul .txt", false, exact},
      {__LINE__, "prn.tar.gz", false, exact},
      {__LINE__, "aux", false, exact},
      {__LINE__, "com1", false, exact},
      {__LINE__, "COM9.log", false, exact},
      {__LINE__, "lpt1.log", false, exact},
      {__LINE__, "com\xB9", false, exact},  // superscript one
      {__LINE__, "conin$", false, exact},
      {__LINE__, "CONOUT$.x", false, exact},
      {__LINE__, "com0", false, plain},
      {__LINE__, "com10", false, plain},
      {__LINE__, "lpt", false, plain},
      {__LINE__, "console", false, plain},
      {__LINE__, "xcon", false, plain},
      {__LINE__, "connect.txt", false, plain},
      // Code page 932: a trail byte is part of its character.
      {__LINE__, "\x83\x5c", true, plain},  // ソ
      {__LINE__, "\x95\x5c\x94\x5c.txt", true, plain},
      {__LINE__, "\x83\x7c", true, plain},  // trail byte '|'
      {__LINE__, "\x83\x5c", false, none},  // the same bytes in 1252: a backslash
      {__LINE__, "\x83\x5c.", true, exact},
      {__LINE__, "a\\\x83\x5c", true, none},
      {__LINE__, "\x81\x5f", true, plain},  // fullwidth backslash, exact in 932
      {__LINE__, "a\x83", true, plain},     // a lone lead byte at the end
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    EXPECT_STREQ(ReachText(row.expected),
                 ReachText(ReachOfName(row.name, row.codePage932 ? LeadBytes932 : NoLeadBytes)));
  }
}

TEST(ExactNames, FolderPathsWindowsTakesAsWritten) {
  const struct {
    int line;
    const char* path;
    bool codePage932;
    bool expected;
  } rows[] = {
      {__LINE__, "C:\\Users\\user\\Documents", false, true},
      {__LINE__, "c:\\Users\\user\\Documents\\", false, true},
      {__LINE__, "C:\\", false, true},
      {__LINE__, "\\\\server\\share", false, true},
      {__LINE__, "\\\\server\\share\\Documents\\", false, true},
      {__LINE__, "C:\\Users\\\x83\x5c", true, true},
      {__LINE__, "C:\\Users\\\x83\x5c\\Docs", true, true},
      {__LINE__, "", false, false},
      {__LINE__, "Documents", false, false},
      {__LINE__, "C:Documents", false, false},
      {__LINE__, "\\Users\\Documents", false, false},
      {__LINE__, "1:\\Documents", false, false},
      {__LINE__, "\\\\server", false, false},
      {__LINE__, "\\\\server\\", false, false},
      {__LINE__, "\\\\?\\C:\\Documents", false, false},
      {__LINE__, "\\\\.\\C:\\Documents", false, false},
      {__LINE__, "C:\\Users\\..\\Documents", false, false},
      {__LINE__, "C:\\Users\\.\\Documents", false, false},
      {__LINE__, "C:\\Users\\\\Documents", false, false},
      {__LINE__, "C:\\Users/Documents", false, false},
      {__LINE__, "C:\\Users\\Docs.", false, false},
      {__LINE__, "C:\\Users\\Docs \\x", false, false},
      {__LINE__, "C:\\Users\\con\\x", false, false},
      {__LINE__, "C:\\Users\\L?dz", false, false},
      {__LINE__, "C:\\Users\\\x83\x5c", false, true},  // in 1252: a folder "\x83" and a separator
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    EXPECT_EQ(row.expected, IsExactFolderPath(row.path, row.codePage932 ? LeadBytes932 : NoLeadBytes));
  }
}

TEST(ExactNames, TheExactFormIsBuiltWholeOrNotAtAll) {
  const std::string long255 = "C:\\" + Repeat('x', 253);  // 256 characters: 260 with the prefix
  const std::string long257 = "C:\\" + Repeat('x', 254);
  const struct {
    int line;
    std::string path;
    bool made;
    std::string expected;
  } rows[] = {
      {__LINE__, "C:\\a\\b\\", true, "\\\\?\\C:\\a\\b\\"},
      {__LINE__, "\\\\server\\share\\x\\", true, "\\\\?\\UNC\\server\\share\\x\\"},
      {__LINE__, "\\\\?\\C:\\a\\", true, "\\\\?\\C:\\a\\"},
      {__LINE__, long255, true, "\\\\?\\" + long255},
      {__LINE__, long257, false, "unchanged"},
      {__LINE__, "relative\\", false, "unchanged"},
      {__LINE__, "", false, "unchanged"},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    PathText exact("unchanged");
    EXPECT_EQ(row.made, MakeExactForm(row.path.c_str(), &exact));
    EXPECT_EQ(row.expected, exact.Text());
  }
}

}  // namespace
