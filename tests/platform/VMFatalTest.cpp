#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include "VMServices.h"

namespace {

TEST(VMFatalDeathTest, EndsWithCode1AfterFlushingStandardOutputAndWritingTheMessage) {
  // Standard output goes to the captured error stream; the text is still
  // in the stream's buffer when the fatal error comes, and comes before
  // the message.
  EXPECT_EXIT(
      {
        dup2(2, 1);
        std::fputs("pending output\n", stdout);
        _VM_fatalError("Monitor state is invalid in _VM_unlock()!");
      },
      ::testing::ExitedWithCode(1), "^pending output\nfatal error: Monitor state is invalid in _VM_unlock\\(\\)!\n$");
  // A message with its own line break gets no second one.
  EXPECT_EXIT(_VM_fatalError("HAL_sleep() called on a thread without a platform record\n"),
              ::testing::ExitedWithCode(1), "record\n$");
}

}  // namespace
