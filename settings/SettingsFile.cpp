#include "settings/SettingsFile.h"

#include "job/EncodeSettings.h"
#include "settings/ProfileReader.h"
#include "support/TextBuffer.h"
#include "support/TextFileWriter.h"
#include "ui/framework/Placement.h"
#include "ui/framework/Window.h"

#include <windows.h>

const char kSettingsFileName[] = "Brumweld.ini";

namespace {

// A stored left or top of this value means no stored position.
const int kNoPosition = -1000;

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

bool WriteSettingsLines(Window& window, const EncodeSettings& settings, const char* path)
{
    TextFileWriter writer;
    if (!writer.Open(path)) return false;
    writer.WriteString("[Brumweld]\r\n");
    WindowPosition position{kNoPosition, kNoPosition};
    window.GetNormalPosition(position);
    writer.WriteIntLine("WinX", position.x);
    writer.WriteIntLine("WinY", position.y);
    writer.WriteIntLine("OptFlag", settings.OptFlag);
    writer.WriteTextLine("InputDir", settings.InputDir.Data());
    writer.WriteTextLine("OutputDir", settings.OutputDir.Data());
    writer.WriteTextLine("Player", settings.Player.Data());
    writer.WriteString("[Video]\r\n");
    writer.WriteIntLine("mode", settings.mode);
    writer.WriteIntLine("bitrate", settings.videoBitrate);
    writer.WriteIntLine("quality", settings.quality);
    writer.WriteTextLine("framerate", settings.framerate);
    writer.WriteIntLine("bSize", settings.bSize);
    writer.WriteTextLine("size", settings.size);
    writer.WriteString("[Audio]\r\n");
    writer.WriteIntLine("channel", settings.channel);
    writer.WriteIntLine("bitrate", settings.audioBitrate);
    writer.WriteIntLine("compqua", settings.compqua);
    writer.WriteIntLine("samprate", settings.samprate);
    // The new contents reach the disk before the rename, so a power cut leaves the old file or the new one.
    bool whole = writer.Whole() && writer.Flush();
    return writer.Close() && whole;
}

}  // namespace

void LoadSettingsFile(Window& window, EncodeSettings& settings, const char* path)
{
    ProfileReader reader;
    reader.SetFile(path);
    reader.SetSection("Brumweld");
    int x = reader.ReadInt("WinX", kNoPosition);
    int y = reader.ReadInt("WinY", kNoPosition);
    settings.OptFlag = static_cast<unsigned short>(reader.ReadInt("OptFlag", 0));
    settings.InputDir.Reserve(255);
    reader.ReadString("InputDir", settings.InputDir, "");
    settings.OutputDir.Reserve(255);
    reader.ReadString("OutputDir", settings.OutputDir, "");
    settings.Player.Reserve(511);
    reader.ReadString("Player", settings.Player, "");

    reader.SetSection("Video");
    settings.mode = reader.ReadInt("mode", 0);
    settings.videoBitrate = reader.ReadInt("bitrate", 300);
    settings.quality = reader.ReadInt("quality", 4);
    reader.ReadString("framerate", settings.framerate, sizeof settings.framerate, "30");
    settings.bSize = reader.ReadInt("bSize", 0);
    reader.ReadString("size", settings.size, sizeof settings.size, "320x240");

    reader.SetSection("Audio");
    settings.channel = reader.ReadInt("channel", 0);
    settings.audioBitrate = reader.ReadInt("bitrate", 64);
    settings.compqua = reader.ReadInt("compqua", 2);
    settings.samprate = reader.ReadInt("samprate", 2);

    if (x == kNoPosition || y == kNoPosition) {
        window.Center(nullptr);
    } else {
        window.MoveTo(x, y);
    }
}

bool SaveSettingsFile(Window& window, const EncodeSettings& settings, const char* path)
{
    // Rewriting in place loses every setting on a full disk or a crash: replace the file only when the new one is whole.
    if (!MayReplace(path)) return false;
    TextBuffer temporary(511);
    TemporaryName(path, temporary);
    if (WriteSettingsLines(window, settings, temporary.Data()) &&
        MoveFileExA(temporary.Data(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileA(temporary.Data());
    return false;
}

void LoadSettingsFile(Window& window, EncodeSettings& settings)
{
    // Without a program folder the path stays empty and every setting takes its default.
    TextBuffer path(511);
    path.SetToProgramPath(kSettingsFileName);
    LoadSettingsFile(window, settings, path.Data());
}

void SaveSettingsFile(Window& window, const EncodeSettings& settings)
{
    TextBuffer path(511);
    if (path.SetToProgramPath(kSettingsFileName)) SaveSettingsFile(window, settings, path.Data());
}
