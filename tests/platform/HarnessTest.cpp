// The optional test harness library that rewrites the command line.
#include "tvlib/platform/process/Harness.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Harness, HookReplacesTheCommandLine) {
  const char* commandLine = "original";
  EXPECT_EQ(LoadTestHarness(TV_TEST_HARNESS_FOLDER, &commandLine), 0x5eedu);
  EXPECT_STREQ(commandLine, "--multiple replaced-by-harness");
}

TEST(Harness, MissingLibraryIsNoError) {
  const char* commandLine = "original";
  EXPECT_EQ(LoadTestHarness("/nonexistent/", &commandLine), 0u);
  EXPECT_STREQ(commandLine, "original");
}
