// LaunchClose on the real executable, against a fixture program that owns
// the saver's window and logs how the close request reached it.
#include "e2e.h"

#include <fstream>
#include <sstream>

namespace {

struct Process {
  PROCESS_INFORMATION info;
  bool started;
};

// Starts a fixture beside this program and waits until it says it is ready.
Process StartFixture(const std::string& program, const std::string& arguments, const std::string& readyEvent) {
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, readyEvent.c_str());
  std::string path = e2e::ProgramFolder() + program;
  std::string commandLine = e2e::Quoted(path) + " " + arguments;
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  Process process;
  process.started = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process.info) != 0;
  if (process.started) {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready, 20000)) << program << " not ready";
  }
  CloseHandle(ready);
  return process;
}

// Waits briefly for a process to end, ends it otherwise; true when it ended by itself.
bool Finish(Process& process, DWORD milliseconds) {
  if (!process.started) return false;
  bool ended = WaitForSingleObject(process.info.hProcess, milliseconds) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.info.hProcess, 1);
  WaitForSingleObject(process.info.hProcess, 5000);
  CloseHandle(process.info.hThread);
  CloseHandle(process.info.hProcess);
  process.started = false;
  return ended;
}

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string LaunchCloseCommand() { return e2e::Quoted(e2e::HelperPath()) + " LaunchClose"; }

// A name no other start uses, for the fixtures' ready events.
std::string UniqueSuffix() {
  static int round;
  return std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++round);
}

std::string SaverLog() { return TempPath("saver_fixture.log"); }

// Starts the stand-in saver with options; its log starts empty.
Process StartSaver(const std::string& options, const std::string& suffix) {
  DeleteFileA(SaverLog().c_str());
  return StartFixture("saver_fixture.exe", e2e::Quoted(SaverLog()) + " saver_ready_" + suffix + " " + options,
                      "saver_ready_" + suffix);
}

TEST(LaunchClose, WithoutTheSaverSendsNothingAndEndsPromptly) {
  ASSERT_EQ(nullptr, FindWindowA("QV D3D Window", nullptr));
  e2e::Run run = e2e::RunHelper(LaunchCloseCommand());
  EXPECT_CLEAN_EXIT(run);
  EXPECT_LT(run.milliseconds, 10000u);
}

struct Case {
  int line;
  const char* options;
  bool foregroundElsewhere;
  const char* expectedLog;
};

TEST(LaunchClose, TheSaverGetsTheCloseRequestRestoredAndInTheForeground) {
  const Case cases[] = {
      {__LINE__, "", false, "message=0x800f wParam=0 lParam=0 window=saver iconic=0 foreground=1\n"},
      {__LINE__, "minimised", false, "message=0x800f wParam=0 lParam=0 window=saver iconic=0 foreground=1\n"},
      {__LINE__, "minimised", true, "message=0x800f wParam=0 lParam=0 window=saver iconic=0 foreground=1\n"},
      {__LINE__, "popup", true, "message=0x800f wParam=0 lParam=0 window=popup iconic=0 foreground=1\n"},
      {__LINE__, "lower", false, "message=0x800f wParam=0 lParam=0 window=saver iconic=0 foreground=1\n"},
      {__LINE__, "deep", false, "message=0x800f wParam=0 lParam=0 window=deep iconic=0 foreground=1\n"},
      {__LINE__, "deep lower", false, "message=0x800f wParam=0 lParam=0 window=deep iconic=0 foreground=1\n"},
  };
  for (const Case& row : cases) {
    ROW_TRACE(row);
    std::string suffix = UniqueSuffix();
    Process saver = StartSaver(row.options, suffix);
    ASSERT_TRUE(saver.started);
    Process holder{};
    if (row.foregroundElsewhere) {
      holder = StartFixture("foreground_fixture.exe", "holder_ready_" + suffix, "holder_ready_" + suffix);
      // The setup must mean something: the foreground is in the holder's thread now.
      HWND held = FindWindowA("Foreground Holder", nullptr);
      EXPECT_EQ(held, GetForegroundWindow());
    }
    EXPECT_CLEAN_EXIT(e2e::RunHelper(LaunchCloseCommand()));
    EXPECT_TRUE(Finish(saver, 10000)) << "the saver fixture got no close request";
    EXPECT_EQ(row.expectedLog, ReadAll(SaverLog()));
    Finish(holder, 0);
  }
}

// A saver that stops pumping messages never holds the caller: the helper
// ends within its bounds (30 s for the request, 5 s for the restore), and
// a saver the system already counts as hung (after 5 s under Wine) is left
// alone at once.
TEST(LaunchClose, AHungSaverNeverHoldsTheCaller) {
  const DWORD kBoundMs = 30000 + 5000 + 10000;  // the helper's bounds and room for starting it
  const struct {
    int line;
    const char* options;
    DWORD hungFor;  // how long the saver has not pumped before the helper starts
    DWORD withinMs;
    bool handled;  // the saver logged the request
  } rows[] = {
      {__LINE__, "hung minimised", 0, kBoundMs, false},       // the restore awaited 5 s at most, no unbounded send
      {__LINE__, "hung popup", 0, kBoundMs, false},           // the popup gets the bounded request
      {__LINE__, "hung minimised", 7000, 15000, false},       // counted as hung: left alone at once
      {__LINE__, "hung", 7000, 15000, false},                 // the same, not minimised
      {__LINE__, "hang-after minimised", 0, kBoundMs, true},  // handles the request, then hangs
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    Process saver = StartSaver(row.options, UniqueSuffix());
    ASSERT_TRUE(saver.started);
    Sleep(row.hungFor);
    HWND window = FindWindowA("QV D3D Window", nullptr);
    if (row.hungFor > 6000) {
      EXPECT_TRUE(IsHungAppWindow(window)) << "the setup must mean something: the system counts it as hung";
    }
    e2e::Run run = e2e::RunExact(e2e::HelperPath(), LaunchCloseCommand(), 60000);
    EXPECT_CLEAN_EXIT(run);
    EXPECT_LT(run.milliseconds, row.withinMs);
    std::string logged = ReadAll(SaverLog());
    if (row.handled) {
      EXPECT_EQ("message=0x800f wParam=0 lParam=0 window=saver iconic=0 foreground=1\n", logged);
    } else {
      EXPECT_EQ("", logged);
    }
    Finish(saver, 0);
  }
}

}  // namespace
