// Helpers for the end-to-end tests: start SaverHelper.exe with exact
// command-line bytes and look at what it left behind.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// The folder of this test program, with a trailing backslash.
inline std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.rfind('\\') + 1);
}

// SaverHelper.exe beside this program, or the one SAVERHELPER_EXE names
// (the same suite then tests another build of it). A Unix path is taken
// through Wine's drive Z:.
inline std::string HelperPath() {
  char other[MAX_PATH];
  DWORD length = GetEnvironmentVariableA("SAVERHELPER_EXE", other, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ProgramFolder() + "SaverHelper.exe";
  std::string path = other;
  if (path[0] == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
  return path;
}

inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

struct Run {
  bool started;
  bool finished;
  DWORD exitCode;
  DWORD milliseconds;
};

// Starts program with commandLine exactly as given (no re-quoting) and waits.
inline Run RunExact(const std::string& program, const std::string& commandLine, DWORD timeoutMs = 60000,
                    const char* folder = nullptr) {
  Run run{false, false, 0xdeadbeef, 0};
  std::string buffer = commandLine;
  buffer.push_back('\0');
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  DWORD start = GetTickCount();
  if (!CreateProcessA(program.c_str(), &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process))
    return run;
  run.started = true;
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    run.finished = true;
    GetExitCodeProcess(process.hProcess, &run.exitCode);
  } else {
    TerminateProcess(process.hProcess, 99);
  }
  run.milliseconds = GetTickCount() - start;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

inline Run RunHelper(const std::string& commandLine) { return RunExact(HelperPath(), commandLine); }

// Checks a run ended by itself with exit code 0; reports the caller's line.
#define EXPECT_CLEAN_EXIT(run)                            \
  do {                                                    \
    const ::e2e::Run& run_ = (run);                       \
    EXPECT_TRUE(run_.started) << "CreateProcessA failed"; \
    EXPECT_TRUE(run_.finished) << "did not end in time";  \
    EXPECT_EQ(0u, run_.exitCode);                         \
  } while (0)

#define ROW_TRACE(row) SCOPED_TRACE(::testing::Message() << "table row at line " << (row).line)

}  // namespace e2e
