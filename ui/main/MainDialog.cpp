#include "ui/main/MainDialog.h"

#include "job/EncodeJob.h"
#include "job/EncodeSettings.h"
#include "settings/SettingsFile.h"
#include "support/FileIdentity.h"
#include "support/SystemEntry.h"
#include "support/TextBuffer.h"
#include "support/WideText.h"
#include "ui/framework/FileDialog.h"
#include "ui/framework/Menu.h"
#include "ui/framework/Resources.h"
#include "ui/main/resource.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

const char* const kModeTexts[] = {"固定ﾋﾞｯﾄﾚｰﾄ (1pass-CBR)", "品質ﾍﾞｰｽ    (1pass-VBR)", "可変ﾋﾞｯﾄﾚｰﾄ (2pass-VBR)"};
const char* const kChannelTexts[] = {"自動", "ｽﾃﾚｵ", "ｼﾞｮｲﾝﾄｽﾃﾚｵ", "ﾓﾉﾗﾙ"};
const char kNoFileNames[] = "ファイル名を指定してください";
const char kSameFile[] = "入力ﾌｧｲﾙと出力ﾌｧｲﾙが同じです";
const char kUnusableName[] = "ﾌｧｲﾙ名に使えない文字が含まれています";
const char kInputFilter[] = "すべてのﾌｧｲﾙ(*.*)\0*.*\0";
const char kPlayerFilter[] = "exeﾌｧｲﾙ\0*.exe\0";
const int kFirstOption = IDC_WAIT_FOR_KEY;

}  // namespace

bool MainDialog::Create()
{
    if (!CreateModeless(IDD_MAIN, nullptr)) return false;
    OpenJobs();
    settingsSaved = false;
    SetIcon(ICON_BIG, LoadIconImage(IDI_MAIN, 32));
    SetIcon(ICON_SMALL, LoadIconImage(IDI_MAIN, 16));
    LoadSettingsFile(*this, settings);
    FillControls();
    KeepOnScreen(nullptr);
    Show(SW_SHOWNORMAL);
    return true;
}

void MainDialog::FillControls()
{
    videoMode.Bind(hwnd, IDC_VIDEO_MODE);
    for (const char* text : kModeTexts) videoMode.AddString(text);
    videoMode.SetCurSel(settings.mode);

    SetItemInt(IDC_VIDEO_BITRATE, settings.videoBitrate, FALSE);
    if (settings.mode == QualityBased) EnableItem(IDC_VIDEO_BITRATE, FALSE);
    SetItemInt(IDC_VIDEO_QUALITY, settings.quality, FALSE);
    SendDlgItemMessageA(hwnd, IDC_VIDEO_QUALITY_SPIN, UDM_SETRANGE, 0, 31);
    if (settings.mode != QualityBased) {
        EnableItem(IDC_VIDEO_QUALITY, FALSE);
        EnableItem(IDC_VIDEO_QUALITY_SPIN, FALSE);
    }

    frameRate.Bind(hwnd, IDC_FRAME_RATE);
    frameRate.AddResourceList(IDS_FRAME_RATES, '/');
    frameRate.SetText(settings.framerate);

    CheckItem(IDC_RESIZE, settings.bSize != 0 ? BST_CHECKED : BST_UNCHECKED);
    frameSize.Bind(hwnd, IDC_FRAME_SIZE);
    frameSize.AddResourceList(IDS_FRAME_SIZES, '/');
    frameSize.SetText(settings.size);
    if (settings.bSize == 0) EnableItem(IDC_FRAME_SIZE, FALSE);

    audioChannel.Bind(hwnd, IDC_AUDIO_CHANNEL);
    for (const char* text : kChannelTexts) audioChannel.AddString(text);
    audioChannel.SetCurSel(settings.channel);

    SetItemInt(IDC_AUDIO_BITRATE, settings.audioBitrate, FALSE);
    SetItemInt(IDC_COMP_QUALITY, settings.compqua, FALSE);
    SendDlgItemMessageA(hwnd, IDC_COMP_QUALITY_SPIN, UDM_SETRANGE, 0, 9);

    sampleRate.Bind(hwnd, IDC_SAMPLE_RATE);
    sampleRate.AddResourceList(IDS_SAMPLE_RATES, '/');
    sampleRate.SetCurSel(settings.samprate);

    for (int i = 0; i < 3; ++i) {
        CheckItem(kFirstOption + i, (settings.OptFlag & (1 << i)) ? BST_CHECKED : BST_UNCHECKED);
    }
}

void MainDialog::StoreControls()
{
    settings.mode = static_cast<int>(videoMode.Send(CB_GETCURSEL, 0, 0));
    settings.videoBitrate = GetItemInt(IDC_VIDEO_BITRATE, FALSE);
    settings.quality = GetItemIntClamped(IDC_VIDEO_QUALITY, FALSE, 0, 31);
    GetItemText(IDC_FRAME_RATE, settings.framerate, 9);
    settings.bSize = IsItemChecked(IDC_RESIZE);
    GetItemText(IDC_FRAME_SIZE, settings.size, 9);
    settings.channel = static_cast<int>(audioChannel.Send(CB_GETCURSEL, 0, 0));
    settings.audioBitrate = GetItemInt(IDC_AUDIO_BITRATE, FALSE);
    settings.compqua = GetItemIntClamped(IDC_COMP_QUALITY, FALSE, 0, 9);
    settings.samprate = static_cast<int>(sampleRate.Send(CB_GETCURSEL, 0, 0));

    unsigned short options = 0;
    for (int i = 0; i < 3; ++i) {
        if (IsItemChecked(kFirstOption + i)) options |= 1 << i;
    }
    JobSettingsLock lock;
    settings.OptFlag = options;
}

void MainDialog::ApplyCommandLine(const wchar_t* text)
{
    if (!text || !*text) return;
    WideText path;
    int length = lstrlenW(text);
    // At least three characters beginning with a quote: the first and the last go.
    if (length >= 3 && text[0] == L'"') {
        path.Assign(text + 1);
        path.Data()[length - 2] = L'\0';
    } else {
        path.Assign(text);
    }
    SetDlgItemTextW(hwnd, IDC_INPUT_FILE, path.Data());
}

int MainDialog::OnDestroy()
{
    // A run ending from now on must not reach the window, the settings or the files.
    CloseJobs();
    SaveSettings();
    PostQuitMessage(0);
    return 1;
}

int MainDialog::OnEndSession(UINT_PTR ending)
{
    // Log-off and shutdown end the process without destroying the window.
    if (ending) SaveSettings();
    return 1;
}

void MainDialog::SaveSettings()
{
    if (settingsSaved) return;
    settingsSaved = true;
    StoreControls();
    SaveSettingsFile(*this, settings);
}

int MainDialog::OnDropFiles(UINT_PTR drop)
{
    HDROP files = reinterpret_cast<HDROP>(drop);
    WideText path;
    auto query = SystemEntry<UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT)>("shell32.dll", "DragQueryFileW");
    auto finish = SystemEntry<void(WINAPI*)(HDROP)>("shell32.dll", "DragFinish");
    if (query) {
        path.Reserve(static_cast<int>(query(files, 0, nullptr, 0)));
        query(files, 0, path.Data(), path.BufferSize());
    }
    if (finish) finish(files);
    SetDlgItemTextW(hwnd, IDC_INPUT_FILE, path.Data());
    SetForegroundWindow(hwnd);
    return 1;
}

int MainDialog::OnCommand(UINT id, UINT, UINT_PTR)
{
    switch (id) {
    case IDCANCEL:
    case IDC_EXIT: Destroy(); return 1;
    case IDC_BROWSE_INPUT: BrowseInputFile(); return 1;
    case IDC_BROWSE_OUTPUT: BrowseOutputFile(); return 1;
    case IDC_VIDEO_MODE: EnableModeControls(static_cast<int>(videoMode.Send(CB_GETCURSEL, 0, 0))); return 1;
    case IDC_RUN: RunCommand(); return 1;
    case IDC_RESIZE: EnableItem(IDC_FRAME_SIZE, IsItemChecked(IDC_RESIZE)); return 1;
    case IDC_CHOOSE_PLAYER: ChoosePlayer(); return 1;
    default: return 0;
    }
}

void MainDialog::EnableModeControls(int mode)
{
    EnableItem(IDC_VIDEO_BITRATE, mode != QualityBased);
    EnableItem(IDC_VIDEO_QUALITY, mode == QualityBased);
    EnableItem(IDC_VIDEO_QUALITY_SPIN, mode == QualityBased);
}

void MainDialog::RunCommand()
{
    if (GetItemTextLength(IDC_INPUT_FILE) == 0 || GetItemTextLength(IDC_OUTPUT_FILE) == 0) {
        Warn(kNoFileNames);
        return;
    }
    TextBuffer input(511), output(511);
    // A name the code page cannot hold would reach the encoder as another name.
    if (!ReadFileField(IDC_INPUT_FILE, false, input) || !ReadFileField(IDC_OUTPUT_FILE, true, output)) {
        Warn(kUnusableName);
        return;
    }
    // The encoder would overwrite its own source. Relative names are judged as the encoder
    // sees them, from the program folder, where the script runs.
    GoToProgramFolder();
    if (IsSameExistingFile(input.Data(), output.Data())) {
        Warn(kSameFile);
        return;
    }
    StoreControls();
    StartJob(*this, settings);
}

void MainDialog::EnableCommands(bool enable)
{
    Menu menu;
    menu.Attach(GetSystemMenu(hwnd, FALSE));
    menu.Enable(SC_CLOSE, false, enable);
    EnableItem(IDC_RUN, enable);
    EnableItem(IDC_EXIT, enable);
}

void MainDialog::BrowseInputFile()
{
    WideText path;
    if (!AskOpenFileName(hwnd, kInputFilter, "avi", settings.InputDir.Data(), true, false, path)) return;
    SetDlgItemTextW(hwnd, IDC_INPUT_FILE, path.Data());
    WrittenFolder(path, settings.InputDir);
}

void MainDialog::BrowseOutputFile()
{
    WideText path;
    TextBuffer filter;
    filter.LoadResourceString(IDS_OUTPUT_FILTER);
    filter.ReplaceChar('/', '\0');
    if (!AskSaveFileName(hwnd, filter.Data(), "flv", settings.OutputDir.Data(), true, false, path)) return;
    SetDlgItemTextW(hwnd, IDC_OUTPUT_FILE, path.Data());
    WrittenFolder(path, settings.OutputDir);
}

void MainDialog::ChoosePlayer()
{
    WideText path;
    TextBuffer folder;
    if (!settings.Player.IsEmpty()) {
        folder.Assign(settings.Player.Data());
        folder.CutToFolder();
        TextBuffer name;
        settings.Player.GetFileName(name);
        path.AssignAnsi(name.Data());
    }
    if (!AskOpenFileName(hwnd, kPlayerFilter, "exe", folder.Data(), true, false, path)) return;
    TextBuffer player;
    if (!ExistingNameInCodePage(path.Data(), player)) {
        Warn(kUnusableName);
        return;
    }
    // A run that is ending may be reading the player at this moment.
    JobSettingsLock lock;
    settings.Player.Assign(player.Data());
}

void MainDialog::WrittenFolder(const WideText& path, TextBuffer& folder)
{
    TextBuffer written;
    if (ToAnsiExactly(path.Data(), written)) {
        written.CutToFolder();
        folder.Assign(written.Data());
        return;
    }
    // Saved as it is written: a folder the code page cannot hold by its short name.
    WideText wideFolder;
    wideFolder.Assign(path.Data());
    wideFolder.CutToFolder();
    if (ExistingNameInCodePage(wideFolder.Data(), written)) folder.Assign(written.Data());
}

bool MainDialog::ReadFileField(int id, bool newFile, TextBuffer& name)
{
    WideText text(GetWindowTextLengthW(GetDlgItem(hwnd, id)));
    GetDlgItemTextW(hwnd, id, text.Data(), text.BufferSize());
    TextBuffer written;
    // A name the code page holds exactly is taken byte for byte, cut to the buffer as always.
    if (ToAnsiExactly(text.Data(), written)) {
        GetItemText(id, name);
        return true;
    }
    bool found = newFile ? NewFileNameInCodePage(text.Data(), written) : ExistingNameInCodePage(text.Data(), written);
    name.Assign(found ? written.Data() : "");
    return found;
}

void MainDialog::GetInputFile(TextBuffer& name)
{
    ReadFileField(IDC_INPUT_FILE, false, name);
}

void MainDialog::GetOutputFile(TextBuffer& name)
{
    ReadFileField(IDC_OUTPUT_FILE, true, name);
}

void MainDialog::GetSampleRateText(TextBuffer& text)
{
    sampleRate.GetText(text);
}
