// Shared between the parts of the simulated back end.
#pragma once

#include <string>

namespace sim {

#if defined(__GNUC__)
#define SIM_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define SIM_PRINTF_FORMAT
#endif

void Record(const char* format, ...) SIM_PRINTF_FORMAT;
const char* Text(const char* text);
char FoldAscii(char c);
std::string Fold(const std::string& text);
void ResetFiles();

}  // namespace sim
