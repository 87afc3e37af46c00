// DeleteSaved on the real executable, in the Wine prefix's own documents
// folder: the saved-data folder goes, and nothing outside it.
#include <shlobj.h>

#include <gmock/gmock.h>

#include "e2e.h"
#include "sandbox.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class DeleteSavedRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char documents[MAX_PATH] = "";
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents));
    documents_ = documents;
    saved_ = documents_ + "\\Quorvane Halvenstrand";
    ASSERT_TRUE(e2e::RemoveAll(saved_));
    outside_ = e2e::FreshSandbox("outside");
  }
  void TearDown() override {
    e2e::RemoveAll(saved_);
    e2e::RemoveAll(outside_);
  }

  void Folder(const std::string& relative) { ASSERT_TRUE(CreateDirectoryA(In(relative).c_str(), nullptr)); }
  void File(const std::string& relative, DWORD attributes = 0) {
    ASSERT_TRUE(e2e::WriteText(In(relative), relative));
    if (attributes) {
      ASSERT_TRUE(SetFileAttributesA(In(relative).c_str(), attributes));
    }
  }
  std::string In(const std::string& relative) const { return relative.empty() ? saved_ : saved_ + "\\" + relative; }

  void RunDeleteSaved() {
    e2e::Run run = e2e::RunHelper(e2e::Quoted(e2e::HelperPath()) + " DeleteSaved");
    EXPECT_CLEAN_EXIT(run);
  }

  std::string documents_, saved_, outside_;
};

TEST_F(DeleteSavedRun, AMissingFolderIsCreatedAndRemoved) {
  RunDeleteSaved();
  EXPECT_FALSE(e2e::Exists(saved_));
  EXPECT_TRUE(e2e::Exists(documents_));
}

TEST_F(DeleteSavedRun, ATreeOfEveryKindOfEntryGoesCompletelyAndItsNeighboursStay) {
  const std::string neighbourFile = documents_ + "\\Quorvane Halvenstrand.txt";
  const std::string neighbourFolder = documents_ + "\\Quorvane Halvenstrand2";
  ASSERT_TRUE(e2e::WriteText(neighbourFile, "mine"));
  CreateDirectoryA(neighbourFolder.c_str(), nullptr);
  ASSERT_TRUE(e2e::WriteText(neighbourFolder + "\\keep.sav", "mine"));

  Folder("");
  File("settings.ini");
  File("..data");
  File(".hidden", FILE_ATTRIBUTE_HIDDEN);
  File("thumbs.db", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Folder("slots");
  File("slots\\Sch\xf6n \xe9t\xe9.sav");
  Folder("slots\\empty");
  Folder("slots\\deep");
  Folder("slots\\deep\\er");
  File("slots\\deep\\er\\last.sav", FILE_ATTRIBUTE_HIDDEN);
  Folder("..folder");
  ASSERT_EQ(11u, e2e::Tree(saved_).size());

  RunDeleteSaved();
  EXPECT_FALSE(e2e::Exists(saved_));
  EXPECT_TRUE(e2e::Exists(neighbourFile));
  EXPECT_TRUE(e2e::Exists(neighbourFolder + "\\keep.sav"));
  DeleteFileA(neighbourFile.c_str());
  e2e::RemoveAll(neighbourFolder);
}

TEST_F(DeleteSavedRun, AReadOnlyFileStaysWithTheFoldersAboveIt) {
  Folder("");
  Folder("a");
  Folder("a\\b");
  File("a\\b\\locked.sav", FILE_ATTRIBUTE_READONLY);
  File("a\\b\\other.sav");
  File("a\\note.txt");
  Folder("c");
  File("c\\gone.sav");
  File("top.sav");
  RunDeleteSaved();
  EXPECT_THAT(e2e::Tree(saved_), ElementsAre("a", "a\\b", "a\\b\\locked.sav"));
  EXPECT_TRUE(GetFileAttributesA(In("a\\b\\locked.sav").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(DeleteSavedRun, AFolderLinkPointingOutsideLeavesItsTargetIntact) {
  ASSERT_TRUE(e2e::WriteText(outside_ + "\\precious.doc", "not saved data"));
  CreateDirectoryA((outside_ + "\\inner").c_str(), nullptr);
  ASSERT_TRUE(e2e::WriteText(outside_ + "\\inner\\more.doc", "not saved data"));
  Folder("");
  File("slot.sav");
  ASSERT_TRUE(e2e::MakeFolderLink(In("link"), outside_));
  ASSERT_TRUE(GetFileAttributesA(In("link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
  RunDeleteSaved();
  EXPECT_THAT(e2e::Tree(outside_), ElementsAre("inner", "inner\\more.doc", "precious.doc"));
  EXPECT_FALSE(e2e::Exists(In("slot.sav")));
}

TEST_F(DeleteSavedRun, AnOverlongEntryEndsTheRunCleanlyAndStays) {
  Folder("");
  File("short.sav");
  // Names past 260 characters in all can only be made with the long-path prefix.
  std::string longName(260 - static_cast<int>(saved_.size()), 'n');
  std::wstring wide(L"\\\\?\\");
  for (char c : saved_ + "\\" + longName) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
  HANDLE file = CreateFileW((wide + L"\\inner.sav").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
  RunDeleteSaved();
  EXPECT_FALSE(e2e::Exists(In("short.sav")));
  EXPECT_TRUE(e2e::Exists(saved_));
  EXPECT_THAT(e2e::Tree(saved_), ElementsAre(longName));
}

TEST_F(DeleteSavedRun, AFileHeldOpenByAnotherProcessStaysAndTheRunEnds) {
  Folder("");
  Folder("logs");
  File("logs\\busy.log");
  File("logs\\old.log");
  File("done.sav");
  HANDLE held = CreateFileA(In("logs\\busy.log").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  RunDeleteSaved();
  CloseHandle(held);
  EXPECT_THAT(e2e::Tree(saved_), ElementsAre("logs", "logs\\busy.log"));
}

}  // namespace
