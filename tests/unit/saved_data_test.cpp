#include "actions/saved_data.h"

#include "sim_test.h"
#include "support/file_attributes.h"
#include "support/file_list.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const std::string kDocuments = "C:\\Users\\user\\Documents";
const std::string kSaved = kDocuments + "\\Quorvane Halvenstrand";

std::vector<std::string> Removals() { return sim::CallsNamed({"FindFirstFileA", "DeleteFileA", "RemoveDirectoryA"}); }

class DeleteSavedTest : public SimTest {};

TEST_F(DeleteSavedTest, ListsEachFolderOnceAndRemovesChildrenBeforeParents) {
  sim::AddFolder(kSaved);
  sim::AddFile(kSaved + "\\f1");
  sim::AddFolder(kSaved + "\\s1");
  sim::AddFile(kSaved + "\\s1\\f2", platform::kAttributeHidden | platform::kAttributeSystem);
  sim::AddFolder(kSaved + "\\s1\\s2");
  sim::AddFile(kSaved + "\\..data");
  DeleteSaved();
  const std::string q = kSaved + "\\";
  // The folder's own record first; then entries in the reverse of the order the search found them.
  EXPECT_THAT(Removals(), ElementsAre("FindFirstFileA(" + kSaved + ")",       //
                                      "FindFirstFileA(" + q + "*)",           //
                                      "DeleteFileA(" + q + "..data)",         //
                                      "FindFirstFileA(" + q + "s1\\*)",       //
                                      "FindFirstFileA(" + q + "s1\\s2\\*)",   //
                                      "RemoveDirectoryA(" + q + "s1\\s2\\)",  //
                                      "DeleteFileA(" + q + "s1\\f2)",         //
                                      "RemoveDirectoryA(" + q + "s1\\)",      //
                                      "DeleteFileA(" + q + "f1)",             //
                                      "RemoveDirectoryA(" + q + ")"));
  EXPECT_FALSE(sim::Exists(kSaved));
  EXPECT_TRUE(sim::Exists(kDocuments));
  EXPECT_EQ(0, sim::OpenSearches());
}

TEST_F(DeleteSavedTest, AMissingFolderIsCreatedThenRemoved) {
  DeleteSaved();
  EXPECT_THAT(sim::CallsNamed({"CreateDirectoryA", "RemoveDirectoryA"}),
              ElementsAre("CreateDirectoryA(" + kSaved + "\\)", "RemoveDirectoryA(" + kSaved + "\\)"));
  EXPECT_FALSE(sim::Exists(kSaved));
}

TEST_F(DeleteSavedTest, NothingHappensWhenTheFolderCannotBeNamed) {
  std::string documents = "C:\\" + Repeat('d', 240);
  sim::AddFolder(documents);
  sim::AddFile(documents + "\\mine.txt");
  sim::SetDocumentsFolder(documents);
  DeleteSaved();
  EXPECT_THAT(sim::CallsNamed({"CreateDirectoryA", "FindFirstFileA", "DeleteFileA", "RemoveDirectoryA"}), IsEmpty());
  EXPECT_TRUE(sim::Exists(documents + "\\mine.txt"));
}

// A link inside the saved data must go alone: walking it would delete
// whatever it points to.
TEST_F(DeleteSavedTest, LinksAreRemovedNeverWalked) {
  const struct {
    int line;
    uint32_t tag;
  } rows[] = {
      {__LINE__, 0xA0000003},  // junction
      {__LINE__, 0xA000000C},  // symbolic link
      {__LINE__, 0x80000023},  // any other tag
      {__LINE__, 0},           // none readable
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    sim::Reset();
    sim::AddFolder("C:\\outside");
    sim::AddFile("C:\\outside\\precious.doc");
    sim::AddFolder("C:\\outside\\deeper");
    sim::AddFolder(kSaved);
    sim::AddFile(kSaved + "\\mine.sav");
    sim::AddLink(kSaved + "\\link", "C:\\outside", row.tag);
    DeleteSaved();
    EXPECT_TRUE(sim::Exists("C:\\outside\\precious.doc"));
    EXPECT_TRUE(sim::Exists("C:\\outside\\deeper"));
    EXPECT_THAT(sim::CallsNamed({"FindFirstFileA(" + kSaved + "\\link\\"}), IsEmpty());
    EXPECT_THAT(sim::CallsNamed({"DeleteFileA(" + kSaved + "\\link"}), IsEmpty());
    EXPECT_EQ(1u, sim::CallsNamed({"RemoveDirectoryA(" + kSaved + "\\link)"}).size());
    EXPECT_FALSE(sim::Exists(kSaved));
  }
}

TEST_F(DeleteSavedTest, CloudPlaceholderFoldersAreWalked) {
  for (uint32_t tag : {0x9000001Au, 0x9000F01Au, 0x9000101Au}) {
    SCOPED_TRACE(tag);
    sim::Reset();
    sim::AddFolder(kSaved);
    sim::AddFolder(kSaved + "\\synced");
    sim::AddFile(kSaved + "\\synced\\slot1.sav");
    sim::SetReparseTag(kSaved + "\\synced", tag);
    DeleteSaved();
    EXPECT_EQ(1u, sim::CallsNamed({"DeleteFileA(" + kSaved + "\\synced\\slot1.sav)"}).size());
    EXPECT_FALSE(sim::Exists(kSaved));
  }
}

TEST_F(DeleteSavedTest, OverlongEntriesStayWhileTheWalkGoesOn) {
  // The saved folder's path with its backslash is 230 characters.
  std::string documents = "C:\\" + Repeat('d', 204);
  std::string saved = documents + "\\Quorvane Halvenstrand";
  sim::AddFolder(documents);
  sim::SetDocumentsFolder(documents);
  sim::AddFolder(saved);
  sim::AddFile(saved + "\\" + Repeat('f', 30));    // 260: fits
  sim::AddFile(saved + "\\" + Repeat('g', 31));    // 261: stays
  sim::AddFolder(saved + "\\" + Repeat('h', 29));  // 259 + backslash: walked
  sim::AddFolder(saved + "\\" + Repeat('i', 30));  // 260 + backslash: stays
  sim::AddFile(saved + "\\" + Repeat('i', 30) + "\\inner");
  sim::AddFile(saved + "\\short");
  DeleteSaved();
  EXPECT_THAT(sim::Tree(saved), ElementsAre(Repeat('g', 31), Repeat('i', 30), Repeat('i', 30) + "\\inner"));
  EXPECT_EQ(1u, sim::CallsNamed({"FindFirstFileA(" + saved + "\\*)"}).size());
}

TEST_F(DeleteSavedTest, WhatCannotBeDeletedStaysWithTheFoldersAboveIt) {
  sim::AddFolder(kSaved);
  sim::AddFolder(kSaved + "\\a");
  sim::AddFolder(kSaved + "\\a\\b");
  sim::AddFile(kSaved + "\\a\\b\\locked.sav", platform::kAttributeReadOnly);
  sim::AddFile(kSaved + "\\a\\b\\other.sav");
  sim::AddFile(kSaved + "\\a\\busy.log");
  sim::SetInUse(kSaved + "\\a\\busy.log");
  sim::AddFolder(kSaved + "\\c");
  sim::AddFile(kSaved + "\\c\\gone.sav");
  DeleteSaved();
  EXPECT_THAT(sim::Tree(kSaved), ElementsAre("a", "a\\b", "a\\b\\locked.sav", "a\\busy.log"));
}

TEST_F(DeleteSavedTest, DeleteTreeEdges) {
  sim::AddFolder("C:\\data");
  sim::AddFile("C:\\data\\x");
  FileList list;
  list.DeleteTree(nullptr);
  list.DeleteTree("");
  list.DeleteTree(("C:\\data\\" + Repeat('z', 260)).c_str());  // too long to name: refused, never cut
  list.DeleteTree(("C:\\data\\" + Repeat('z', 252)).c_str());  // 260: no room for its backslash
  EXPECT_THAT(sim::Calls(), IsEmpty());
  list.DeleteTree("C:\\missing");
  EXPECT_THAT(Removals(), ElementsAre("FindFirstFileA(C:\\missing\\*)", "RemoveDirectoryA(C:\\missing\\)"));
  list.DeleteTree("C:\\data");  // no trailing backslash: one is added
  EXPECT_FALSE(sim::Exists("C:\\data"));
}

// Names the code page turns into separators and dot names: each would lead
// out of the folder. Reached by their short names, or left alone.
TEST_F(DeleteSavedTest, LookAlikeNamesNeverLeadOutOfTheFolder) {
  const std::string backslashName = "..\xEF\xBC\xBCvictim.txt";  // ..＼victim.txt, listed as ..\victim.txt
  const std::string dotsName = "\xEF\xBC\x8E\xEF\xBC\x8E";       // ．．, listed as ..
  const std::string slashName =
      "a\xE2\x88\x95"
      "b";  // a∕b, listed as a/b
  for (bool shortNames : {false, true}) {
    SCOPED_TRACE(shortNames ? "with short names" : "without short names");
    sim::Reset();
    sim::AddFile(kDocuments + "\\victim.txt");
    sim::AddFile(kDocuments + "\\b");
    sim::AddFolder(kDocuments + "\\Letters");
    sim::AddFile(kDocuments + "\\Letters\\one.doc");
    sim::AddFolder(kSaved);
    sim::AddFile(kSaved + "\\" + backslashName, 0, shortNames ? "VICTIM~1.TXT" : "");
    sim::AddFolder(kSaved + "\\" + dotsName, 0, shortNames ? "DOTS~1" : "");
    sim::AddFile(kSaved + "\\" + dotsName + "\\inner.sav");
    sim::AddFile(kSaved + "\\" + slashName, 0, shortNames ? "AB~1" : "");
    sim::AddFile(kSaved + "\\plain.sav");
    DeleteSaved();
    EXPECT_THAT(sim::Tree(kDocuments), ::testing::IsSupersetOf({"victim.txt", "b", "Letters", "Letters\\one.doc"}));
    if (shortNames) {
      EXPECT_FALSE(sim::Exists(kSaved));
    } else {
      EXPECT_THAT(sim::Tree(kSaved), ElementsAre(backslashName, slashName, dotsName, dotsName + "\\inner.sav"));
    }
  }
}

// Without a documents folder the system vouches for there is nothing to
// remove: above all not a folder of that name wherever the caller runs.
TEST_F(DeleteSavedTest, NoDocumentsFolderMeansNothingIsTouched) {
  sim::AddFolder("C:\\Program Files");
  sim::AddFolder("C:\\Program Files\\Quorvane Halvenstrand");
  sim::AddFile("C:\\Program Files\\Quorvane Halvenstrand\\saver.scr");
  sim::SetCurrentDirectory("C:\\Program Files");
  sim::SetDocumentsFolder("D:\\Redirected\\Documents");
  DeleteSaved();
  EXPECT_THAT(sim::Tree("C:\\Program Files"), ElementsAre("Quorvane Halvenstrand", "Quorvane Halvenstrand\\saver.scr"));
  EXPECT_THAT(sim::CallsNamed({"CreateDirectoryA", "FindFirstFileA", "DeleteFileA", "RemoveDirectoryA"}), IsEmpty());
}

// A documents folder the code page cannot name exactly: the system's ANSI
// text names a look-alike folder, whose data is not ours.
TEST_F(DeleteSavedTest, ALookAlikeDocumentsFolderIsNeverTheOneUsed) {
  const std::string real =
      "C:\\Users\\user\\\xC5\x81\xC3\xB3"
      "d\xC5\xBA Docs";  // Łódź Docs
  const std::string lookAlike =
      "C:\\Users\\user\\L\xC3\xB3"
      "dz Docs";  // Lódz Docs
  for (bool shortName : {false, true}) {
    SCOPED_TRACE(shortName ? "with a short name" : "without a short name");
    sim::Reset();
    sim::AddFolder(real, 0, shortName ? "LDZDOC~1" : "");
    sim::AddFolder(real + "\\Quorvane Halvenstrand");
    sim::AddFile(real + "\\Quorvane Halvenstrand\\mine.sav");
    sim::AddFolder(lookAlike);
    sim::AddFolder(lookAlike + "\\Quorvane Halvenstrand");
    sim::AddFile(lookAlike + "\\Quorvane Halvenstrand\\other.sav");
    sim::SetDocumentsFolder(real);
    DeleteSaved();
    EXPECT_THAT(sim::Tree(lookAlike), ElementsAre("Quorvane Halvenstrand", "Quorvane Halvenstrand\\other.sav"));
    EXPECT_EQ(!shortName, sim::Exists(real + "\\Quorvane Halvenstrand"));
  }
}

TEST_F(DeleteSavedTest, ASavedFolderThatIsALinkGoesAloneItsTargetStays) {
  for (uint32_t tag : {0xA0000003u, 0xA000000Cu}) {
    SCOPED_TRACE(tag);
    sim::Reset();
    sim::AddFolder("C:\\outside");
    sim::AddFile("C:\\outside\\precious.doc");
    sim::AddFolder("C:\\outside\\deeper");
    sim::AddFile("C:\\outside\\deeper\\more.doc");
    sim::AddLink(kSaved, "C:\\outside", tag);
    DeleteSaved();
    EXPECT_THAT(sim::Tree("C:\\outside"), ElementsAre("deeper", "deeper\\more.doc", "precious.doc"));
    EXPECT_FALSE(sim::Exists(kSaved));
    EXPECT_THAT(sim::CallsNamed({"FindFirstFileA(" + kSaved + "\\"}), IsEmpty());
  }
}

// Windows strips a final dot or space from a path: "lnk " would name "lnk".
// Each entry is judged by its own record and reached by its exact name.
TEST_F(DeleteSavedTest, FinalDotsAndSpacesNameTheirOwnEntry) {
  sim::AddFolder("C:\\outside");
  sim::AddFile("C:\\outside\\precious.doc");
  sim::AddFolder(kSaved);
  sim::AddFolder(kSaved + "\\lnk");
  sim::AddFile(kSaved + "\\lnk\\mine.sav");
  sim::AddLink(kSaved + "\\lnk ", "C:\\outside", 0xA000000C);
  sim::AddFolder(kSaved + "\\foo ");
  sim::AddFile(kSaved + "\\foo \\x.sav");
  sim::AddFile(kSaved + "\\bar.");
  sim::AddFile(kSaved + "\\bar");
  sim::AddFile(kSaved + "\\con");
  sim::AddFile(kSaved + "\\nul.txt");
  DeleteSaved();
  EXPECT_THAT(sim::Tree("C:\\outside"), ElementsAre("precious.doc"));
  EXPECT_FALSE(sim::Exists(kSaved));
  EXPECT_EQ(1u, sim::CallsNamed({"RemoveDirectoryA(\\\\?\\" + kSaved + "\\lnk )"}).size());
  EXPECT_EQ(1u, sim::CallsNamed({"DeleteFileA(\\\\?\\" + kSaved + "\\con)"}).size());
}

// In code page 932 a name may end in the byte 0x5C; it is a name, not a
// folder mark, and the folder is still walked and removed.
TEST_F(DeleteSavedTest, DoubleByteNamesEndingIn5CAreRemoved) {
  sim::SetCodePage(932);
  const std::string so = "\xE3\x82\xBD", hyo = "\xE8\xA1\xA8", nou = "\xE8\x83\xBD";  // ソ 表 能
  sim::AddFolder(kSaved);
  sim::AddFolder(kSaved + "\\" + so);
  sim::AddFile(kSaved + "\\" + so + "\\" + hyo);
  sim::AddFile(kSaved + "\\" + nou + ".txt");
  sim::AddFile(kSaved + "\\" + nou);
  DeleteSaved();
  EXPECT_FALSE(sim::Exists(kSaved));
  EXPECT_EQ(1u, sim::CallsNamed({"FindFirstFileA(" + kSaved + "\\\x83\x5c\\*)"}).size());
}

TEST(FileAttributes, FolderLinksAndPlaceholders) {
  const uint32_t dir = platform::kAttributeDirectory, link = dir | platform::kAttributeReparsePoint;
  const struct {
    int line;
    uint32_t attributes, tag;
    bool directory, folderLink;
  } rows[] = {
      {__LINE__, dir, 0, true, false},
      {__LINE__, dir | platform::kAttributeHidden, 0xA000000C, true, false},  // tag ignored without the bit
      {__LINE__, link, 0xA0000003, true, true},
      {__LINE__, link, 0xA000000C, true, true},
      {__LINE__, link, 0x9000001A, true, false},
      {__LINE__, link, 0x9000701A, true, false},
      {__LINE__, link, 0x9001001A, true, true},
      {__LINE__, platform::kInvalidAttributes, 0, false, false},
      {__LINE__, platform::kAttributeArchive, 0, false, false},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    EXPECT_EQ(row.directory, IsDirectory(row.attributes));
    EXPECT_EQ(row.folderLink, IsFolderLink(row.attributes, row.tag));
  }
}

}  // namespace
