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
  // A window whose thread has stopped answering is left as it is: every
  // activation across threads needs that thread.
  if (!activate || platform::IsHungAppWindow(popup)) return popup;
  BringToForeground(popup);
  return popup;
}

// Restores, raises and activates a window of another thread without ever
// waiting on that thread for long: a plain show or raise across threads
// waits until the window's thread has done it, which a hung saver never does.
void BringToForeground(platform::Window window) {
  if (platform::IsIconic(window)) {
    platform::ShowWindowAsync(window, platform::kSwRestore);
    // A responsive saver is restored within milliseconds; it must be
    // restored before the close request reaches it.
    uint32_t start = platform::GetTickCount();
    while (platform::IsIconic(window) && platform::GetTickCount() - start < kRestoreWaitMs) platform::Sleep(10);
  }
  platform::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                         platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpAsyncWindowPos);
  platform::SetForegroundWindow(window);
}

void LaunchClose() {
  platform::Window saver = FindAppWindow("QV D3D Window", "Quorvane Halvenstrand", true);
  if (!saver || platform::IsHungAppWindow(saver)) return;
  uintptr_t reply = 0;
  platform::SendMessageTimeoutA(saver, kCloseRequest, 0, 0, platform::kSmtoAbortIfHung, kCloseRequestTimeoutMs, &reply);
}
