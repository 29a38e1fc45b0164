#include "ui/main/resource.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// Stored control styles, each the sum of the flags the window needs.
const DWORD kLabel = 0x50020000;
const DWORD kFileEdit = 0x50810080;
const DWORD kNumberEdit = 0x50812080;
const DWORD kPushButton = 0x50010000;
const DWORD kDefaultButton = 0x50010001;
const DWORD kGroupBox = 0x50000007;
const DWORD kCheckBox = 0x50010003;
const DWORD kDropDownList = 0x50210003;
const DWORD kEditableCombo = 0x50210002;
const DWORD kUpDown = 0x500000B6;
static_assert(kLabel == (WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT), "label");
static_assert(kFileEdit == (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL),
              "file edit");
static_assert(kNumberEdit == (kFileEdit | ES_NUMBER), "number edit");
static_assert(kPushButton == (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON), "push button");
static_assert(kDefaultButton == (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON), "default button");
static_assert(kGroupBox == (WS_CHILD | WS_VISIBLE | BS_GROUPBOX), "group box");
static_assert(kCheckBox == (WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX), "check box");
static_assert(kDropDownList == (WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST), "list");
static_assert(kEditableCombo == (WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN), "combo");
static_assert(0x80CA00C0 == (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT),
              "dialog");
static_assert(kUpDown == (WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY |
                          UDS_ARROWKEYS | UDS_NOTHOUSANDS),
              "up-down");

const WORD kButton = 0x80;
const WORD kEdit = 0x81;
const WORD kStatic = 0x82;
const WORD kComboBox = 0x85;
const WORD kByName = 0;

struct ExpectedControl {
    int id;
    WORD classOrdinal;  // kByName: the class is stored by name, "msctls_updown32"
    DWORD style;
    short x, y, cx, cy;
    const char16_t* text;
};

const ExpectedControl kControls[] = {
    {-1, kStatic, kLabel, 7, 12, 33, 8, u"入力ﾌｧｲﾙ"},
    {IDC_INPUT_FILE, kEdit, kFileEdit, 47, 9, 159, 13, u""},
    {IDC_BROWSE_INPUT, kButton, kPushButton, 210, 9, 14, 14, u"..."},
    {-1, kStatic, kLabel, 7, 30, 33, 8, u"出力ﾌｧｲﾙ"},
    {IDC_OUTPUT_FILE, kEdit, kFileEdit, 47, 27, 159, 13, u""},
    {IDC_BROWSE_OUTPUT, kButton, kPushButton, 210, 27, 14, 14, u"..."},
    {-1, kButton, kGroupBox, 7, 49, 218, 82, u"ﾋﾞﾃﾞｵ"},
    {-1, kStatic, kLabel, 16, 68, 17, 8, u"ﾓｰﾄﾞ"},
    {IDC_VIDEO_MODE, kComboBox, kDropDownList, 42, 65, 100, 90, u""},
    {-1, kStatic, kLabel, 17, 89, 46, 8, u"ﾋﾞｯﾄﾚｰﾄ (kbps)"},
    {IDC_VIDEO_BITRATE, kEdit, kNumberEdit, 68, 86, 31, 14, u""},
    {-1, kStatic, kLabel, 113, 90, 16, 8, u"品質"},
    {IDC_VIDEO_QUALITY, kEdit, kNumberEdit, 136, 86, 26, 14, u""},
    {IDC_VIDEO_QUALITY_SPIN, kByName, kUpDown, 151, 80, 9, 20, u"Spin1"},
    {-1, kStatic, kLabel, 167, 90, 51, 8, u"（高 0 ～ 31 低）"},
    {-1, kStatic, kLabel, 17, 111, 32, 8, u"ﾌﾚｰﾑﾚｰﾄ"},
    {IDC_FRAME_RATE, kComboBox, kEditableCombo, 68, 108, 41, 70, u""},
    {-1, kButton, kGroupBox, 7, 135, 218, 76, u"ｵｰﾃﾞｨｵ"},
    {-1, kStatic, kLabel, 16, 152, 23, 8, u"ﾁｬﾝﾈﾙ"},
    {IDC_AUDIO_CHANNEL, kComboBox, kDropDownList, 46, 149, 58, 90, u""},
    {-1, kStatic, kLabel, 17, 172, 46, 8, u"ﾋﾞｯﾄﾚｰﾄ (kbps)"},
    {IDC_AUDIO_BITRATE, kEdit, kNumberEdit, 68, 169, 31, 14, u""},
    {-1, kStatic, kLabel, 110, 173, 31, 8, u"圧縮品質"},
    {IDC_COMP_QUALITY, kEdit, kNumberEdit, 145, 170, 24, 14, u""},
    {IDC_COMP_QUALITY_SPIN, kByName, kUpDown, 160, 164, 9, 20, u"Spin1"},
    {-1, kStatic, kLabel, 173, 174, 47, 8, u"（高 0 ～ 9 低）"},
    {-1, kStatic, kLabel, 17, 192, 42, 8, u"ｻﾝﾌﾟﾘﾝｸﾞﾚｰﾄ"},
    {IDC_SAMPLE_RATE, kComboBox, kDropDownList, 68, 189, 44, 70, u""},
    {IDC_RUN, kButton, kDefaultButton, 159, 217, 66, 22, u"実行"},
    {IDC_EXIT, kButton, kPushButton, 159, 245, 66, 22, u"終了"},
    {IDC_RESIZE, kButton, kCheckBox, 122, 109, 32, 12, u"ｻｲｽﾞ"},
    {IDC_FRAME_SIZE, kComboBox, kEditableCombo, 158, 108, 53, 70, u""},
    {IDC_WAIT_FOR_KEY, kButton, kCheckBox, 8, 219, 119, 12, u"変換終了後、ｷｰ入力待ちを行う"},
    {IDC_KEEP_BATCH, kButton, kCheckBox, 8, 235, 67, 12, u"batﾌｧｲﾙを残す"},
    {IDC_PLAY_AFTER, kButton, kCheckBox, 8, 251, 94, 12, u"変換後、ﾌﾟﾚｲﾔｰで再生する"},
    {IDC_CHOOSE_PLAYER, kButton, kPushButton, 103, 249, 43, 15, u"ﾌﾟﾚｲﾔｰ指定"},
};

// The identifiers every other part of the program uses; 1006 and 1007 are free.
TEST(ResourceIdentifiers, Values)
{
    EXPECT_EQ(101, IDD_MAIN);
    EXPECT_EQ(102, IDI_MAIN);
    EXPECT_EQ(1, IDS_FRAME_RATES);
    EXPECT_EQ(2, IDS_SAMPLE_RATES);
    EXPECT_EQ(3, IDS_FRAME_SIZES);
    EXPECT_EQ(10, IDS_OUTPUT_FILTER);
    const int ids[] = {IDC_INPUT_FILE, IDC_BROWSE_INPUT, IDC_OUTPUT_FILE, IDC_BROWSE_OUTPUT,
                       IDC_VIDEO_BITRATE, IDC_VIDEO_MODE, IDC_FRAME_RATE, IDC_AUDIO_CHANNEL,
                       IDC_AUDIO_BITRATE, IDC_COMP_QUALITY, IDC_COMP_QUALITY_SPIN, IDC_SAMPLE_RATE,
                       IDC_EXIT, IDC_VIDEO_QUALITY, IDC_VIDEO_QUALITY_SPIN, IDC_RUN, IDC_RESIZE,
                       IDC_FRAME_SIZE, IDC_WAIT_FOR_KEY, IDC_KEEP_BATCH, IDC_PLAY_AFTER,
                       IDC_CHOOSE_PLAYER};
    const int values[] = {1000, 1001, 1002, 1003, 1004, 1005, 1008, 1009, 1010, 1011, 1012,
                          1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023};
    ASSERT_EQ(sizeof(ids), sizeof(values));
    for (size_t i = 0; i < sizeof(ids) / sizeof(ids[0]); ++i) EXPECT_EQ(values[i], ids[i]) << i;
}

// The bytes of one resource of this executable in the Japanese language, or the one given.
std::string ResourceBytes(LPCSTR type, WORD name, WORD language = kJapanese)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(name), language);
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = static_cast<const char*>(LockResource(loaded));
    return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

// A name-or-ordinal field as stored.
struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::u16string name;
};

// Reads a dialog template front to back; every read past the end marks it broken.
class TemplateReader {
public:
    explicit TemplateReader(const std::string& bytes) : bytes(bytes) {}

    WORD Word()
    {
        WORD value = 0;
        Copy(&value, sizeof(value));
        return value;
    }
    DWORD Dword()
    {
        DWORD value = 0;
        Copy(&value, sizeof(value));
        return value;
    }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte()
    {
        BYTE value = 0;
        Copy(&value, sizeof(value));
        return value;
    }
    std::u16string Text()
    {
        std::u16string text;
        for (WORD c = Word(); c != 0 && !broken; c = Word()) text += static_cast<char16_t>(c);
        return text;
    }
    // 0xFFFF and a number, or a NUL-terminated name.
    NameOrOrdinal Field()
    {
        NameOrOrdinal field;
        const size_t start = at;
        field.isOrdinal = Word() == 0xFFFF;
        if (field.isOrdinal) {
            field.ordinal = Word();
        } else {
            at = start;
            field.name = Text();
        }
        return field;
    }
    void AlignToDword() { at = (at + 3) & ~size_t(3); }
    size_t Position() const { return at; }
    bool Broken() const { return broken; }

private:
    void Copy(void* to, size_t size)
    {
        if (at + size > bytes.size()) {
            broken = true;
            at = bytes.size();
            return;
        }
        std::memcpy(to, bytes.data() + at, size);
        at += size;
    }

    const std::string& bytes;
    size_t at = 0;
    bool broken = false;
};

struct StoredControl {
    DWORD helpId, exStyle, style;
    short x, y, cx, cy;
    DWORD id;
    NameOrOrdinal windowClass, text;
    WORD creationDataSize;
};

struct StoredTemplate {
    WORD version, signature;
    DWORD helpId, exStyle, style;
    WORD count;
    short x, y, cx, cy;
    NameOrOrdinal menu, windowClass;
    std::u16string caption;
    WORD points, weight;
    BYTE italic, charset;
    std::u16string typeface;
    std::vector<StoredControl> controls;
    size_t end;  // where the last control ends, rounded up to a whole DWORD
    bool broken;
};

// The extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items), field by field.
StoredTemplate ReadTemplate(const std::string& bytes)
{
    TemplateReader reader(bytes);
    StoredTemplate stored;
    stored.version = reader.Word();
    stored.signature = reader.Word();
    stored.helpId = reader.Dword();
    stored.exStyle = reader.Dword();
    stored.style = reader.Dword();
    stored.count = reader.Word();
    stored.x = reader.Short();
    stored.y = reader.Short();
    stored.cx = reader.Short();
    stored.cy = reader.Short();
    stored.menu = reader.Field();
    stored.windowClass = reader.Field();
    stored.caption = reader.Text();
    stored.points = reader.Word();
    stored.weight = reader.Word();
    stored.italic = reader.Byte();
    stored.charset = reader.Byte();
    stored.typeface = reader.Text();
    for (int i = 0; i < stored.count && !reader.Broken(); ++i) {
        StoredControl control;
        reader.AlignToDword();
        control.helpId = reader.Dword();
        control.exStyle = reader.Dword();
        control.style = reader.Dword();
        control.x = reader.Short();
        control.y = reader.Short();
        control.cx = reader.Short();
        control.cy = reader.Short();
        control.id = reader.Dword();
        control.windowClass = reader.Field();
        control.text = reader.Field();
        control.creationDataSize = reader.Word();
        stored.controls.push_back(control);
    }
    reader.AlignToDword();
    stored.end = reader.Position();
    stored.broken = reader.Broken();
    return stored;
}

class MainTemplate : public testing::Test {
protected:
    void SetUp() override
    {
        bytes = ResourceBytes(RT_DIALOG, IDD_MAIN);
        ASSERT_FALSE(bytes.empty()) << "no Japanese dialog 101";
        stored = ReadTemplate(bytes);
        ASSERT_FALSE(stored.broken) << "the template ends early";
    }

    std::string bytes;
    StoredTemplate stored;
};

TEST_F(MainTemplate, Header)
{
    EXPECT_EQ(1, stored.version);
    EXPECT_EQ(0xFFFF, stored.signature);
    EXPECT_EQ(0u, stored.helpId);
    EXPECT_EQ(0x10u, stored.exStyle);
    EXPECT_EQ(0x80CA00C0u, stored.style);
    EXPECT_EQ(36, stored.count);
    EXPECT_EQ(0, stored.x);
    EXPECT_EQ(0, stored.y);
    EXPECT_EQ(235, stored.cx);
    EXPECT_EQ(273, stored.cy);
    EXPECT_TRUE(!stored.menu.isOrdinal && stored.menu.name.empty()) << "no menu";
    EXPECT_TRUE(!stored.windowClass.isOrdinal && stored.windowClass.name.empty()) << "standard class";
    EXPECT_EQ(u"Brumweld", stored.caption);
    EXPECT_EQ(9, stored.points);
    EXPECT_EQ(0, stored.weight);
    EXPECT_EQ(0, stored.italic);
    EXPECT_EQ(1, stored.charset);
    EXPECT_EQ(u"ＭＳ Ｐゴシック", stored.typeface);
}

TEST_F(MainTemplate, Controls)
{
    ASSERT_EQ(36u, sizeof(kControls) / sizeof(kControls[0]));
    ASSERT_EQ(36u, stored.controls.size());
    for (size_t i = 0; i < stored.controls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const ExpectedControl& expected = kControls[i];
        const StoredControl& control = stored.controls[i];
        EXPECT_EQ(0u, control.helpId);
        EXPECT_EQ(0u, control.exStyle);
        EXPECT_EQ(expected.style, control.style);
        EXPECT_EQ(expected.x, control.x);
        EXPECT_EQ(expected.y, control.y);
        EXPECT_EQ(expected.cx, control.cx);
        EXPECT_EQ(expected.cy, control.cy);
        EXPECT_EQ(static_cast<DWORD>(expected.id), control.id);
        if (expected.classOrdinal == kByName) {
            EXPECT_FALSE(control.windowClass.isOrdinal);
            EXPECT_EQ(u"msctls_updown32", control.windowClass.name);
        } else {
            EXPECT_TRUE(control.windowClass.isOrdinal);
            EXPECT_EQ(expected.classOrdinal, control.windowClass.ordinal);
        }
        EXPECT_FALSE(control.text.isOrdinal);
        EXPECT_EQ(std::u16string(expected.text), control.text.name);
        EXPECT_EQ(0, control.creationDataSize);
    }
    EXPECT_EQ(bytes.size(), stored.end) << "bytes after the last control";
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

BOOL CALLBACK AddType(HMODULE, LPSTR type, LONG_PTR types)
{
    reinterpret_cast<std::set<ULONG_PTR>*>(types)->insert(reinterpret_cast<ULONG_PTR>(type));
    return TRUE;
}

// Every language a resource of this executable exists in.
std::vector<WORD> Languages(LPCSTR type, WORD name)
{
    std::vector<WORD> languages;
    EnumResourceLanguagesA(GetModuleHandleA(nullptr), type, MAKEINTRESOURCEA(name), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

TEST(ResourceInventory, EveryResourceIsJapanese)
{
    const std::vector<WORD> japanese = {1041};
    EXPECT_EQ(japanese, Languages(RT_DIALOG, IDD_MAIN));
    EXPECT_EQ(japanese, Languages(RT_STRING, 1)) << "block of strings 0 to 15";
    EXPECT_EQ(japanese, Languages(RT_GROUP_ICON, IDI_MAIN));
    EXPECT_EQ(japanese, Languages(RT_ICON, 1));
    EXPECT_EQ(japanese, Languages(RT_ICON, 2));
}

// No menu, accelerator or version: the executable carries these four types and its manifest only.
TEST(ResourceInventory, OnlyDialogStringsIconsAndTheManifest)
{
    std::set<ULONG_PTR> types;
    EnumResourceTypesA(GetModuleHandleA(nullptr), AddType, reinterpret_cast<LONG_PTR>(&types));
    const std::set<ULONG_PTR> expected = {
        reinterpret_cast<ULONG_PTR>(RT_ICON), reinterpret_cast<ULONG_PTR>(RT_DIALOG),
        reinterpret_cast<ULONG_PTR>(RT_STRING), reinterpret_cast<ULONG_PTR>(RT_GROUP_ICON),
        reinterpret_cast<ULONG_PTR>(RT_MANIFEST)};
    EXPECT_EQ(expected, types);
}

// The manifest asks to run as the invoker and nothing else: no common controls 6 (the classic
// look stays), no DPI or system entries. One namespace on trustInfo, as Windows XP SP2 needs.
TEST(ResourceInventory, TheManifestAsksOnlyToRunAsTheInvoker)
{
    EXPECT_EQ("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
              "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
              "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">\n"
              "    <security>\n"
              "      <requestedPrivileges>\n"
              "        <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>\n"
              "      </requestedPrivileges>\n"
              "    </security>\n"
              "  </trustInfo>\n"
              "</assembly>\n",
              ResourceBytes(RT_MANIFEST, 1, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)));
}

std::string ResourceString(UINT id, int bufferSize)
{
    std::vector<char> buffer(bufferSize, '\x7f');
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), bufferSize);
    return std::string(buffer.data(), length);
}

TEST(ResourceStrings, ValueLists)
{
    EXPECT_EQ("15/23.976/24/29.97/30/", ResourceString(IDS_FRAME_RATES, 256));
    EXPECT_EQ("11025/22050/44100/", ResourceString(IDS_SAMPLE_RATES, 256));
    EXPECT_EQ("160x120/200x150/240x180/320x240/480x360/640x480/", ResourceString(IDS_FRAME_SIZES, 256));
    EXPECT_EQ(48u, ResourceString(IDS_FRAME_SIZES, 256).size());
}

TEST(ResourceStrings, OutputFilterIs43BytesOfCp932)
{
    const char filter[] = "flv\xCC\xA7\xB2\xD9(*.flv)/*.flv/"
                          "\x82\xB7\x82\xD7\x82\xC4\x82\xCC\xCC\xA7\xB2\xD9(*.*)/*.*/";
    static_assert(sizeof(filter) == 44, "43 bytes and the terminator");
    EXPECT_EQ(std::string(filter), "flvﾌｧｲﾙ(*.flv)/*.flv/すべてのﾌｧｲﾙ(*.*)/*.*/");
    EXPECT_EQ(std::string(filter), ResourceString(IDS_OUTPUT_FILTER, 64)) << "the 63-character buffer";
}

TEST(ResourceStrings, NoOtherEntries)
{
    for (UINT id = 0; id < 48; ++id) {
        if (id == IDS_FRAME_RATES || id == IDS_SAMPLE_RATES || id == IDS_FRAME_SIZES ||
            id == IDS_OUTPUT_FILTER) {
            continue;
        }
        EXPECT_EQ("", ResourceString(id, 256)) << id;
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "packed group entry");

struct ExpectedIcon {
    BYTE size;
    DWORD bytes;
    WORD id;
    DWORD xorBytes, andBytes;
};

const ExpectedIcon kIcons[] = {{32, 744, 1, 512, 128}, {16, 296, 2, 128, 64}};

// The standard 16-colour palette as RGBQUADs (blue, green, red, 0).
const BYTE kPalette[16][4] = {
    {0x00, 0x00, 0x00, 0}, {0x00, 0x00, 0x80, 0}, {0x00, 0x80, 0x00, 0}, {0x00, 0x80, 0x80, 0},
    {0x80, 0x00, 0x00, 0}, {0x80, 0x00, 0x80, 0}, {0x80, 0x80, 0x00, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0x80, 0x80, 0x80, 0}, {0x00, 0x00, 0xFF, 0}, {0x00, 0xFF, 0x00, 0}, {0x00, 0xFF, 0xFF, 0},
    {0xFF, 0x00, 0x00, 0}, {0xFF, 0x00, 0xFF, 0}, {0xFF, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0xFF, 0},
};

TEST(ResourceIcons, GroupHoldsTwoSixteenColourImages)
{
    const std::string group = ResourceBytes(RT_GROUP_ICON, IDI_MAIN);
    ASSERT_EQ(6u + 2 * sizeof(GroupIconEntry), group.size());
    WORD header[3];
    std::memcpy(header, group.data(), sizeof(header));
    EXPECT_EQ(0, header[0]);
    EXPECT_EQ(1, header[1]) << "icon, not cursor";
    ASSERT_EQ(2, header[2]);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + 6 + i * sizeof(entry), sizeof(entry));
        EXPECT_EQ(kIcons[i].size, entry.width);
        EXPECT_EQ(kIcons[i].size, entry.height);
        EXPECT_EQ(16, entry.colorCount);
        EXPECT_EQ(0, entry.reserved);
        EXPECT_EQ(1, entry.planes);
        EXPECT_EQ(4, entry.bitCount);
        EXPECT_EQ(kIcons[i].bytes, entry.bytesInRes);
        EXPECT_EQ(kIcons[i].id, entry.id);
    }
}

TEST(ResourceIcons, ImagesAreFourBitBitmapsWithMask)
{
    for (const ExpectedIcon& icon : kIcons) {
        SCOPED_TRACE("icon " + std::to_string(icon.id));
        const std::string image = ResourceBytes(RT_ICON, icon.id);
        ASSERT_EQ(icon.bytes, image.size());
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof(header));
        EXPECT_EQ(40u, header.biSize);
        EXPECT_EQ(icon.size, header.biWidth);
        EXPECT_EQ(icon.size * 2, header.biHeight) << "colour bits and mask";
        EXPECT_EQ(1, header.biPlanes);
        EXPECT_EQ(4, header.biBitCount);
        EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
        EXPECT_TRUE(header.biClrUsed == 0 || header.biClrUsed == 16);
        EXPECT_EQ(icon.bytes, 40 + sizeof(kPalette) + icon.xorBytes + icon.andBytes);
        EXPECT_EQ(0, std::memcmp(kPalette, image.data() + 40, sizeof(kPalette)));
    }
}

// Asked for 32 or 16 pixels, the icon group answers with the image of exactly that size.
TEST(ResourceIcons, EachSizeFindsItsOwnImage)
{
    std::string group = ResourceBytes(RT_GROUP_ICON, IDI_MAIN);
    ASSERT_FALSE(group.empty());
    PBYTE directory = reinterpret_cast<PBYTE>(&group[0]);
    EXPECT_EQ(1, LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, LR_DEFAULTCOLOR));
    EXPECT_EQ(2, LookupIconIdFromDirectoryEx(directory, TRUE, 16, 16, LR_DEFAULTCOLOR));
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN),
                                                   IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(nullptr, icon) << size;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask;
        ASSERT_NE(0, GetObjectA(info.hbmMask, sizeof(mask), &mask));
        EXPECT_EQ(size, mask.bmWidth);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The real window made from the template, never shown.
class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override
    {
        window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                    QuietDialogProc, 0);
        ASSERT_NE(nullptr, window);
    }

    void TearDown() override
    {
        if (window) DestroyWindow(window);
    }

    HWND window = nullptr;
};

TEST_F(MainWindow, UpDownsTakeThePrecedingFieldAsBuddy)
{
    HWND videoSpin = GetDlgItem(window, IDC_VIDEO_QUALITY_SPIN);
    HWND audioSpin = GetDlgItem(window, IDC_COMP_QUALITY_SPIN);
    ASSERT_NE(nullptr, videoSpin);
    ASSERT_NE(nullptr, audioSpin);
    char name[64] = "";
    GetClassNameA(videoSpin, name, sizeof(name));
    EXPECT_STREQ(UPDOWN_CLASSA, name);
    const HWND videoBuddy = reinterpret_cast<HWND>(SendMessageA(videoSpin, UDM_GETBUDDY, 0, 0));
    const HWND audioBuddy = reinterpret_cast<HWND>(SendMessageA(audioSpin, UDM_GETBUDDY, 0, 0));
    EXPECT_EQ(GetDlgItem(window, IDC_VIDEO_QUALITY), videoBuddy);
    EXPECT_EQ(GetDlgItem(window, IDC_COMP_QUALITY), audioBuddy);
    EXPECT_EQ(IDC_VIDEO_QUALITY, GetDlgCtrlID(videoBuddy));
    EXPECT_EQ(IDC_COMP_QUALITY, GetDlgCtrlID(audioBuddy));
}

TEST_F(MainWindow, MadeHiddenWithControlsInTemplateOrder)
{
    EXPECT_FALSE(IsWindowVisible(window));
    char caption[32] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    EXPECT_STREQ("Brumweld", caption);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    std::vector<int> ids;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(child) == 0xFFFF ? -1 : GetDlgCtrlID(child));
    }
    std::vector<int> expected;
    for (const ExpectedControl& control : kControls) expected.push_back(control.id);
    EXPECT_EQ(expected, ids);
}

TEST_F(MainWindow, EnterPressesRun)
{
    EXPECT_EQ(MAKELONG(IDC_RUN, DC_HASDEFID), SendMessageA(window, DM_GETDEFID, 0, 0));
}

}  // namespace
