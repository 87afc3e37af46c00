#include "actions/saver_window.h"

#include <string.h>

#include "support/ascii_fold.h"

WindowSearch windowSearch;

int PLATFORM_API MatchWindowProc(platform::Window window, intptr_t) {
  char className[64];
  char title[64];
  memset(className, 0, sizeof className);
  memset(title, 0, sizeof title);
  platform::GetWindowTextA(window, title, sizeof title);
  platform::GetClassNameA(window, className, sizeof className);
  bool classMatches = !windowSearch.wantedClass || EqualsAsciiFolded(className, windowSearch.wantedClass);
  bool titleMatches = !windowSearch.wantedTitle || EqualsAsciiFolded(title, windowSearch.wantedTitle);
  if (classMatches && titleMatches) {
    windowSearch.found = window;
    return 0;
  }
  // One child enumeration per top-level window already delivers every
  // descendant; starting more from the descendants would visit deep windows
  // again and again.
  if (windowSearch.inTopLevel) {
    windowSearch.inTopLevel = false;
    platform::EnumChildWindows(window, MatchWindowProc, 0);
    windowSearch.inTopLevel = true;
  }
  return 1;
}

platform::Window FindAppWindow(const char* className, const char* title, bool activate) {
  windowSearch.wantedClass = className;
  windowSearch.wantedTitle = title;
  windowSearch.found = platform::FindWindowExA(nullptr, nullptr, className, title);
  if (!windowSearch.found) {
    windowSearch.inTopLevel = true;
    platform::EnumWindows(MatchWindowProc, 0);
    windowSearch.inTopLevel = false;
  }
  platform::Window found = windowSearch.found;
  if (!found) return nullptr;

  uint32_t foregroundThread = platform::GetWindowThreadProcessId(platform::GetForegroundWindow());
  if (foregroundThread == platform::GetWindowThreadProcessId(found) && !platform::IsIconic(found)) return found;

  platform::Window popup = platform::GetLastActivePopup(found);
  if (!activate) return popup;
  if (platform::IsIconic(popup)) platform::ShowWindow(popup, platform::kSwRestore);
  platform::BringWindowToTop(popup);
  platform::SetForegroundWindow(popup);
  return popup;
}

void LaunchClose() {
  platform::Window saver = FindAppWindow("QV D3D Window", "Quorvane Halvenstrand", true);
  if (saver) platform::SendMessageA(saver, kCloseRequest, 0, 0);
}
