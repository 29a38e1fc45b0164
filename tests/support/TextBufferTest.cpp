#include "support/TextBuffer.h"

#include "common/TestFiles.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// ソ and 表 end in the trail byte 0x5C, the backslash; ﾏ is a one-byte kana.
const char kSo[] = "\x83\x5C";
const char kHyo[] = "\x95\x5C";

TEST(TextBufferCapacity, ConstructionClasses)
{
    EXPECT_EQ(63, TextBuffer().Capacity());
    EXPECT_EQ(64, TextBuffer().BufferSize());
    const struct { int request, capacity; } cases[] = {
        {0, 63}, {63, 63}, {64, 127}, {127, 127}, {128, 255}, {255, 255},
        {256, 511}, {511, 511}, {512, 512}, {3000, 3000},
    };
    for (const auto& c : cases) {
        TextBuffer buffer(c.request);
        EXPECT_EQ(c.capacity, buffer.Capacity()) << "request " << c.request;
        EXPECT_TRUE(buffer.IsEmpty());
        EXPECT_EQ('\0', buffer.Data()[buffer.Capacity()]);
    }
}

TEST(TextBufferCapacity, GrowthClassesNeverGiveSixtyThree)
{
    const struct { int start, reserve, capacity; } cases[] = {
        {0, 10, 63}, {0, 63, 63}, {0, 64, 127}, {0, 127, 127}, {0, 128, 255}, {0, 500, 511},
        {511, 511, 511}, {511, 512, 1023}, {0, 1024, 2047}, {0, 2047, 2047}, {0, 2048, 2048},
        {1023, 600, 1023},
    };
    for (const auto& c : cases) {
        TextBuffer buffer(c.start);
        buffer.Reserve(c.reserve);
        EXPECT_EQ(c.capacity, buffer.Capacity()) << c.start << " reserve " << c.reserve;
    }
}

TEST(TextBufferCapacity, TextSurvivesGrowth)
{
    TextBuffer buffer;
    buffer.Assign("abc");
    buffer.Reserve(1000);
    EXPECT_STREQ("abc", buffer.Data());
    EXPECT_EQ(1023, buffer.Capacity());
}

TEST(TextBufferCapacity, AssignAndAppendGrowToFit)
{
    std::string long300(300, 'a');
    TextBuffer buffer;
    buffer.Assign(long300.c_str());
    EXPECT_EQ(long300, buffer.Data());
    buffer.Append(long300.c_str());
    EXPECT_EQ(1023, buffer.Capacity());
    EXPECT_EQ(600, buffer.Length());
}

TEST(TextBufferCapacity, ReleaseLeavesNothing)
{
    TextBuffer buffer(300);
    buffer.Release();
    EXPECT_EQ(nullptr, buffer.Data());
    EXPECT_EQ(0, buffer.Capacity());
    buffer.Release();
}

TEST(TextBufferPaths, FindLastWalksCharacters)
{
    TextBuffer buffer;
    buffer.Assign("C:\\a\\b");
    EXPECT_EQ(4, buffer.FindLast('\\'));
    EXPECT_EQ(-1, buffer.FindLast('/'));
    buffer.Assign("");
    EXPECT_EQ(-1, buffer.FindLast('\\'));
    buffer.Assign((std::string("C:\\") + kSo + kHyo).c_str());
    EXPECT_EQ(2, buffer.FindLast('\\'));
    buffer.Assign(kSo);
    EXPECT_EQ(-1, buffer.FindLast('\\'));
}

TEST(TextBufferPaths, CutToFolder)
{
    const struct { std::string in, out; } cases[] = {
        {"C:\\Video\\clip.avi", "C:\\Video"},
        {"C:\\clip.avi", "C:"},
        {"clip.avi", ""},
        {"D:/movies/clip.avi", "D:/movies"},
        {"C:\\x/y\\z", "C:\\x/y"},
        {"C:\\x\\y/z", "C:\\x\\y"},
        {std::string("C:\\") + kSo + "\\" + kHyo + ".avi", std::string("C:\\") + kSo},
        {std::string("C:\\") + kSo + kHyo + ".avi", "C:"},
        {std::string(kHyo) + ".avi", ""},
    };
    for (const auto& c : cases) {
        TextBuffer buffer;
        buffer.Assign(c.in.c_str());
        buffer.CutToFolder();
        EXPECT_EQ(c.out, buffer.Data()) << c.in;
    }
}

TEST(TextBufferPaths, GetFileName)
{
    const struct { std::string in, out; } cases[] = {
        {"C:\\Tools\\player.exe", "player.exe"},
        {"player.exe", "player.exe"},
        {"C:/Tools/player.exe", "player.exe"},
        {"C:\\Tools\\", ""},
        {std::string("C:\\") + kSo + "\\" + kHyo + kSo + ".exe", std::string(kHyo) + kSo + ".exe"},
        {std::string(kSo) + kHyo + ".exe", std::string(kSo) + kHyo + ".exe"},
    };
    for (const auto& c : cases) {
        TextBuffer path, name;
        path.Assign(c.in.c_str());
        path.GetFileName(name);
        EXPECT_EQ(c.out, name.Data()) << c.in;
    }
}

TEST(TextBufferPaths, CopyTailCountsAndGrows)
{
    TextBuffer text, tail;
    text.Assign(std::string(200, 'b').insert(0, "aa").c_str());
    text.CopyTail(tail, 2, -1);
    EXPECT_EQ(std::string(200, 'b'), tail.Data());
    EXPECT_EQ(255, tail.Capacity());
    text.CopyTail(tail, 1, 2);
    EXPECT_STREQ("ab", tail.Data());
    text.CopyTail(tail, 199, 50);
    EXPECT_STREQ("bbb", tail.Data());
}

TEST(TextBufferPaths, ReplaceCharSkipsTrailBytes)
{
    const struct { std::string in; char from, to; std::string out; } cases[] = {
        {"320x240", 'x', ':', "320:240"},
        {"640x480x2", 'x', ':', "640:480:2"},
        {"320X240", 'x', ':', "320X240"},
        // 0x83 0x78 is one character (ヘ); its trail byte is not an x.
        {"\x83\x78x1", 'x', ':', "\x83\x78:1"},
        {std::string(kSo) + "\\" + kHyo, '\\', '/', std::string(kSo) + "/" + kHyo},
    };
    for (const auto& c : cases) {
        TextBuffer buffer;
        buffer.Assign(c.in.c_str());
        buffer.ReplaceChar(c.from, c.to);
        EXPECT_EQ(c.out, buffer.Data()) << c.in;
    }
}

TEST(TextBufferPaths, ReplaceByNulCutsAList)
{
    TextBuffer buffer;
    buffer.Assign("11025/22050/44100/");
    buffer.ReplaceChar('/', '\0');
    EXPECT_EQ(std::string("11025\0" "22050\0" "44100\0", 19), std::string(buffer.Data(), 19));
}

TEST(ProgramFolder, PathsBesideTheExecutable)
{
    const std::string folder = ExecutableFolder();

    TextBuffer buffer;
    ASSERT_TRUE(GetWrittenProgramFolder(buffer));
    EXPECT_EQ(folder, buffer.Data());

    TextBuffer path;
    ASSERT_TRUE(GetProgramFile("~enc.bat", path));
    EXPECT_EQ(folder + "\\~enc.bat", path.Data());
    GetProgramFile(nullptr, path);
    EXPECT_EQ(folder, path.Data());
}

TEST(JapaneseTexts, LiteralsAreCp932)
{
    // These bytes are what the compiler must make of the program's UTF-8 sources.
    EXPECT_EQ(std::string("\x83\x5C"), "ソ");
    EXPECT_EQ(std::string("\x95\x5C"), "表");
    EXPECT_EQ(std::string("\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC\x82\xF0\x8E\x77\x92\xE8\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2"),
              "ファイル名を指定してください");
    EXPECT_EQ(std::string("\x8C\xC5\x92\xE8\xCB\xDE\xAF\xC4\xDA\xB0\xC4 (1pass-CBR)"), "固定ﾋﾞｯﾄﾚｰﾄ (1pass-CBR)");
    EXPECT_EQ(std::string("\x81\x69\x8D\x82 0 \x81\x60 31 \x92\xE1\x81\x6A"), "（高 0 ～ 31 低）");
}

}  // namespace
