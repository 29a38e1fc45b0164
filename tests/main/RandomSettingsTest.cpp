#include "ui/main/MainDialog.h"

#include "common/Reliability.h"
#include "common/TestFiles.h"
#include "job/EncodeSettings.h"
#include "settings/SettingsFile.h"
#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Random {
public:
    explicit Random(unsigned seed) : state(seed) {}
    unsigned Next(unsigned range)
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    }
    bool Chance(unsigned percent) { return Next(100) < percent; }

private:
    unsigned state;
};

std::string RandomCase(Random& random, std::string text)
{
    for (char& c : text) {
        if (!random.Chance(30)) continue;
        int letter = static_cast<unsigned char>(c);
        c = static_cast<char>(std::isupper(letter) ? std::tolower(letter) : std::toupper(letter));
    }
    return text;
}

std::string RandomValue(Random& random)
{
    switch (random.Next(8)) {
    case 0: return std::to_string(static_cast<int>(random.Next(2000)) - 1000);
    case 1: return std::to_string(4000000000u + random.Next(100000));
    case 2: return "-" + std::to_string(random.Next(2147483647u));
    case 3: return std::string(1 + random.Next(3000), static_cast<char>('a' + random.Next(26)));
    case 4: {
        std::string junk;
        for (unsigned n = random.Next(40); n > 0; --n) {
            char c = static_cast<char>(1 + random.Next(255));
            if (c != '\r' && c != '\n') junk += c;
        }
        return junk;
    }
    case 5: return "\x83\x5C\x95\x5C\\\x83\x5C";
    case 6: return "";
    default: return std::to_string(random.Next(40));
    }
}

// Keys and sections of the settings file and some of nobody's, in any order and case,
// with junk, a byte-order mark, over-long lines and missing pieces.
std::string RandomSettingsFile(Random& random)
{
    static const char* const sections[] = {"Brumweld", "Video", "Audio", "Other"};
    static const char* const keys[] = {"WinX", "WinY", "OptFlag", "InputDir", "OutputDir", "Player", "mode",
                                       "bitrate", "quality", "framerate", "bSize", "size", "channel", "compqua",
                                       "samprate", "junk"};
    std::string file = random.Chance(10) ? "\xEF\xBB\xBF" : "";
    for (unsigned s = random.Next(8); s > 0; --s) {
        file += "[" + RandomCase(random, sections[random.Next(4)]) + "]\r\n";
        for (unsigned k = random.Next(12); k > 0; --k) {
            if (random.Chance(5)) file += std::string(random.Next(6000), 'z') + "\r\n";
            if (random.Chance(5)) file += "; comment\r\n";
            file += RandomCase(random, keys[random.Next(16)]) + (random.Chance(20) ? " = " : "=") + RandomValue(random);
            file += random.Chance(10) ? "\n" : "\r\n";
        }
    }
    if (random.Chance(10)) file.resize(random.Next(static_cast<unsigned>(file.size()) + 1));
    return file;
}

bool IsNumber(const std::string& text)
{
    if (text.empty()) return false;
    size_t start = text[0] == '-' ? 1 : 0;
    return start < text.size() && text.find_first_not_of("0123456789", start) == std::string::npos;
}

// What a save must always be: the 19 lines, every value inside what the controls allow.
std::string LayoutFault(const std::string& file)
{
    struct Line { const char* key; long long min, max; int maxText; };
    const long long any = 0x7FFFFFFFLL, anyLow = -0x80000000LL;
    // The folders and the player are kept whole, as long as the file held them.
    const int whole = 1 << 20;
    const Line layout[] = {
        {"[Brumweld]", 0, 0, -1}, {"WinX", anyLow, any, 0}, {"WinY", anyLow, any, 0}, {"OptFlag", 0, 7, 0},
        {"InputDir", 0, 0, whole}, {"OutputDir", 0, 0, whole}, {"Player", 0, 0, whole}, {"[Video]", 0, 0, -1},
        {"mode", -1, 2, 0}, {"bitrate", anyLow, any, 0}, {"quality", 0, 31, 0}, {"framerate", 0, 0, 8},
        {"bSize", 0, 1, 0}, {"size", 0, 0, 8}, {"[Audio]", 0, 0, -1}, {"channel", -1, 3, 0},
        {"bitrate", anyLow, any, 0}, {"compqua", 0, 9, 0}, {"samprate", -1, 2, 0},
    };
    size_t at = 0;
    for (const Line& line : layout) {
        size_t end = file.find("\r\n", at);
        if (end == std::string::npos) return std::string("missing line ") + line.key;
        std::string text = file.substr(at, end - at);
        at = end + 2;
        if (line.maxText < 0) {
            if (text != line.key) return "expected " + std::string(line.key) + ", got " + text;
            continue;
        }
        std::string prefix = std::string(line.key) + "=";
        if (text.compare(0, prefix.size(), prefix) != 0) return "expected key " + prefix + ", got " + text;
        std::string value = text.substr(prefix.size());
        if (line.maxText > 0) {
            if (static_cast<int>(value.size()) > line.maxText) return text + " is too long";
            continue;
        }
        if (!IsNumber(value)) return text + " is no number";
        long long number = std::atoll(value.c_str());
        if (number < line.min || number > line.max) return text + " is out of range";
    }
    return at == file.size() ? "" : "bytes after the last line";
}

TEST(RandomSettingsFiles, LoadFillStoreSaveKeepsTheLayoutAndLimits)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    const std::string path = ExecutableFolder() + "\\Brumweld.ini";
    const int count = reliability::CaseCount(2000);
    Random random(7121);
    int faults = 0;
    for (int i = 0; i < count; ++i) {
        const std::string input = RandomSettingsFile(random);
        WriteFileBytes(path, input);
        EncodeSettings settings;
        MainDialog window(settings);
        // Load, fill, store and save on the window made hidden from its template; closing
        // stores and saves again, as the program does.
        SetLastError(0);
        ASSERT_TRUE(window.CreateModeless(IDD_MAIN, nullptr)) << "case " << i << " error " << GetLastError();
        StoredPosition position;
        LoadSettingsFile(settings, position);
        window.FillControls();
        window.StoreControls();
        SaveSettingsFile(settings, position);
        DestroyWindow(window.GetHwnd());
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        const std::string fault = LayoutFault(ReadFileBytes(path));
        if (!fault.empty()) ++faults;
        EXPECT_EQ("", fault) << "case " << i << ", from:\n" << input.substr(0, 400);
    }
    DeleteFileA(path.c_str());
    reliability::BadInputTried(count);
    reliability::FaultSurvived(count - faults);
}

}  // namespace
