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

const unsigned kCloseRequest = platform::kWmApp + 15;

// The LaunchClose verb: the running saver is asked to close.
void LaunchClose();
