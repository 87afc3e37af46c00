// DeleteSaved on the real executable, in the Wine prefix's own documents
// folder: the saved-data folder goes, and nothing outside it.
#include <shlobj.h>

#include <gmock/gmock.h>

#include "e2e.h"
#include "sandbox.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Every entry below a folder by its real name, links not entered.
size_t CountWide(const std::wstring& folder) {
  size_t count = 0;
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    ++count;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      count += CountWide(folder + L"\\" + name);
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return count;
}

class DeleteSavedRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char documents[MAX_PATH] = "";
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents));
    documents_ = documents;
    // Deleting here must never reach the real user's files.
    ASSERT_TRUE(wineprefix::InsidePrefix(documents_))
        << documents_ << " leads out of the sealed Wine prefix: refusing to delete there";
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
  std::wstring WideSaved() const {
    std::wstring path(L"\\\\?\\");
    for (char c : saved_) path += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return path;
  }
  // Any name at all, through the wide calls and the exact path form.
  void Wide(const std::wstring& relative, bool folder) {
    std::wstring path = WideSaved() + L"\\" + relative;
    if (folder) {
      ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << GetLastError();
    } else {
      HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      ASSERT_NE(INVALID_HANDLE_VALUE, file) << GetLastError();
      CloseHandle(file);
    }
  }

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

// Names the code page turns into separators or dot names, names it cannot
// hold, final dots and spaces and device names: none of them leads out of
// the folder, and every one of them goes (Wine gives each a short name).
TEST_F(DeleteSavedRun, NamesThatPathsWouldRewriteNeverLeadOutAndAllGo) {
  const std::string victim = documents_ + "\\victim.txt", neighbour = documents_ + "\\Quorvane Halvenstrand2";
  ASSERT_TRUE(e2e::WriteText(victim, "not saved data"));
  CreateDirectoryA(neighbour.c_str(), nullptr);
  ASSERT_TRUE(e2e::WriteText(neighbour + "\\keep.sav", "not saved data"));
  Folder("");
  Wide(L"..\xFF3Cvictim.txt", false);  // listed as ..\victim.txt
  Wide(L"\xFF0E\xFF0E", true);         // listed as ..
  Wide(L"\xFF0E\xFF0E\\inner.sav", false);
  Wide(L"\x65E5\x672C\x8A9E.sav", false);                 // listed as ???.sav
  Wide(L"\xD83D\xDE00", true);                            // an emoji folder
  Wide(L"\xD83D\xDE00\\\x0141\x00F3d\x017A.txt", false);  // listed as Lódz.txt
  Wide(L"foo.", false);
  Wide(L"bar ", true);
  Wide(L"bar \\in.sav", false);
  Wide(L"con", false);
  Wide(L"nul.txt", false);
  File("plain.sav");
  ASSERT_EQ(12u, CountWide(WideSaved()));
  RunDeleteSaved();
  EXPECT_TRUE(e2e::Exists(victim));
  EXPECT_TRUE(e2e::Exists(neighbour + "\\keep.sav"));
  EXPECT_TRUE(e2e::Exists(documents_));
  EXPECT_FALSE(e2e::Exists(saved_)) << CountWide(WideSaved()) << " entries stay";
  DeleteFileA(victim.c_str());
  e2e::RemoveAll(neighbour);
}

// Wine cannot remove a link as a link: RemoveDirectoryA on it removes an
// empty target instead. The target here holds data, which must stay.
TEST_F(DeleteSavedRun, ASavedFolderThatIsALinkIsNeverWalked) {
  ASSERT_TRUE(e2e::WriteText(outside_ + "\\precious.doc", "not saved data"));
  CreateDirectoryA((outside_ + "\\inner").c_str(), nullptr);
  ASSERT_TRUE(e2e::WriteText(outside_ + "\\inner\\more.doc", "not saved data"));
  ASSERT_TRUE(e2e::MakeFolderLink(saved_, outside_));
  ASSERT_TRUE(GetFileAttributesA(saved_.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
  RunDeleteSaved();
  EXPECT_THAT(e2e::Tree(outside_), ElementsAre("inner", "inner\\more.doc", "precious.doc"));
}

// A documents folder that is redirected to a missing place: the shell
// reports failure, and the helper removes nothing, least of all a folder of
// that name where it was started.
TEST_F(DeleteSavedRun, AMissingDocumentsFolderMeansNothingIsRemoved) {
  const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_ALL_ACCESS, &key));
  BYTE saved[1024];
  DWORD savedSize = sizeof saved, savedType = 0;
  bool hadValue = RegQueryValueExA(key, "Personal", nullptr, &savedType, saved, &savedSize) == ERROR_SUCCESS;
  const char missing[] = "C:\\nowhere\\Documents";
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetValueExA(key, "Personal", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(missing), sizeof missing));
  char reported[MAX_PATH] = "";
  HRESULT status = SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, reported);

  ASSERT_TRUE(CreateDirectoryA((outside_ + "\\Quorvane Halvenstrand").c_str(), nullptr));
  ASSERT_TRUE(e2e::WriteText(outside_ + "\\Quorvane Halvenstrand\\saver.dat", "installed"));
  e2e::Run run =
      e2e::RunExact(e2e::HelperPath(), e2e::Quoted(e2e::HelperPath()) + " DeleteSaved", 60000, outside_.c_str());

  if (hadValue)
    RegSetValueExA(key, "Personal", 0, savedType, saved, savedSize);
  else
    RegDeleteValueA(key, "Personal");
  RegCloseKey(key);

  EXPECT_NE(S_OK, status) << "the redirection should make the shell fail: " << reported;
  EXPECT_CLEAN_EXIT(run);
  EXPECT_THAT(e2e::Tree(outside_), ElementsAre("Quorvane Halvenstrand", "Quorvane Halvenstrand\\saver.dat"));
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

// Names past 260 characters in all can only be made with the long-path prefix.
void MakeLong(const std::string& path, bool folder) {
  std::wstring wide(L"\\\\?\\");
  for (char c : path) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  if (folder) {
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
  } else {
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
  }
}

// An entry whose path does not fit goes by its short name; one that no
// name can reach stays with its folder, and the run ends.
TEST_F(DeleteSavedRun, OverlongEntriesGoByShortNameOrStay) {
  Folder("");
  File("short.sav");
  std::string tooLong(260 - static_cast<int>(saved_.size()), 'n');  // its path is 261 characters
  MakeLong(In(tooLong), true);
  MakeLong(In(tooLong + "\\inner.sav"), false);
  // With its backslash this folder's path is 255 characters: no name inside fits.
  std::string full(254 - static_cast<int>(saved_.size()), 'f');
  Folder(full);
  MakeLong(In(full + "\\inner-data.sav"), false);
  RunDeleteSaved();
  EXPECT_THAT(e2e::Tree(saved_), ElementsAre(full, full + "\\inner-data.sav"));
}

TEST_F(DeleteSavedRun, AFileHeldOpenByAnotherProcessStaysAndTheRunEnds) {
  Folder("");
  Folder("logs");
  File("logs\\busy.log");
  File("logs\\old.log");
  File("done.sav");
  HANDLE held =
      CreateFileA(In("logs\\busy.log").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  RunDeleteSaved();
  CloseHandle(held);
  EXPECT_THAT(e2e::Tree(saved_), ElementsAre("logs", "logs\\busy.log"));
}

}  // namespace
