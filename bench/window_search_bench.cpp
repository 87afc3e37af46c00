// Times LaunchClose on a busy desktop without the saver (20 top-level
// windows, each holding a chain of 12 children) against one plain pass over
// the same windows reading each title and class once. Both are whole
// processes, start included; medians of several alternating rounds.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

int examined;

BOOL CALLBACK ReadOne(HWND window, LPARAM) {
  char title[64], className[64];
  GetWindowTextA(window, title, sizeof title);
  GetClassNameA(window, className, sizeof className);
  ++examined;
  return TRUE;
}

BOOL CALLBACK ReadTree(HWND window, LPARAM parameter) {
  ReadOne(window, parameter);
  EnumChildWindows(window, ReadOne, 0);
  return TRUE;
}

std::string Folder() {
  char path[MAX_PATH];
  std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return self.substr(0, self.rfind('\\') + 1);
}

double RunMs(const std::string& program, std::string commandLine, DWORD* exitCode) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    fprintf(stderr, "cannot start %s\n", program.c_str());
    exit(1);
  }
  // Pump our own windows' messages while waiting, as a live desktop would.
  while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  QueryPerformanceCounter(&end);
  GetExitCodeProcess(process.hProcess, exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && !strcmp(argv[1], "--one-pass")) {
    EnumWindows(ReadTree, 0);
    return examined;
  }
  int rounds = argc > 1 ? atoi(argv[1]) : 9;

  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Bench Window";
  RegisterClassA(&windowClass);
  for (int t = 0; t < 20; ++t) {
    HWND parent = CreateWindowExA(0, "Bench Window", "Bench top-level window", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    for (int level = 0; level < 12; ++level)
      parent = CreateWindowExA(0, "Bench Window", "Bench child window", WS_CHILD, 0, 0, 100, 100, parent, nullptr,
                               windowClass.hInstance, nullptr);
  }

  std::string folder = Folder();
  std::string helper = folder + "SaverHelper.exe";
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::vector<double> launch, pass;
  DWORD exitCode = 0, windows = 0;
  for (int round = 0; round < rounds; ++round) {
    launch.push_back(RunMs(helper, "\"" + helper + "\" LaunchClose", &exitCode));
    if (exitCode != 0) fprintf(stderr, "LaunchClose exit code %lu\n", exitCode);
    pass.push_back(RunMs(self, std::string("\"") + self + "\" --one-pass", &windows));
  }
  double launchMs = Median(launch), passMs = Median(pass);
  printf("window search, 20 top-level windows x 12 levels, no saver (%lu windows on the desktop), median of %d\n",
         windows, rounds);
  printf("  SaverHelper.exe LaunchClose: %8.1f ms\n", launchMs);
  printf("  one plain pass (a process):  %8.1f ms\n", passMs);
  printf("  ratio LaunchClose / one pass: %.2f (target 1.5 at most)\n", launchMs / passMs);
  return 0;
}
