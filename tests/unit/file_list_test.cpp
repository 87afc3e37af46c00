#include "support/file_list.h"

#include "list_names.h"

#include "sim_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char kRoot[] = "C:\\data";

class FileListTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    sim::AddFolder(kRoot);
  }
};

TEST_F(FileListTest, AnEmptyOrMissingFolderListsEmpty) {
  FileList list;
  list.AddName("left over");
  list.List(kRoot, "*", 0, false);
  EXPECT_THAT(NamesOf(list), IsEmpty());
  EXPECT_EQ(0, list.Count());
  list.AddName("left over");
  list.List("C:\\missing", "*", 1, false);
  EXPECT_THAT(NamesOf(list), IsEmpty());
  EXPECT_EQ(0, sim::OpenSearches());
}

TEST_F(FileListTest, OrdersSortOrReverseTheDiscoveryOrder) {
  // Discovered in the order B, c\, a (after . and ..).
  sim::AddFile("C:\\data\\B");
  sim::AddFolder("C:\\data\\c");
  sim::AddFile("C:\\data\\a");
  const struct {
    int line;
    int order;
    std::vector<std::string> expected;
  } rows[] = {
      {__LINE__, 1, {"a", "B", "c\\"}},
      {__LINE__, 7, {"a", "B", "c\\"}},
      {__LINE__, -1, {"c\\", "B", "a"}},
      {__LINE__, 0, {"a", "c\\", "B"}},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    FileList list;
    list.List(kRoot, "*", row.order, false);
    EXPECT_EQ(row.expected, NamesOf(list));
    EXPECT_EQ(3, list.Count());
  }
}

TEST_F(FileListTest, SortingUsesTheLocaleComparisonAndKeepsEqualNamesInArrivalOrder) {
  // By bytes 0xC9 (capital E acute) sorts before 'a'..; the locale puts it with 0xE9.
  sim::AddFile("C:\\data\\\xC3\x89z");
  sim::AddFile(
      "C:\\data\\\xC3\xA9"
      "a");
  sim::AddFile("C:\\data\\b");
  sim::AddFile("C:\\data\\B2");
  FileList list;
  list.List(kRoot, "*", 1, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("b", "B2",
                                         "\xE9"
                                         "a",
                                         "\xC9z"));
}

// Names the locale takes as equal keep their arrival order, in both
// directions: a new one goes after those already there.
TEST_F(FileListTest, EqualNamesGoAfterTheOnesAlreadyThere) {
  const struct {
    int line;
    int direction;
    std::vector<std::string> added, expected;
  } rows[] = {
      {__LINE__, 1, {"X", "x"}, {"X", "x"}},
      {__LINE__, 1, {"x", "X"}, {"x", "X"}},
      {__LINE__, 1, {"b", "a", "B", "A"}, {"a", "A", "b", "B"}},
      {__LINE__, -1, {"x", "X"}, {"x", "X"}},
      {__LINE__, -1, {"a", "b", "A", "B"}, {"b", "B", "a", "A"}},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    FileList list;
    for (const std::string& name : row.added) {
      if (row.direction > 0)
        list.AddAscending(name.c_str());
      else
        list.AddDescending(name.c_str());
    }
    EXPECT_EQ(row.expected, NamesOf(list));
  }
}

TEST_F(FileListTest, EachListedEntryKeepsItsRecord) {
  sim::AddFile("C:\\data\\Long file name.txt", platform::kAttributeReadOnly, "LONGFI~1.TXT");
  sim::AddFolder("C:\\data\\sub");
  sim::AddFolder("C:\\elsewhere");
  sim::AddLink("C:\\data\\link", "C:\\elsewhere", 0xA000000C);
  FileList list;
  list.List(kRoot, "*", 1, false);
  ASSERT_THAT(NamesOf(list), ElementsAre("link\\", "Long file name.txt", "sub\\"));
  const EntryNode* link = static_cast<const EntryNode*>(list.Head());
  const EntryNode* file = static_cast<const EntryNode*>(link->Next());
  const EntryNode* sub = static_cast<const EntryNode*>(file->Next());
  EXPECT_EQ(platform::kAttributeDirectory | platform::kAttributeReparsePoint, link->Attributes());
  EXPECT_EQ(0xA000000Cu, link->ReparseTag());
  EXPECT_STREQ("", link->ShortName());
  EXPECT_EQ(platform::kAttributeReadOnly, file->Attributes());
  EXPECT_STREQ("LONGFI~1.TXT", file->ShortName());
  EXPECT_EQ(platform::kAttributeDirectory, sub->Attributes());
  EXPECT_EQ(0u, sub->ReparseTag());
}

TEST_F(FileListTest, ListsEveryKindOfEntryAndOnlyFoldersWhenAsked) {
  sim::AddFile("C:\\data\\plain.txt");
  sim::AddFile("C:\\data\\hidden.txt", platform::kAttributeHidden);
  sim::AddFile("C:\\data\\system.dat", platform::kAttributeSystem | platform::kAttributeHidden);
  sim::AddFile("C:\\data\\readonly.txt", platform::kAttributeReadOnly);
  sim::AddFolder("C:\\data\\sub", platform::kAttributeHidden);
  sim::AddFolder("C:\\elsewhere");
  sim::AddLink("C:\\data\\link", "C:\\elsewhere", 0xA000000C);
  FileList list;
  list.List(kRoot, "*", 1, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("hidden.txt", "link\\", "plain.txt", "readonly.txt", "sub\\", "system.dat"));
  list.List(kRoot, "*", 1, true);
  EXPECT_THAT(NamesOf(list), ElementsAre("link\\", "sub\\"));
  list.List("C:\\data\\", "*.txt", -1, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("readonly.txt", "plain.txt", "hidden.txt"));
  EXPECT_THAT(
      sim::CallsNamed({"FindFirstFileA"}),
      ElementsAre("FindFirstFileA(C:\\data\\*)", "FindFirstFileA(C:\\data\\*)", "FindFirstFileA(C:\\data\\*.txt)"));
  EXPECT_EQ(3u, sim::CallsNamed({"FindClose"}).size());
  EXPECT_EQ(0, sim::OpenSearches());
}

TEST_F(FileListTest, ASecondScanReplacesTheFirst) {
  sim::AddFile("C:\\data\\one");
  sim::AddFolder("C:\\other");
  sim::AddFile("C:\\other\\two");
  FileList list;
  list.List(kRoot, "*", 0, false);
  list.List("C:\\other", "*", 0, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("two"));
  EXPECT_EQ(1, list.Count());
  // Scan alone keeps "." and "..", marked as folders.
  list.Scan("C:\\other\\*", 0, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("two", "..\\", ".\\"));
}

TEST_F(FileListTest, AFailingSearchKeepsWhatItFoundAndIsClosed) {
  for (const char* name : {"a", "b", "c", "d"}) sim::AddFile(std::string("C:\\data\\") + name);
  sim::FailNextAfter(4);  // ".", "..", "a", "b"
  FileList list;
  list.List(kRoot, "*", 1, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("a", "b"));
  EXPECT_EQ(0, sim::OpenSearches());
}

TEST_F(FileListTest, ASpecificationThatDoesNotFitLeavesThePatternOff) {
  std::string folder = "C:\\" + Repeat('d', 256);  // 259 characters, 260 with the backslash
  sim::AddFolder(folder);
  FileList list;
  list.List(folder.c_str(), "*", 0, false);
  EXPECT_THAT(sim::CallsNamed({"FindFirstFileA"}), ElementsAre("FindFirstFileA(" + folder + "\\)"));
  EXPECT_THAT(NamesOf(list), IsEmpty());
}

}  // namespace
