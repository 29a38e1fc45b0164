#include "settings/SettingsFile.h"

#include "job/EncodeSettings.h"
#include "settings/ProfileReader.h"
#include "support/CodePage.h"
#include "support/ProgramFolder.h"
#include "support/ScopedHandle.h"
#include "support/TextBuffer.h"
#include "support/TextFileWriter.h"
#include "support/WideText.h"

#include <windows.h>


const char kSettingsFileName[] = "Brumweld.ini";
const char kSettingsTemporaryName[] = "Brumweld.tmp";

namespace {

// A replace held up by another program's handle is tried this many times, 100 ms apart.
const int kReplaceTries = 20;

// Every value the file keeps, in the file's order: its section and key, what it fills, and what a
// file without the key gives. Loading, saving and the defaults all read this one table.
struct StoredValue {
    const char* section;
    const char* key;
    int StoredPosition::*position;
    int EncodeSettings::*number;
    unsigned short EncodeSettings::*flags;
    char (EncodeSettings::*field)[10];
    TextBuffer EncodeSettings::*text;
    // For a text, the capacity its buffer gets before it is read; a longer value grows it.
    int defaultNumber;
    const char* defaultText;
};

constexpr StoredValue Place(const char* section, const char* key, int StoredPosition::*position)
{
    return {section, key, position, nullptr, nullptr, nullptr, nullptr, StoredPosition::kNone, nullptr};
}
constexpr StoredValue Number(const char* section, const char* key, int EncodeSettings::*number, int fallback)
{
    return {section, key, nullptr, number, nullptr, nullptr, nullptr, fallback, nullptr};
}
constexpr StoredValue Flags(const char* section, const char* key, unsigned short EncodeSettings::*flags)
{
    return {section, key, nullptr, nullptr, flags, nullptr, nullptr, 0, nullptr};
}
constexpr StoredValue Field(const char* section, const char* key, char (EncodeSettings::*field)[10], const char* fallback)
{
    return {section, key, nullptr, nullptr, nullptr, field, nullptr, 0, fallback};
}
constexpr StoredValue Text(const char* section, const char* key, TextBuffer EncodeSettings::*text, int capacity)
{
    return {section, key, nullptr, nullptr, nullptr, nullptr, text, capacity, ""};
}

const StoredValue kStoredValues[] = {
    Place("Brumweld", "WinX", &StoredPosition::x),
    Place("Brumweld", "WinY", &StoredPosition::y),
    Flags("Brumweld", "OptFlag", &EncodeSettings::OptFlag),
    Text("Brumweld", "InputDir", &EncodeSettings::InputDir, 255),
    Text("Brumweld", "OutputDir", &EncodeSettings::OutputDir, 255),
    Text("Brumweld", "Player", &EncodeSettings::Player, 511),
    Number("Video", "mode", &EncodeSettings::mode, 0),
    Number("Video", "bitrate", &EncodeSettings::videoBitrate, 300),
    Number("Video", "quality", &EncodeSettings::quality, 4),
    Field("Video", "framerate", &EncodeSettings::framerate, "30"),
    Number("Video", "bSize", &EncodeSettings::bSize, 0),
    Field("Video", "size", &EncodeSettings::size, "320x240"),
    Number("Audio", "channel", &EncodeSettings::channel, 0),
    Number("Audio", "bitrate", &EncodeSettings::audioBitrate, 64),
    Number("Audio", "compqua", &EncodeSettings::compqua, 2),
    Number("Audio", "samprate", &EncodeSettings::samprate, 2),
};

// A read-only, hidden or system file is left as it is: Windows refuses to rewrite any of them
// (Wine run as root would write a read-only one), and a rename over it would drop the marks.
bool MayReplace(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & kept) == 0;
}

// The new file is written beside the old one under a name no longer than its own, so it
// can be made wherever the settings file itself can: "Brumweld.tmp" for "Brumweld.ini".
void TemporaryName(const char* path, TextBuffer& temporary)
{
    temporary.Assign(path);
    int dot = temporary.FindLast('.');
    int separator = temporary.FindLast('\\');
    bool threeLetters = dot > separator && temporary.Length() - dot == 4 && lstrcmpiA(temporary.Data() + dot, ".tmp") != 0;
    if (threeLetters) temporary.Data()[dot] = '\0';
    temporary.Append(".tmp");
}

bool WriteSettingsLines(TextFileWriter& writer, const EncodeSettings& settings, const StoredPosition& position)
{
    const char* section = "";
    for (const StoredValue& value : kStoredValues) {
        if (lstrcmpiA(section, value.section) != 0) {
            section = value.section;
            writer.WriteString("[");
            writer.WriteString(section);
            writer.WriteString("]\r\n");
        }
        if (value.position) writer.WriteIntLine(value.key, position.*value.position);
        if (value.number) writer.WriteIntLine(value.key, settings.*value.number);
        if (value.flags) writer.WriteIntLine(value.key, settings.*value.flags);
        if (value.field) writer.WriteTextLine(value.key, settings.*value.field);
        if (value.text) writer.WriteTextLine(value.key, (settings.*value.text).Data());
    }
    // The new contents reach the disk before the rename, so a power cut leaves the old file or the new one.
    bool whole = writer.Whole() && writer.Flush();
    return writer.Close() && whole;
}

}  // namespace

void LoadSettingsFile(EncodeSettings& settings, StoredPosition& position, const char* path)
{
    // The profile functions know only the UTF-16 mark: a file an editor saved as UTF-8 with its
    // mark would read as one without its first section. Such a file is read from a UTF-16 copy.
    TextBuffer copy;
    bool copied = *path && CopyUtf8AsUtf16(path, copy);
    ProfileReader reader;
    reader.SetFile(copied ? copy.Data() : path);
    for (const StoredValue& value : kStoredValues) {
        reader.SetSection(value.section);
        if (value.position) position.*value.position = reader.ReadInt(value.key, value.defaultNumber);
        if (value.number) settings.*value.number = reader.ReadInt(value.key, value.defaultNumber);
        if (value.flags) settings.*value.flags = static_cast<unsigned short>(reader.ReadInt(value.key, value.defaultNumber));
        if (value.field) reader.ReadString(value.key, settings.*value.field, sizeof(settings.*value.field), value.defaultText);
        if (value.text) {
            (settings.*value.text).Reserve(value.defaultNumber);
            reader.ReadName(value.key, settings.*value.text, value.text != &EncodeSettings::Player);
        }
    }
    if (copied) DeleteFileA(copy.Data());
}

bool SaveSettingsFile(const EncodeSettings& settings, const StoredPosition& position, const char* path,
                      FileReplacer replace)
{
    // Rewriting in place loses every setting on a full disk or a crash: replace the file only when the new one is whole.
    if (!MayReplace(path)) {
        SetLastError(0);
        return false;
    }
    TextBuffer temporary(511);
    TemporaryName(path, temporary);
    // The new file is always one this save made: a file or folder already there under that name (a
    // leftover, or a run's output through a link) is neither truncated nor removed, and the system
    // makes a free name beside it instead.
    TextFileWriter writer;
    bool open = writer.Open(temporary.Data(), true), ours = open;
    DWORD error = GetLastError();
    if (!open && GetFileAttributesA(temporary.Data()) != INVALID_FILE_ATTRIBUTES) {
        TextBuffer folder;
        folder.Assign(path);
        folder.CutToFolder();
        temporary.Reserve(folder.Length() + MAX_PATH);
        ours = GetTempFileNameA(folder.Data(), "Bru", 0, temporary.Data()) != 0;
        open = ours && writer.Open(temporary.Data());
        error = GetLastError();
    }
    if (open && WriteSettingsLines(writer, settings, position)) {
        // Windows refuses the replace while any handle without delete sharing is open on the file.
        for (int tries = 1;; ++tries) {
            if (replace(temporary.Data(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
            error = GetLastError();
            if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || tries == kReplaceTries) break;
            Sleep(100);
        }
    } else if (open) {
        error = GetLastError();
    }
    writer.Close();
    if (ours) DeleteFileA(temporary.Data());
    SetLastError(error);
    return false;
}

bool CopyUtf8AsUtf16(const char* path, TextBuffer& copy)
{
    WideText widePath;
    WIN32_FILE_ATTRIBUTE_DATA data;
    FromCodePage(path, CP_ACP, widePath);
    // A settings file is small: a larger one is read as it is.
    if (!GetFileAttributesExW(widePath.Data(), GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
        data.nFileSizeLow < 3 || data.nFileSizeLow > 1 << 20) {
        return false;
    }
    const int size = static_cast<int>(data.nFileSizeLow);
    ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    TextBuffer bytes(size);
    const unsigned char* mark = reinterpret_cast<const unsigned char*>(bytes.Data());
    DWORD read = 0;
    if (!file.IsValid() || !ReadFile(file.Get(), bytes.Data(), size, &read, nullptr) || read != static_cast<DWORD>(size) ||
        mark[0] != 0xEF || mark[1] != 0xBB || mark[2] != 0xBF) {
        return false;
    }
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.Data() + 3, size - 3, nullptr, 0);
    WideText wide(length + 1);
    wide.Data()[0] = 0xFEFF;
    MultiByteToWideChar(CP_UTF8, 0, bytes.Data() + 3, size - 3, wide.Data() + 1, length);
    // Beside the settings file, where the program writes anyway.
    TextBuffer folder;
    folder.Assign(path);
    folder.CutToFolder();
    copy.Reserve(folder.Length() + MAX_PATH);
    if (!GetTempFileNameA(folder.Data(), "Bru", 0, copy.Data())) return false;
    TextFileWriter writer;
    bool whole = writer.Open(copy.Data()) && (writer.Write(wide.Data(), (length + 1) * sizeof(wchar_t)), writer.Whole());
    if (writer.Close() && whole) return true;
    DeleteFileA(copy.Data());
    return false;
}

void LoadSettingsFile(EncodeSettings& settings, StoredPosition& position)
{
    // Without a program folder the path stays empty and every setting takes its default.
    TextBuffer path(511);
    GetProgramFile(kSettingsFileName, path);
    LoadSettingsFile(settings, position, path.Data());
}

DWORD SaveSettingsFile(const EncodeSettings& settings, const StoredPosition& position)
{
    TextBuffer path(511);
    if (!GetProgramFile(kSettingsFileName, path)) return ERROR_INVALID_NAME;
    return SaveSettingsFile(settings, position, path.Data()) ? 0 : GetLastError();
}

void SetDefaultSettings(EncodeSettings& settings)
{
    StoredPosition position;
    LoadSettingsFile(settings, position, "");
}
