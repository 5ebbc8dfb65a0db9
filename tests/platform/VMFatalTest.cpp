#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include "VMFatal.h"

namespace {

TEST(VMFatalDeathTest, EndsWithCode1AfterFlushingStandardOutput) {
  // Standard output goes to the captured error stream; the text is still
  // in the stream's buffer when the fatal error comes.
  EXPECT_EXIT(
      {
        dup2(2, 1);
        std::fputs("pending output", stdout);
        _VM_fatalError("not shown");
      },
      ::testing::ExitedWithCode(1), "^pending output$");
}

}  // namespace
