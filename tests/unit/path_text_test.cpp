#include <string.h>

#include "sim_test.h"
#include "support/path_text.h"

using ::testing::ElementsAre;

namespace {

struct AssignAppendRow {
  int line;
  const char* start;      // assigned first (null allowed)
  const char* appended;   // null: no append
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
  std::string start;
  std::string expected;
  bool endsBefore;
  bool result;
};

TEST_F(PathTextTable, TrailingBackslash) {
  const BackslashRow rows[] = {
      {__LINE__, "C:\\WINDOWS", "C:\\WINDOWS\\", false, true},
      {__LINE__, "C:\\WINDOWS\\", "C:\\WINDOWS\\", true, true},
      {__LINE__, "", "", false, false},
      {__LINE__, Text(260), Text(260), false, false},  // full: cannot take it
      {__LINE__, Text(259), Text(259) + "\\", false, true},
      // Only the last byte counts: a double-byte character ending in 0x5C passes.
      {__LINE__, "C:\\\x83\x5c", "C:\\\x83\x5c", true, true},
  };
  for (const BackslashRow& row : rows) {
    ROW_TRACE(row);
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

TEST_F(DocumentsSubfolder, ResolvesCreatesAndReleasesTheLibrary) {
  PathText path;
  EXPECT_TRUE(path.SetDocumentsSubfolder("Quorvane Halvenstrand"));
  EXPECT_STREQ("C:\\Users\\user\\Documents\\Quorvane Halvenstrand\\", path.Text());
  EXPECT_THAT(sim::Calls(), ElementsAre("LoadLibraryA(SHFolder.dll)", "GetProcAddress(SHFolder, SHGetFolderPathA)",
                                        "SHGetFolderPathA(0, 5, 0, 0)", "FreeLibrary(SHFolder)",
                                        "CreateDirectoryA(C:\\Users\\user\\Documents\\Quorvane Halvenstrand\\)"));
  EXPECT_TRUE(sim::Exists("C:\\Users\\user\\Documents\\Quorvane Halvenstrand"));
  // An existing folder is fine: same text, still true.
  EXPECT_TRUE(path.SetDocumentsSubfolder("Quorvane Halvenstrand"));
  EXPECT_STREQ("C:\\Users\\user\\Documents\\Quorvane Halvenstrand\\", path.Text());
}

TEST_F(DocumentsSubfolder, NullNameGivesTheFolderAndCreatesNothing) {
  PathText path;
  EXPECT_TRUE(path.SetDocumentsSubfolder(nullptr));
  EXPECT_STREQ("C:\\Users\\user\\Documents\\", path.Text());
  EXPECT_TRUE(sim::CallsNamed({"CreateDirectoryA"}).empty());
}

TEST_F(DocumentsSubfolder, WithoutTheShellFolderTheNameIsRelative) {
  const struct {
    int line;
    bool loads;
    bool hasFunction;
    std::string documents;
    int freed;
  } rows[] = {
      {__LINE__, false, false, "C:\\docs", 0},
      {__LINE__, true, false, "C:\\docs", 1},
      {__LINE__, true, true, "", 1},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    sim::SetShellFolderLibrary(row.loads, row.hasFunction);
    sim::SetDocumentsFolder(row.documents);
    PathText path;
    EXPECT_TRUE(path.SetDocumentsSubfolder("Quorvane Halvenstrand"));
    EXPECT_STREQ("Quorvane Halvenstrand\\", path.Text());
    EXPECT_EQ(row.freed, static_cast<int>(sim::CallsNamed({"FreeLibrary"}).size()));
    EXPECT_TRUE(sim::Exists("C:\\cwd\\Quorvane Halvenstrand"));
  }
}

// The documents folder must never come back as the subfolder: the caller
// removes what it gets.
TEST_F(DocumentsSubfolder, RefusesANameThatDoesNotFit) {
  const std::string name = "Quorvane Halvenstrand";  // 21 characters, 22 with its backslash
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
