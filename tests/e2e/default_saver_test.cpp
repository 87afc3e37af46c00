// DefaultSaver on the real executable: exact command lines in, the registry
// value read back.
#include "e2e.h"

#include <string>

namespace {

const char kDesktop[] = "Control Panel\\Desktop";
const char kValue[] = "SCRNSAVE.EXE";
const char kSentinel[] = "sentinel, left alone";

struct Stored {
  LONG status;
  DWORD type;
  DWORD size;
  std::string bytes;
};

Stored ReadSaverValue() {
  Stored stored{0, 0xdeadbeef, 0, ""};
  HKEY key = nullptr;
  stored.status = RegOpenKeyExA(HKEY_CURRENT_USER, kDesktop, 0, KEY_READ, &key);
  if (stored.status != ERROR_SUCCESS) return stored;
  char data[600];
  memset(data, 0xcc, sizeof data);  // guard bytes: only what the call writes counts
  stored.size = sizeof data;
  stored.status = RegQueryValueExA(key, kValue, nullptr, &stored.type, reinterpret_cast<BYTE*>(data), &stored.size);
  if (stored.status == ERROR_SUCCESS) stored.bytes.assign(data, stored.size);
  RegCloseKey(key);
  return stored;
}

void WriteSentinel() {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_CURRENT_USER, kDesktop, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(kSentinel), sizeof kSentinel));
  RegCloseKey(key);
}

std::string ExpectedPath() {
  char windows[MAX_PATH];
  UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
  std::string path(windows, length);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + "Halven~1.scr";
}

struct CommandRow {
  int line;
  std::string commandLine;
  bool selects;
};

// The user's own saver value, put back after the tests (on Windows itself
// these tests run against the real user's registry).
class UserSaverValue : public ::testing::Environment {
 public:
  void SetUp() override {
    Stored stored = ReadSaverValue();
    had_ = stored.status == ERROR_SUCCESS;
    saved_ = stored;
  }
  void TearDown() override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktop, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (had_) {
      RegSetValueExA(key, kValue, 0, saved_.type, reinterpret_cast<const BYTE*>(saved_.bytes.data()), saved_.size);
    } else {
      RegDeleteValueA(key, kValue);
    }
    RegCloseKey(key);
  }

 private:
  bool had_ = false;
  Stored saved_;
};
::testing::Environment* const userSaverValue = ::testing::AddGlobalTestEnvironment(new UserSaverValue);

TEST(DefaultSaver, WritesTheSaverPathForExactlyTheVerb) {
  const std::string exe = e2e::HelperPath();
  const std::string quoted = e2e::Quoted(exe);
  const CommandRow rows[] = {
      {__LINE__, quoted + " DefaultSaver", true},
      {__LINE__, quoted + " defaultsaver", true},
      {__LINE__, quoted + " DEFAULTSAVER", true},
      {__LINE__, quoted + "    \t DefaultSaver", true},
      {__LINE__, " DefaultSaver", true},  // empty first token: the first word is the tail
      {__LINE__, "\"C:\\Program Files\\Quorvane\\Saver Helper.exe\" DefaultSaver", true},
      {__LINE__, "C:\\a\"b c\"d.exe DefaultSaver", true},
      {__LINE__, quoted, false},
      {__LINE__, quoted + " ", false},
      {__LINE__, quoted + " DefaultSaver ", false},
      {__LINE__, quoted + " \"DefaultSaver\"", false},
      {__LINE__, quoted + " /DefaultSaver", false},
      {__LINE__, quoted + " Default Saver", false},
      {__LINE__, quoted + " DefaultSaverX", false},
      {__LINE__, quoted + " DefaultSaver DeleteSaved", false},
      {__LINE__, "\"C:\\x y.exe DefaultSaver", false},  // unclosed quote: empty tail
      {__LINE__, quoted + " DefaultSaver" + std::string(288, ' '), false},
      {__LINE__, quoted + " Defaul\xd4Saver", false},
  };
  const std::string expected = ExpectedPath();
  for (const CommandRow& row : rows) {
    ROW_TRACE(row);
    WriteSentinel();
    e2e::Run run = e2e::RunHelper(row.commandLine);
    EXPECT_CLEAN_EXIT(run);
    Stored stored = ReadSaverValue();
    ASSERT_EQ(ERROR_SUCCESS, stored.status);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored.type);
    if (row.selects) {
      EXPECT_EQ(expected.size() + 1, stored.size);  // the terminator is counted
      EXPECT_EQ(expected + std::string(1, '\0'), stored.bytes);
    } else {
      EXPECT_EQ(std::string(kSentinel, sizeof kSentinel), stored.bytes);
    }
  }
}

TEST(DefaultSaver, OtherVerbsLeaveTheValueAlone) {
  for (const char* verb : {"LaunchClose", "DeleteSaved"}) {
    SCOPED_TRACE(verb);
    WriteSentinel();
    EXPECT_CLEAN_EXIT(e2e::RunHelper(e2e::Quoted(e2e::HelperPath()) + " " + verb));
    EXPECT_EQ(std::string(kSentinel, sizeof kSentinel), ReadSaverValue().bytes);
  }
}

}  // namespace
