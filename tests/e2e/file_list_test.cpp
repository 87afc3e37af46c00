// FileList on a real file system under Wine, with the real directory search
// and the real lstrcmpiA.
#include "support/file_list.h"

#include "list_names.h"

#include <gmock/gmock.h>

#include "sandbox.h"
#include "support/file_attributes.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class RealFileList : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = e2e::FreshSandbox("file_list");
    outside_ = e2e::FreshSandbox("file_list_target");
    for (const char* file : {"a.txt", "B.txt", "h.txt", "r.txt", "s.sys"}) ASSERT_TRUE(e2e::WriteText(At(file), file));
    ASSERT_TRUE(e2e::WriteText(outside_ + "\\kept.txt", "kept"));
    CreateDirectoryA(At("c").c_str(), nullptr);
    CreateDirectoryA(At("Sub Folder").c_str(), nullptr);
    SetFileAttributesA(At("h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(At("s.sys").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(At("r.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(e2e::MakeFolderLink(At("link"), outside_));
  }
  void TearDown() override {
    e2e::RemoveAll(root_);
    e2e::RemoveAll(outside_);
  }
  std::string At(const char* name) const { return root_ + "\\" + name; }

  std::string root_, outside_;
};

TEST_F(RealFileList, TheFixtureHoldsWhatItShould) {
  DWORD link = GetFileAttributesA(At("link").c_str());
  EXPECT_TRUE(IsDirectory(link));
  EXPECT_TRUE(IsReparsePoint(link));
  EXPECT_TRUE(GetFileAttributesA(At("h.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(GetFileAttributesA(At("s.sys").c_str()) & FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(GetFileAttributesA(At("r.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(RealFileList, SortedListingsNameEveryEntryWithFoldersMarked) {
  const std::vector<std::string> ascending = {"a.txt",  "B.txt", "c\\",   "h.txt",
                                              "link\\", "r.txt", "s.sys", "Sub Folder\\"};
  FileList list;
  list.List(root_.c_str(), "*", 1, false);
  EXPECT_EQ(ascending, NamesOf(list));
  list.List((root_ + "\\").c_str(), "*", -1, false);
  EXPECT_EQ(std::vector<std::string>(ascending.rbegin(), ascending.rend()), NamesOf(list));
  list.List(root_.c_str(), "*", 1, true);
  EXPECT_THAT(NamesOf(list), ElementsAre("c\\", "link\\", "Sub Folder\\"));
  list.List(root_.c_str(), "*.txt", 1, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("a.txt", "B.txt", "h.txt", "r.txt"));
}

TEST_F(RealFileList, UnsortedIsTheReverseOfTheSearchOrder) {
  std::vector<std::string> found;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((root_ + "\\*").c_str(), &data);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    found.insert(found.begin(), name + ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "\\" : ""));
  } while (FindNextFileA(search, &data));
  FindClose(search);
  FileList list;
  list.List(root_.c_str(), "*", 0, false);
  EXPECT_EQ(found, NamesOf(list));
  EXPECT_EQ(8, list.Count());
}

TEST_F(RealFileList, EmptyAndMissingFoldersListEmpty) {
  FileList list;
  list.List(At("c").c_str(), "*", 1, false);
  EXPECT_THAT(NamesOf(list), IsEmpty());
  list.List(At("missing").c_str(), "*", 0, false);
  EXPECT_THAT(NamesOf(list), IsEmpty());
  // Through the link the target's entry shows: listing reads, it never deletes.
  list.List(At("link").c_str(), "*", 0, false);
  EXPECT_THAT(NamesOf(list), ElementsAre("kept.txt"));
}

}  // namespace
