#include <string.h>

#include "sim_test.h"
#include "support/path_text.h"

using ::testing::ElementsAre;

namespace {

struct AssignAppendRow {
  int line;
  const char* start;     // assigned first (null allowed)
  const char* appended;  // null: no append
  std::string expected;
  bool appendResult;
};

std::string Text(size_t length) { return Repeat('x', length); }

class PathTextTable : public SimTest {};

TEST_F(PathTextTable, AssignAndAppendKeepWithinCapacity) {
  const std::string t300 = Text(300), t251 = Text(251), t250 = Text(250), t260 = Text(260);
  const AssignAppendRow rows[] = {
      {__LINE__, nullptr, nullptr, "", true},
      {__LINE__, "", nullptr, "", true},
      {__LINE__, t300.c_str(), nullptr, Text(260), true},
      {__LINE__, t260.c_str(), nullptr, Text(260), true},
      {__LINE__, t251.c_str(), "0123456789", t251, false},  // refused, never cut
      {__LINE__, t250.c_str(), "0123456789", t250 + "0123456789", true},
      {__LINE__, "C:\\a", nullptr, "C:\\a", true},
      {__LINE__, "C:\\a", "", "C:\\a", true},
      {__LINE__, "C:\\a", "\\b", "C:\\a\\b", true},
      {__LINE__, t260.c_str(), "y", t260, false},
  };
  for (const AssignAppendRow& row : rows) {
    ROW_TRACE(row);
    PathText path(row.start);
    if (row.appended || row.start) {
      bool result = path.Append(row.appended);
      EXPECT_EQ(row.appendResult, result);
    }
    EXPECT_EQ(row.expected, path.Text());
    EXPECT_EQ(static_cast<int>(row.expected.size()), path.Length());
  }
}

TEST_F(PathTextTable, AssignCutsAndTerminatesOverOldContents) {
  PathText path(Text(300).c_str());
  path.Assign("ab");
  EXPECT_STREQ("ab", path.Text());
  // The bytes after the new text do not leak into it.
  path.Assign(Text(300).c_str());
  EXPECT_EQ(0, path.Text()[260]);
}

struct BackslashRow {
  int line;
  unsigned codePage;
  std::string start;
  std::string expected;
  bool endsBefore;
  bool result;
};

// In code page 932 a character may end in the byte 0x5C: it is no folder
// mark, and it gets a backslash of its own.
TEST_F(PathTextTable, TrailingBackslash) {
  const BackslashRow rows[] = {
      {__LINE__, 1252, "C:\\WINDOWS", "C:\\WINDOWS\\", false, true},
      {__LINE__, 1252, "C:\\WINDOWS\\", "C:\\WINDOWS\\", true, true},
      {__LINE__, 1252, "", "", false, false},
      {__LINE__, 1252, Text(260), Text(260), false, false},  // full: cannot take it
      {__LINE__, 1252, Text(259), Text(259) + "\\", false, true},
      // Without double-byte characters 0x83 0x5C are two characters.
      {__LINE__, 1252, "C:\\\x83\x5c", "C:\\\x83\x5c", true, true},
      {__LINE__, 932, "C:\\\x83\x5c", "C:\\\x83\x5c\\", false, true},  // katakana so
      {__LINE__, 932, "C:\\\x95\x5c\x94\x5c", "C:\\\x95\x5c\x94\x5c\\", false, true},
      {__LINE__, 932, "C:\\\x83\x5c\\", "C:\\\x83\x5c\\", true, true},
      {__LINE__, 932, "C:\\a\\", "C:\\a\\", true, true},
      // A lone lead byte at the end takes the backslash as its trail byte: no folder mark.
      {__LINE__, 932, "C:\\a\x83", "C:\\a\x83\\", false, false},
      {__LINE__, 932, "\x5c", "\x5c", true, true},
  };
  for (const BackslashRow& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    sim::SetCodePage(row.codePage);
    PathText path(row.start.c_str());
    EXPECT_EQ(row.endsBefore, path.EndsWithBackslash());
    EXPECT_EQ(row.result, path.EnsureTrailingBackslash());
    EXPECT_EQ(row.expected, path.Text());
  }
  PathText path("C:\\a\\");
  path.DropTrailingBackslash();
  EXPECT_STREQ("C:\\a", path.Text());
  path.DropTrailingBackslash();
  EXPECT_STREQ("C:\\a", path.Text());
  PathText so("C:\\\x83\x5c");  // still code page 932
  so.DropTrailingBackslash();
  EXPECT_STREQ("C:\\\x83\x5c", so.Text());
}

TEST_F(PathTextTable, AssignAndAppendMayTakeTheirOwnText) {
  PathText path("C:\\folder\\name");
  path.Assign(path.Text() + 3);
  EXPECT_STREQ("folder\\name", path.Text());
  path.Append(path.Text());
  EXPECT_STREQ("folder\\namefolder\\name", path.Text());
  path.Assign(path.Text());
  EXPECT_STREQ("folder\\namefolder\\name", path.Text());
  PathText full(Text(200).c_str());
  EXPECT_FALSE(full.Append(full.Text()));  // would not fit: unchanged
  EXPECT_EQ(Text(200), full.Text());
}

TEST_F(PathTextTable, WindowsDirectoryGetsOneBackslash) {
  const struct {
    int line;
    std::string reported;
    std::string expected;
  } rows[] = {
      {__LINE__, "C:\\WINDOWS", "C:\\WINDOWS\\"},
      {__LINE__, "C:\\WINDOWS\\", "C:\\WINDOWS\\"},
      {__LINE__, Text(259), Text(259) + "\\"},
      {__LINE__, Text(260), ""},  // does not fit the call's buffer: nothing
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    sim::SetWindowsDirectory(row.reported);
    PathText path("old text");
    path.SetWindowsDirectory();
    EXPECT_EQ(row.expected, path.Text());
    EXPECT_THAT(sim::Calls(), ElementsAre("GetWindowsDirectoryA(260)"));
  }
}

class DocumentsSubfolder : public SimTest {};

const char kSavedName[] = "Quorvane Halvenstrand";

TEST_F(DocumentsSubfolder, ResolvesCreatesAndReleasesTheLibrary) {
  PathText path;
  EXPECT_TRUE(path.SetDocumentsSubfolder(kSavedName));
  EXPECT_STREQ("C:\\Users\\user\\Documents\\Quorvane Halvenstrand\\", path.Text());
  EXPECT_THAT(sim::Calls(),
              ElementsAre("LoadLibraryA(SHFolder.dll)", "GetProcAddress(SHFolder, SHGetFolderPathA)",
                          "GetProcAddress(SHFolder, SHGetFolderPathW)", "SHGetFolderPathA(0, 5, 0, 0)",
                          "SHGetFolderPathW(0, 5, 0, 0)", "FreeLibrary(SHFolder)",
                          "WideCharToMultiByte(0, 0x400, -1, 261, null)", "MultiByteToWideChar(0, 0x8, -1, 261)",
                          "CreateDirectoryA(C:\\Users\\user\\Documents\\Quorvane Halvenstrand\\)"));
  EXPECT_TRUE(sim::Exists("C:\\Users\\user\\Documents\\Quorvane Halvenstrand"));
  // An existing folder is fine: same text, still true.
  EXPECT_TRUE(path.SetDocumentsSubfolder(kSavedName));
  EXPECT_STREQ("C:\\Users\\user\\Documents\\Quorvane Halvenstrand\\", path.Text());
}

TEST_F(DocumentsSubfolder, NullNameGivesTheFolderAndCreatesNothing) {
  PathText path;
  EXPECT_TRUE(path.SetDocumentsSubfolder(nullptr));
  EXPECT_STREQ("C:\\Users\\user\\Documents\\", path.Text());
  EXPECT_TRUE(sim::CallsNamed({"CreateDirectoryA"}).empty());
}

// Without a documents folder that the system vouches for there is no
// saved folder: never one relative to wherever the program was started.
TEST_F(DocumentsSubfolder, NothingWithoutAnAbsoluteFolderTheSystemReports) {
  const struct {
    int line;
    bool loads, hasFunction, hasWideFunction;
    std::string documents;
    long status;  // -1: as the folder is
    int freed;
  } rows[] = {
      {__LINE__, false, true, true, "C:\\Users\\user\\Documents", -1, 0},
      {__LINE__, true, false, true, "C:\\Users\\user\\Documents", -1, 1},
      {__LINE__, true, true, false, "C:\\Users\\user\\Documents", -1, 1},
      {__LINE__, true, true, true, "C:\\Users\\user\\Redirected", -1, 1},         // missing: failure, empty text
      {__LINE__, true, true, true, "C:\\Users\\user\\Documents", 0x80004005, 1},  // failure, text left
      {__LINE__, true, true, true, "", 0, 1},                                     // success, empty text
      {__LINE__, true, true, true, "Documents", 0, 1},                            // success, relative text
      {__LINE__, true, true, true, "C:Documents", 0, 1},
      {__LINE__, true, true, true, "\\Users\\user\\Documents", 0, 1},
      {__LINE__, true, true, true, "\\\\?\\C:\\Users\\user\\Documents", 0, 1},
      {__LINE__, true, true, true, "\\\\.\\C:\\Users\\user\\Documents", 0, 1},
      {__LINE__, true, true, true, "\\\\server", 0, 1},
      {__LINE__, true, true, true, "C:\\Users\\user\\..\\..", 0, 1},
      {__LINE__, true, true, true, "C:\\Users\\user\\Documents.", 0, 1},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    sim::SetCurrentDirectory("C:\\cwd");
    sim::AddFolder("C:\\cwd\\Quorvane Halvenstrand");
    sim::AddFile("C:\\cwd\\Quorvane Halvenstrand\\install.dat");
    sim::SetShellFolderLibrary(row.loads, row.hasFunction, row.hasWideFunction);
    sim::SetDocumentsFolder(row.documents);
    sim::SetFolderPathStatus(row.status);
    PathText path("old text");
    EXPECT_FALSE(path.SetDocumentsSubfolder(kSavedName));
    EXPECT_STREQ("", path.Text());
    EXPECT_EQ(row.freed, static_cast<int>(sim::CallsNamed({"FreeLibrary"}).size()));
    EXPECT_THAT(sim::CallsNamed({"CreateDirectoryA"}), ::testing::IsEmpty());
    EXPECT_THAT(sim::Tree("C:\\cwd"), ElementsAre("Quorvane Halvenstrand", "Quorvane Halvenstrand\\install.dat"));
  }
}

TEST_F(DocumentsSubfolder, ASharedFolderIsAbsoluteToo) {
  sim::SetDocumentsFolder("\\\\server\\share\\Documents");
  sim::SetFolderPathStatus(0);
  PathText path;
  EXPECT_TRUE(path.SetDocumentsSubfolder(kSavedName));
  EXPECT_STREQ("\\\\server\\share\\Documents\\Quorvane Halvenstrand\\", path.Text());
}

// The ANSI path must name the folder the system means, not a look-alike of
// it: the exact conversion, else the short form, else nothing.
TEST_F(DocumentsSubfolder, TheAnsiPathNamesExactlyTheDocumentsFolder) {
  const std::string lodz = "\xC5\x81\xC3\xB3\x64\xC5\xBA Docs";  // Łódź Docs, which 1252 shows as "Lódz Docs"
  const std::string lookAlike =
      "L\xC3\xB3"
      "dz Docs";
  const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本: "??" in 1252
  const struct {
    int line;
    unsigned codePage;
    std::string folder;  // under C:\Users\user, real name
    std::string shortName;
    std::string expected;  // empty: no folder
  } rows[] = {
      {__LINE__, 1252, lodz, "", ""},
      {__LINE__, 1252, lodz, "LDZDOC~1", "C:\\Users\\user\\LDZDOC~1\\"},
      {__LINE__, 1252, nihon, "", ""},
      {__LINE__, 1252, nihon, "A8B2~1", "C:\\Users\\user\\A8B2~1\\"},
      {__LINE__, 1252, "Sch\xC3\xB6n", "", "C:\\Users\\user\\Sch\xF6n\\"},  // in the code page
      {__LINE__, 932, nihon, "", "C:\\Users\\user\\\x93\xFA\x96\x7B\\"},
      {__LINE__, 932, "\xE3\x82\xBD", "", "C:\\Users\\user\\\x83\x5C\\"},  // ソ ends in 0x5C
      {__LINE__, 932, "\xC2\xA5", "", ""},                                 // ¥ would become '\'
      {__LINE__, 932, "\xC2\xA5", "YEN~1", "C:\\Users\\user\\YEN~1\\"},
      {__LINE__, 932, "\xC2\xA5", "\xC2\xA5", ""},  // no exact short form either
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    sim::SetCodePage(row.codePage);
    std::string real = "C:\\Users\\user\\" + row.folder;
    sim::AddFolder(real, 0, row.shortName);
    sim::SetDocumentsFolder(real);
    // The folder that the system's own ANSI text names, with a saved folder of its own.
    sim::AddFolder("C:\\Users\\user\\" + lookAlike);
    sim::AddFolder("C:\\Users\\user\\" + lookAlike + "\\Quorvane Halvenstrand");
    PathText path;
    EXPECT_EQ(!row.expected.empty(), path.SetDocumentsSubfolder(nullptr));
    EXPECT_EQ(row.expected, path.Text());
    PathText saved;
    EXPECT_EQ(!row.expected.empty(), saved.SetDocumentsSubfolder(kSavedName));
    EXPECT_EQ(row.expected.empty() ? "" : row.expected + "Quorvane Halvenstrand\\", saved.Text());
    EXPECT_EQ(!row.expected.empty(), sim::Exists(real + "\\Quorvane Halvenstrand"));
    EXPECT_THAT(sim::Tree("C:\\Users\\user\\" + lookAlike), ElementsAre("Quorvane Halvenstrand"));
  }
}

// The documents folder must never come back as the subfolder: the caller
// removes what it gets.
TEST_F(DocumentsSubfolder, RefusesANameThatDoesNotFit) {
  const std::string name = kSavedName;  // 21 characters, 22 with its backslash
  const struct {
    int line;
    size_t documentsLength;  // without its backslash
    bool fits;
  } rows[] = {
      {__LINE__, 237, true},   // 237 + 1 + 22 = 260
      {__LINE__, 238, false},  // the name fits, its backslash does not
      {__LINE__, 239, false},
      {__LINE__, 259, false},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    std::string documents = "C:\\" + Text(row.documentsLength - 3);
    sim::AddFolder(documents);
    sim::SetDocumentsFolder(documents);
    PathText path;
    EXPECT_EQ(row.fits, path.SetDocumentsSubfolder(name.c_str()));
    if (row.fits) {
      EXPECT_EQ(documents + "\\" + name + "\\", path.Text());
      EXPECT_EQ(1u, sim::CallsNamed({"CreateDirectoryA"}).size());
    } else {
      EXPECT_STREQ("", path.Text());
      EXPECT_TRUE(sim::CallsNamed({"CreateDirectoryA"}).empty());
      EXPECT_TRUE(sim::Tree(documents).empty());
    }
  }
}

}  // namespace
