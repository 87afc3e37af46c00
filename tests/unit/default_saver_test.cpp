#include "actions/default_saver.h"

#include <string.h>

#include "sim_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class RegistryKeyTest : public SimTest {};

platform::Key FakeKey(uintptr_t value) { return reinterpret_cast<platform::Key>(value); }

bool AllZero(const char* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i)
    if (bytes[i]) return false;
  return true;
}

TEST_F(RegistryKeyTest, AttachKeepsTheInvariant) {
  const std::string longName = Repeat('k', 300);
  const struct {
    int line;
    platform::Key handle;
    const char* subkey;
    bool rootKept;
    std::string expectedSubkey;
  } rows[] = {
      {__LINE__, FakeKey(0x42), "Control Panel\\Desktop", true, "Control Panel\\Desktop"},
      {__LINE__, nullptr, "Control Panel\\Desktop", false, ""},
      {__LINE__, FakeKey(0x42), nullptr, true, ""},
      {__LINE__, FakeKey(0x42), longName.c_str(), true, Repeat('k', 259)},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    RegistryKey key;
    key.Attach(row.handle, platform::CurrentUserRoot(), row.subkey);
    EXPECT_EQ(row.handle, key.Handle());
    EXPECT_EQ(row.rootKept ? platform::CurrentUserRoot() : nullptr, key.Root());
    EXPECT_EQ(row.expectedSubkey, key.Subkey());
    size_t length = row.expectedSubkey.size();
    EXPECT_TRUE(AllZero(key.Subkey() + length, RegistryKey::kSubkeyCapacity - length));
    key.Attach(nullptr, nullptr, nullptr);  // hand the fake handle back before destruction
  }
}

TEST_F(RegistryKeyTest, CloseOfAnEmptyKeyCallsNothing) {
  RegistryKey key;
  EXPECT_FALSE(key.Close());
  EXPECT_FALSE(key.Close());
  EXPECT_THAT(sim::Calls(), IsEmpty());
}

TEST_F(RegistryKeyTest, OpenCloseAndReopen) {
  RegistryKey key;
  ASSERT_TRUE(key.Open(platform::CurrentUserRoot(), "Control Panel\\Desktop"));
  ASSERT_TRUE(key.Open(platform::CurrentUserRoot(), "Control Panel"));
  EXPECT_STREQ("Control Panel", key.Subkey());
  EXPECT_EQ(1, sim::OpenKeys());
  EXPECT_THAT(sim::Calls(),
              ElementsAre("RegOpenKeyExA(HKCU, Control Panel\\Desktop, 0, 0xf003f, preset null)", "RegCloseKey(k100)",
                          "RegOpenKeyExA(HKCU, Control Panel, 0, 0xf003f, preset null)"));
  EXPECT_TRUE(key.Close());
  EXPECT_FALSE(key.Close());
  EXPECT_EQ(0, sim::OpenKeys());
  EXPECT_EQ(nullptr, key.Root());
  EXPECT_TRUE(AllZero(key.Subkey(), RegistryKey::kSubkeyCapacity));
}

TEST_F(RegistryKeyTest, AMissingSubkeyIsNotCreated) {
  RegistryKey key;
  EXPECT_FALSE(key.Open(platform::CurrentUserRoot(), "Software\\Missing"));
  EXPECT_EQ(nullptr, key.Handle());
  EXPECT_EQ(nullptr, key.Root());
  EXPECT_FALSE(key.Open(platform::CurrentUserRoot(), "Software\\Missing"));
  EXPECT_EQ(0, sim::OpenKeys());
}

TEST_F(RegistryKeyTest, DestructionClosesTheKey) {
  {
    RegistryKey key;
    key.Open(platform::CurrentUserRoot(), "Control Panel\\Desktop");
  }
  EXPECT_EQ(0, sim::OpenKeys());
  EXPECT_EQ("RegCloseKey(k100)", sim::Calls().back());
}

class SetDefaultSaverTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    sim::WriteValue("Control Panel\\Desktop", "SCRNSAVE.EXE", {sim::Value{1, std::string("sentinel\0", 9)}});
  }
  std::string Stored() {
    sim::Value value{0, ""};
    EXPECT_TRUE(sim::ReadValue("Control Panel\\Desktop", "SCRNSAVE.EXE", &value));
    EXPECT_EQ(1u, value.type);
    return value.bytes;
  }
};

TEST_F(SetDefaultSaverTest, WritesThePathWithItsTerminatorThenBroadcasts) {
  for (const char* windows : {"C:\\WINDOWS", "C:\\WINDOWS\\"}) {
    SCOPED_TRACE(windows);
    sim::Reset();
    sim::SetWindowsDirectory(windows);
    RegistryKey key;
    EXPECT_TRUE(key.SetDefaultSaver("Halven~1.scr"));
    EXPECT_THAT(sim::Calls(), ElementsAre("GetWindowsDirectoryA(260)",
                                          "RegOpenKeyExA(HKCU, Control Panel\\Desktop, 0, 0xf003f, preset null)",
                                          "RegSetValueExA(k100, SCRNSAVE.EXE, 0, 1, C:\\WINDOWS\\Halven~1.scr\\0, 24)",
                                          "BroadcastSystemMessageA(0, 8, 0x1a, 0, 0)"));
    EXPECT_EQ(std::string("C:\\WINDOWS\\Halven~1.scr\0", 24), Stored());
    // The key is still held when it returns.
    EXPECT_NE(nullptr, key.Handle());
    EXPECT_EQ(platform::CurrentUserRoot(), key.Root());
    EXPECT_STREQ("Control Panel\\Desktop", key.Subkey());
    EXPECT_EQ(1, sim::OpenKeys());
  }
}

TEST_F(SetDefaultSaverTest, FailuresWriteAndBroadcastNothing) {
  const struct {
    int line;
    long openStatus;
    bool keyMissing;
    long setStatus;
    bool held;
  } rows[] = {
      {__LINE__, 5, false, 0, false},  // access denied
      {__LINE__, 0, true, 0, false},   // no such key: it is not created
      {__LINE__, 0, false, 5, true},   // the write fails; the key stays held
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    SetUp();
    if (row.keyMissing) sim::RemoveKey("Control Panel\\Desktop");
    sim::FailKeyOpen(row.openStatus);
    sim::FailValueSet(row.setStatus);
    RegistryKey key;
    EXPECT_FALSE(key.SetDefaultSaver("Halven~1.scr"));
    EXPECT_EQ(row.held, key.Handle() != nullptr);
    EXPECT_EQ(row.held ? 1u : 0u, sim::CallsNamed({"RegSetValueExA"}).size());
    EXPECT_THAT(sim::CallsNamed({"BroadcastSystemMessageA"}), IsEmpty());
    sim::Value value{0, ""};
    EXPECT_EQ(!row.keyMissing, sim::ReadValue("Control Panel\\Desktop", "SCRNSAVE.EXE", &value));
    if (!row.keyMissing) {
      EXPECT_EQ(std::string("sentinel\0", 9), value.bytes);
    }
  }
}

// A path that cannot take the file name would name the Windows directory
// itself as the screen saver.
TEST_F(SetDefaultSaverTest, AWindowsDirectoryTooLongForTheNameWritesNothing) {
  const struct {
    int line;
    size_t length;  // of the Windows directory, without its backslash
    bool written;
  } rows[] = {
      {__LINE__, 247, true},  // 247 + 1 + 12 = 260
      {__LINE__, 248, false},
      {__LINE__, 259, false},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    SetUp();
    std::string windows = "C:\\" + Repeat('w', row.length - 3);
    sim::SetWindowsDirectory(windows);
    RegistryKey key;
    EXPECT_EQ(row.written, key.SetDefaultSaver("Halven~1.scr"));
    if (row.written) {
      EXPECT_EQ(windows + "\\Halven~1.scr" + std::string(1, '\0'), Stored());
      EXPECT_EQ(1u, sim::CallsNamed({"BroadcastSystemMessageA"}).size());
    } else {
      EXPECT_EQ(std::string("sentinel\0", 9), Stored());
      EXPECT_THAT(sim::CallsNamed({"Reg", "BroadcastSystemMessageA"}), IsEmpty());
    }
  }
}

TEST_F(SetDefaultSaverTest, TheActionClosesTheKeyAfterwards) {
  DefaultSaver();
  EXPECT_EQ(std::string("C:\\WINDOWS\\Halven~1.scr\0", 24), Stored());
  EXPECT_EQ(0, sim::OpenKeys());
  EXPECT_EQ("RegCloseKey(k100)", sim::Calls().back());
}

}  // namespace
