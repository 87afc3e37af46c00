// Shared between the parts of the simulated back end.
#pragma once

#include <string>

namespace sim {

void Record(const char* format, ...) __attribute__((format(printf, 1, 2)));
const char* Text(const char* text);
char FoldAscii(char c);
std::string Fold(const std::string& text);
void ResetFiles();

}  // namespace sim
