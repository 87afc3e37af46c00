// The process entry. The runtime's own command-line argument follows other
// quoting rules, so the tail is taken from the process command line here.
#include "entry/command_line.h"
#include "platform/platform.h"

extern "C" int __stdcall WinMain(void*, void*, char*, int) {
  return RunCommand(CommandTail(platform::GetCommandLineA()));
}
