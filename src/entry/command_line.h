#pragma once

// The command line less the program's own path and the blanks after it.
// A null command line gives an empty tail.
const char* CommandTail(const char* commandLine);

// Runs the verb the tail names, if any; always 0, the exit code.
int RunCommand(const char* tail);
