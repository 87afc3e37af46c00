// Every test starts in a fresh simulated Windows.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/simulated.h"

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override { sim::Reset(); }
};

// Names a table row by the line it stands on, so a failure points at it.
#define ROW_TRACE(row) SCOPED_TRACE(::testing::Message() << "table row at line " << (row).line)

inline std::string Repeat(char c, size_t count) { return std::string(count, c); }
