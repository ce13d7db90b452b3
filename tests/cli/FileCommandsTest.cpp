#include "ToolRun.h"

#include <gtest/gtest.h>

namespace tevra::test {
namespace {

TEST(FileCommandsTest, UnknownCommandFailsWithMessage) {
    const ToolResult result = runTool({"no-such-command"});
    EXPECT_FALSE(result.timedOut);
    EXPECT_NE(result.exitStatus, 0);
    EXPECT_FALSE(result.err.empty());
}

} // namespace
} // namespace tevra::test
