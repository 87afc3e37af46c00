// The names in a list, head first, for comparing with what a test expects.
#pragma once

#include <string>
#include <vector>

#include "support/name_list.h"

inline std::vector<std::string> NamesOf(const NameList& list) {
  std::vector<std::string> names;
  for (NameNode* node = list.Head(); node; node = node->Next()) names.push_back(node->Name());
  return names;
}
