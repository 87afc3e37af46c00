#pragma once

// Whole-text equality where A-Z equal a-z and every other byte must match:
// the user's locale and code page never change what a verb or name means.
bool EqualsAsciiFolded(const char* first, const char* second);
