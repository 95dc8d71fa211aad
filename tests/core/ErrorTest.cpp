#include <gtest/gtest.h>

#include <string>

#include "engine/glimmer.h"
#include "tests/support/TestWorld.h"

TEST(Error, CodeZeroWritesExitedNormallyAndShutdownLines) {
    EXPECT_EXIT(
        {
            Error(0);
        },
        ::testing::ExitedWithCode(0), "");
}
