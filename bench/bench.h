// Timing helpers shared by the benchmarks.
#pragma once

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

// Runs a whole process and returns its wall time in milliseconds. While it
// runs, our own windows' messages are pumped, as on a live desktop.
inline double RunMs(const std::string& program, std::string commandLine, DWORD* exitCode = nullptr) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(program.empty() ? nullptr : program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    fprintf(stderr, "cannot start %s\n", commandLine.c_str());
    exit(1);
  }
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  QueryPerformanceCounter(&end);
  if (exitCode) GetExitCodeProcess(process.hProcess, exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// This program's own path, and the folder it is in (with a backslash).
inline std::string SelfPath() {
  char path[MAX_PATH];
  return std::string(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
}
inline std::string SelfFolder() {
  std::string self = SelfPath();
  return self.substr(0, self.rfind('\\') + 1);
}

inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace bench
