// Times LaunchClose on a busy desktop without the saver (20 top-level
// windows, each holding a chain of 12 children) against one plain pass over
// the same windows reading each title and class once. Both are whole
// processes, start included; medians of several alternating rounds.
#include "bench.h"

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

  std::string helper = bench::SelfFolder() + "SaverHelper.exe";
  std::string self = bench::SelfPath();
  std::vector<double> launch, pass;
  DWORD exitCode = 0, windows = 0;
  for (int round = 0; round < rounds; ++round) {
    launch.push_back(bench::RunMs(helper, bench::Quoted(helper) + " LaunchClose", &exitCode));
    if (exitCode != 0) fprintf(stderr, "LaunchClose exit code %lu\n", exitCode);
    pass.push_back(bench::RunMs(self, bench::Quoted(self) + " --one-pass", &windows));
  }
  double launchMs = bench::Median(launch), passMs = bench::Median(pass);
  printf("window search, 20 top-level windows x 12 levels, no saver (%lu windows on the desktop), median of %d\n",
         windows, rounds);
  printf("  SaverHelper.exe LaunchClose: %8.1f ms\n", launchMs);
  printf("  one plain pass (a process):  %8.1f ms\n", passMs);
  printf("  ratio LaunchClose / one pass: %.2f (target 1.5 at most)\n", launchMs / passMs);
  return 0;
}
