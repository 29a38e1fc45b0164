#include "support/TextFileWriter.h"

#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(TextFileWriter, WritesExactBytesWithoutMarkOrTerminator)
{
    TempFolder folder;
    const std::string path = folder.File("out.txt");
    TextFileWriter writer;
    ASSERT_TRUE(writer.Open(path.c_str()));
    EXPECT_EQ(3u, writer.WriteString("abc"));
    EXPECT_EQ(1u, writer.WriteChar('"'));
    EXPECT_EQ(2u, writer.WriteNewLine());
    EXPECT_EQ(0u, writer.WriteString(""));
    EXPECT_EQ(4u, writer.WriteString("\x83\x5C\x95\x5C"));
    EXPECT_TRUE(writer.Whole());
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(std::string("abc\"\r\n\x83\x5C\x95\x5C"), ReadFileBytes(path));
}

TEST(TextFileWriter, LineOperations)
{
    TempFolder folder;
    const std::string path = folder.File("lines.ini");
    {
        TextFileWriter writer;
        ASSERT_TRUE(writer.Open(path.c_str()));
        writer.WriteIntLine("bitrate", 300);
        writer.WriteIntLine("bitrate", -1000);
        writer.WriteIntLine("OptFlag", 65535);
        writer.WriteTextLine("Player", "");
        writer.WriteTextLine("InputDir", "C:\\\x83\x5C");
    }
    EXPECT_EQ("bitrate=300\r\nbitrate=-1000\r\nOptFlag=65535\r\nPlayer=\r\nInputDir=C:\\\x83\x5C\r\n",
              ReadFileBytes(path));
}

TEST(TextFileWriter, OpenTruncatesAnExistingFile)
{
    TempFolder folder;
    const std::string path = folder.File("old.txt");
    WriteFileBytes(path, "a much longer text that was here before");
    TextFileWriter writer;
    ASSERT_TRUE(writer.Open(path.c_str()));
    EXPECT_EQ("", ReadFileBytes(path));
    writer.WriteString("new");
    writer.Close();
    EXPECT_EQ("new", ReadFileBytes(path));
}

TEST(TextFileWriter, OpenInMissingFolderFails)
{
    TempFolder folder;
    TextFileWriter writer;
    EXPECT_FALSE(writer.Open(folder.File("missing\\x.txt").c_str()));
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(0u, writer.WriteString("lost"));
    EXPECT_FALSE(writer.Whole());
}

TEST(TextFileWriter, HoldsTheFileUnshared)
{
    TempFolder folder;
    const std::string path = folder.File("held.txt");
    TextFileWriter writer;
    ASSERT_TRUE(writer.Open(path.c_str()));
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, other);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    EXPECT_TRUE(writer.Close());
    EXPECT_FALSE(writer.Close());
}

}  // namespace
