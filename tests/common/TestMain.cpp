#include <gtest/gtest.h>

#include <windows.h>

// First of every suite: with another code page every Japanese test would pass or
// fail for the wrong reason.
TEST(Platform, CodePagesAre932)
{
    ASSERT_EQ(932u, GetACP());
    ASSERT_EQ(932u, GetOEMCP());
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
