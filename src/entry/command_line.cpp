#include "entry/command_line.h"

#include "actions/default_saver.h"
#include "actions/saved_data.h"
#include "actions/saver_window.h"
#include "platform/platform.h"
#include "support/ascii_fold.h"
#include "support/path_text.h"

const char* CommandTail(const char* commandLine) {
  if (!commandLine) return "";
  const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
  bool quoted = false;
  while (*p) {
    if (*p == '"') {
      quoted = !quoted;
    } else if (*p <= ' ' && !quoted) {
      break;
    } else if (platform::IsDBCSLeadByte(*p) && p[1]) {
      ++p;  // the trail byte is part of the character, never the terminator
    }
    ++p;
  }
  while (*p >= 0x01 && *p <= 0x20) ++p;
  return reinterpret_cast<const char*>(p);
}

namespace {
struct Verb {
  const char* name;
  void (*action)();
};
const Verb kVerbs[] = {
    {"LaunchClose", LaunchClose},
    {"DeleteSaved", DeleteSaved},
    {"DefaultSaver", DefaultSaver},
};
}  // namespace

int RunCommand(const char* tail) {
  PathText command(tail);
  for (const Verb& verb : kVerbs)
    if (EqualsAsciiFolded(command.Text(), verb.name)) verb.action();
  return 0;
}
