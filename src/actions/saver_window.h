#pragma once

#include "platform/platform.h"

// What FindAppWindow looks for, and its latest match; shared with the
// enumeration callback.
struct WindowSearch {
  const char* wantedClass;  // null: any class
  const char* wantedTitle;  // null: any title
  platform::Window found;
  bool inTopLevel;  // the callback is seeing top-level windows
};
extern WindowSearch windowSearch;

int PLATFORM_API MatchWindowProc(platform::Window window, intptr_t parameter);

// The matching window anywhere in the window tree, brought to the
// foreground when asked unless it is already active; returns it, or its
// last active popup, or null.
platform::Window FindAppWindow(const char* className, const char* title, bool activate);

// Restores, raises and activates window without waiting on its thread
// for more than kRestoreWaitMs.
void BringToForeground(platform::Window window);

const unsigned kCloseRequest = platform::kWmApp + 15;

// The longest the helper waits for the saver to handle its close request.
// A saver that responds handles it at once; one that has stopped pumping
// messages would otherwise hold the caller (an installer) for ever. Thirty
// seconds leave a busy saver time to save its state and finish, and the
// system gives up sooner anyway once it counts the window as hung.
const unsigned kCloseRequestTimeoutMs = 30000;
// The longest activation waits for a minimised saver to be restored.
const unsigned kRestoreWaitMs = 5000;

// The LaunchClose verb: the running saver is asked to close. A saver the
// system counts as hung is left alone, and no wait on it is unbounded.
void LaunchClose();
