#include "support/ascii_fold.h"

namespace {
unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }
}  // namespace

bool EqualsAsciiFolded(const char* first, const char* second) {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(first);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(second);
  while (*a && Fold(*a) == Fold(*b)) ++a, ++b;
  return Fold(*a) == Fold(*b);
}
