#include "ui/main/MainDialog.h"

#include "job/EncodeJob.h"
#include "job/EncodeSettings.h"
#include "settings/SettingsFile.h"
#include "support/FileIdentity.h"
#include "support/ProgramFolder.h"
#include "support/SystemEntry.h"
#include "support/SystemMessage.h"
#include "support/TextBuffer.h"
#include "support/WideText.h"
#include "ui/framework/FileDialog.h"
#include "ui/framework/Menu.h"
#include "ui/framework/Resources.h"
#include "ui/main/RunCheck.h"
#include "ui/main/resource.h"

#include <commctrl.h>
#include <shellapi.h>

namespace {

// Wide, so the window shows the same characters under any ANSI code page.
const wchar_t* const kModeTexts[] = {L"固定ﾋﾞｯﾄﾚｰﾄ (1pass-CBR)", L"品質ﾍﾞｰｽ    (1pass-VBR)", L"可変ﾋﾞｯﾄﾚｰﾄ (2pass-VBR)"};
const wchar_t* const kChannelTexts[] = {L"自動", L"ｽﾃﾚｵ", L"ｼﾞｮｲﾝﾄｽﾃﾚｵ", L"ﾓﾉﾗﾙ"};
const wchar_t kProgramFile[] = L"出力ﾌｧｲﾙにﾌﾟﾛｸﾞﾗﾑのﾌｧｲﾙは指定できません";
// What each outcome says, in one table: Run's refusals, how a start and the end of a run went,
// the save of the settings and the choice of a player. A box about something Windows refused
// goes on with the system's words for it, one about a folder ends with the program folder, and a
// first line that other lines follow ends with 「。」. The exit code of a failed run takes the %s.
const struct {
    unsigned char topic, outcome;
    bool givesReason, namesFolder;
    const wchar_t* text;
} kBoxes[] = {
    {MainDialog::Refusal, NoFileNames, false, false, L"ファイル名を指定してください"},
    {MainDialog::Refusal, NetworkProgramFolder, false, true, L"ﾈｯﾄﾜｰｸ上のﾌｫﾙﾀﾞではﾊﾞｯﾁﾌｧｲﾙを実行できません。\r\nﾌﾟﾛｸﾞﾗﾑをこのｺﾝﾋﾟｭｰﾀｰのﾌｫﾙﾀﾞに置いてください:\r\n"},
    {MainDialog::Refusal, UnusableProgramFolder, false, true, L"ﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞ名をﾊﾞｯﾁﾌｧｲﾙで使える形に書けません。\r\nこの Windows の文字ｺｰﾄﾞにある文字だけの名前のﾌｫﾙﾀﾞに置いてください:\r\n"},
    {MainDialog::Refusal, UnusableCharacter, false, false, L"ﾌｧｲﾙ名に使えない文字が含まれています"},
    {MainDialog::Refusal, DriveRelativeName, false, false, L"ﾄﾞﾗｲﾌﾞ名の後に \\ のないﾌｧｲﾙ名は使えません"},
    {MainDialog::Refusal, InputMissing, false, false, L"入力ﾌｧｲﾙが見つかりません"},
    {MainDialog::Refusal, NoWrittenForm, false, false, L"ﾊﾞｯﾁﾌｧｲﾙには、このﾌｧｲﾙを指す名前を書けません。\r\n名前の中の、この Windows の文字ｺｰﾄﾞにない文字を変えてください"},
    {MainDialog::Refusal, SameFile, false, false, L"入力ﾌｧｲﾙと出力ﾌｧｲﾙが同じです"},
    {MainDialog::Refusal, OutputIsProgramFile, false, false, kProgramFile},
    {MainDialog::Refusal, UnusableValue, false, false, L"ﾌﾚｰﾑﾚｰﾄかｻｲｽﾞに使えない文字が含まれています"},
    {MainDialog::Refusal, ValueTooLong, false, false, L"ﾌﾚｰﾑﾚｰﾄかｻｲｽﾞが長すぎます"},
    {MainDialog::Refusal, EncoderMissing, false, true, L"mencoder.exe が見つかりません。\r\nﾌﾟﾛｸﾞﾗﾑのﾌｫﾙﾀﾞか PATH のﾌｫﾙﾀﾞに置いてください:\r\n"},
    {MainDialog::Refusal, LineTooLong, false, false, L"ﾌｧｲﾙ名が長すぎます"},
    {MainDialog::Start, ScriptNotRun, true, true, L"ﾊﾞｯﾁﾌｧｲﾙを作成できませんでした。\r\n"},
    {MainDialog::Start, CmdNotStarted, true, true, L"ﾊﾞｯﾁﾌｧｲﾙを実行できませんでした。\r\n"},
    {MainDialog::Start, EarlierJobRunning, false, false, L"前回の変換がまだ終わっていません"},
    {MainDialog::Start, OutputIsTheScript, false, false, kProgramFile},
    {MainDialog::End, ConversionFailed, false, false, L"変換に失敗しました。\r\n終了ｺｰﾄﾞ: %s\r\n「変換終了後、ｷｰ入力待ちを行う」をｵﾝにすると mencoder のﾒｯｾｰｼﾞを読めます"},
    {MainDialog::End, NothingToPlay, false, false, L"変換後のﾌｧｲﾙが作成されませんでした"},
    {MainDialog::End, PlayerNotStarted, false, false, L"ﾌﾟﾚｲﾔｰを起動できませんでした"},
    {MainDialog::Save, 0, true, true, L"設定を保存できませんでした。\r\n"},
    {MainDialog::Player, 0, false, false, L"ﾌﾟﾚｲﾔｰの名前を設定ﾌｧｲﾙに書けません。\r\n名前の中の、この Windows の文字ｺｰﾄﾞにない文字を変えてください"},
};
const wchar_t kInputFilter[] = L"すべてのﾌｧｲﾙ(*.*)\0*.*\0";
const wchar_t kPlayerFilter[] = L"exeﾌｧｲﾙ\0*.exe\0";
// The worker's end of a run, carried to the window's thread; the dialog's own messages take WM_USER to WM_USER + 2.
const UINT kRunEnded = WM_USER + 100;
const OptionBit kOptions[] = {WaitForKey, KeepBatch, PlayAfter};
const int kOptionItems[] = {IDC_WAIT_FOR_KEY, IDC_KEEP_BATCH, IDC_PLAY_AFTER};
// A frame rate or size field holds at most this many bytes with its NUL.
const int kValueFieldLength = 9;
static_assert(kValueFieldLength <= sizeof EncodeSettings::framerate, "the record holds a whole field");

void ShowValue(ComboBox& list, const char* value)
{
    WideText text;
    FromCodePage(value, CP_ACP, text);
    list.SetText(text.Data());
}

}  // namespace

bool MainDialog::Create()
{
    if (!CreateModeless(IDD_MAIN, nullptr)) return false;
    settingsSaved = false;
    SetIcon(ICON_BIG, LoadIconImage(IDI_MAIN, 32));
    SetIcon(ICON_SMALL, LoadIconImage(IDI_MAIN, 16));
    StoredPosition position;
    LoadSettingsFile(settings, position);
    if (position.IsStored()) {
        MoveTo(position.x, position.y);
    } else {
        Center(nullptr);
    }
    FillControls();
    // Run as administrator, Windows drops Explorer's drops unless their messages are let through
    // (Windows 7 and later; 0x0049 is WM_COPYGLOBALDATA).
    auto allow = SystemEntry<BOOL(WINAPI*)(HWND, UINT, DWORD, void*)>("user32.dll", "ChangeWindowMessageFilterEx");
    const UINT dropMessages[] = {WM_DROPFILES, WM_COPYDATA, 0x0049};
    for (UINT message : dropMessages) {
        if (allow) allow(GetHwnd(), message, 1, nullptr);
    }
    KeepOnScreen(nullptr);
    Show(SW_SHOWNORMAL);
    return true;
}

void MainDialog::FillControls()
{
    videoMode.Bind(GetHwnd(), IDC_VIDEO_MODE);
    for (const wchar_t* text : kModeTexts) videoMode.AddString(text);
    videoMode.SetCurSel(settings.mode);

    SetItemInt(IDC_VIDEO_BITRATE, settings.videoBitrate, false);
    if (settings.mode == QualityBased) EnableItem(IDC_VIDEO_BITRATE, false);
    SetItemInt(IDC_VIDEO_QUALITY, settings.quality, false);
    SendDlgItemMessageW(GetHwnd(), IDC_VIDEO_QUALITY_SPIN, UDM_SETRANGE, 0, 31);
    if (settings.mode != QualityBased) {
        EnableItem(IDC_VIDEO_QUALITY, false);
        EnableItem(IDC_VIDEO_QUALITY_SPIN, false);
    }

    frameRate.Bind(GetHwnd(), IDC_FRAME_RATE);
    frameRate.AddResourceList(IDS_FRAME_RATES, L'/');
    // Typed or pasted, a value takes no more than the record keeps: nothing is cut at Run.
    frameRate.Send(CB_LIMITTEXT, kValueFieldLength - 1, 0);
    ShowValue(frameRate, settings.framerate);

    CheckItem(IDC_RESIZE, settings.bSize != 0);
    frameSize.Bind(GetHwnd(), IDC_FRAME_SIZE);
    frameSize.AddResourceList(IDS_FRAME_SIZES, L'/');
    frameSize.Send(CB_LIMITTEXT, kValueFieldLength - 1, 0);
    ShowValue(frameSize, settings.size);
    if (settings.bSize == 0) EnableItem(IDC_FRAME_SIZE, false);

    audioChannel.Bind(GetHwnd(), IDC_AUDIO_CHANNEL);
    for (const wchar_t* text : kChannelTexts) audioChannel.AddString(text);
    audioChannel.SetCurSel(settings.channel);

    SetItemInt(IDC_AUDIO_BITRATE, settings.audioBitrate, false);
    SetItemInt(IDC_COMP_QUALITY, settings.compqua, false);
    SendDlgItemMessageW(GetHwnd(), IDC_COMP_QUALITY_SPIN, UDM_SETRANGE, 0, 9);

    sampleRate.Bind(GetHwnd(), IDC_SAMPLE_RATE);
    sampleRate.AddResourceList(IDS_SAMPLE_RATES, L'/');
    sampleRate.SetCurSel(settings.samprate);

    for (int i = 0; i < 3; ++i) CheckItem(kOptionItems[i], settings.Has(kOptions[i]));
}

void MainDialog::StoreControls()
{
    settings.mode = static_cast<int>(videoMode.Send(CB_GETCURSEL, 0, 0));
    settings.videoBitrate = GetItemInt(IDC_VIDEO_BITRATE, false);
    settings.quality = GetItemIntClamped(IDC_VIDEO_QUALITY, false, 0, 31);
    ReadValue(IDC_FRAME_RATE, settings.framerate);
    settings.bSize = IsItemChecked(IDC_RESIZE) ? 1 : 0;
    ReadValue(IDC_FRAME_SIZE, settings.size);
    settings.channel = static_cast<int>(audioChannel.Send(CB_GETCURSEL, 0, 0));
    settings.audioBitrate = GetItemInt(IDC_AUDIO_BITRATE, false);
    settings.compqua = GetItemIntClamped(IDC_COMP_QUALITY, false, 0, 9);
    settings.samprate = static_cast<int>(sampleRate.Send(CB_GETCURSEL, 0, 0));

    unsigned short options = 0;
    for (int i = 0; i < 3; ++i) {
        if (IsItemChecked(kOptionItems[i])) options |= kOptions[i];
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
    SetItemText(IDC_INPUT_FILE, path.Data());
}

void MainDialog::Close()
{
    // A run ending from now on must not reach the window, the settings or the files.
    runs.Close();
    SaveSettings(true);
    Destroy();
}

int MainDialog::OnDestroy()
{
    runs.Close();
    SaveSettings(false);
    PostQuitMessage(0);
    return 1;
}

int MainDialog::OnEndSession(UINT_PTR ending)
{
    // Log-off and shutdown end the process without destroying the window, and wait for no box.
    if (ending) SaveSettings(false);
    return 1;
}

void MainDialog::SaveSettings(bool tell)
{
    if (settingsSaved) return;
    settingsSaved = true;
    StoreControls();
    // A run's output that a link made the settings file: replacing the file would destroy it.
    if (outputIsSettingsFile) return;
    WindowPosition normal{StoredPosition::kNone, StoredPosition::kNone};
    GetNormalPosition(normal);
    StoredPosition position;
    position.x = normal.x;
    position.y = normal.y;
    DWORD error = SaveSettingsFile(settings, position);
    if (error && tell) Tell(Save, 0, error);
}

int MainDialog::OnDropFiles(UINT_PTR drop)
{
    HDROP files = reinterpret_cast<HDROP>(drop);
    WideText path;
    auto query = SystemEntry<UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT)>("shell32.dll", "DragQueryFileW");
    auto finish = SystemEntry<void(WINAPI*)(HDROP)>("shell32.dll", "DragFinish");
    // Any program can send a drop without a file: the field keeps its name then.
    if (query && files && query(files, 0xFFFFFFFF, nullptr, 0) > 0) {
        path.Reserve(static_cast<int>(query(files, 0, nullptr, 0)));
        query(files, 0, path.Data(), path.BufferSize());
    }
    if (finish && files) finish(files);
    if (path.IsEmpty()) return 1;
    SetItemText(IDC_INPUT_FILE, path.Data());
    SetForegroundWindow(GetHwnd());
    return 1;
}

int MainDialog::OnCommand(UINT id, UINT, UINT_PTR)
{
    switch (id) {
    case IDCANCEL:
    case IDC_EXIT: Close(); return 1;
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
    // Run is disabled while busy, but any program can send the command; a second run would
    // rewrite the script under the running one.
    if (busy) return;
    WideText input, output, folder, frameRateText, frameSizeText;
    GetItemText(IDC_INPUT_FILE, input);
    GetItemText(IDC_OUTPUT_FILE, output);
    GetItemText(IDC_FRAME_RATE, frameRateText);
    GetItemText(IDC_FRAME_SIZE, frameSizeText);
    if (!GetProgramFolder(folder)) return;
    StoreControls();
    TextBuffer sampleRateText;
    GetSampleRateText(sampleRateText);
    RunPlan plan;
    RunRequest request = {input.Data(), output.Data(), folder.Data(), settings,
                          frameRateText.Data(), frameSizeText.Data(), sampleRateText.Data()};
    RunRefusal refusal = CheckRun(request, plan);
    if (refusal != RunAllowed) {
        Tell(Refusal, refusal);
        return;
    }
    DWORD error = 0;
    JobStart start = StartJob(*this, runs, settings, plan.script, plan.output.file, error);
    if (start == JobStarted) {
        runOutput.Assign(plan.output.file.Data());
    } else {
        Tell(Start, start, error);
    }
}

void MainDialog::Tell(Topic topic, int outcome, DWORD error, DWORD exitCode)
{
    for (const auto& box : kBoxes) {
        if (box.topic != topic || box.outcome != outcome) continue;
        wchar_t code[16], text[512];
        wsprintfW(code, exitCode < 0x10000 ? L"%lu" : L"0x%08lX", exitCode);
        wsprintfW(text, box.text, code);
        WideText whole, folder;
        whole.Assign(text);
        if (box.givesReason) AppendSystemMessage(error, whole);
        if (box.namesFolder && GetProgramFolder(folder)) whole.Append(folder.Data());
        Warn(whole.Data());
    }
}

int MainDialog::OnUserMessage(UINT msg, UINT_PTR, UINT_PTR)
{
    if (msg != kRunEnded) return 0;
    // Any program can send the message: only the end the worker recorded counts.
    DWORD exitCode = 0;
    RunEnd end = runs.TakeEnd(&exitCode);
    if (end == NoRunEnd) return 1;
    EnableCommands(true);
    // Judged again now that the output exists: a link made before Run may have led to the settings file.
    TextBuffer ini;
    WideText iniFile;
    if (GetProgramFile(kSettingsFileName, ini)) {
        FromCodePage(ini.Data(), CP_ACP, iniFile);
        if (IsSameExistingFile(runOutput.Data(), iniFile.Data())) outputIsSettingsFile = true;
    }
    Tell(End, end, 0, exitCode);
    return 1;
}

void MainDialog::PostRunEnd()
{
    // Posted, not sent: the worker holds the job lock, which the window's thread may be waiting
    // for. As one message, the end's changes are made on the window's thread in one step: no Run
    // pressed meanwhile can start a run between them.
    PostMessageW(GetHwnd(), kRunEnded, 0, 0);
}

void MainDialog::EnableCommands(bool enable)
{
    busy = !enable;
    // Seen from another program, Run is the first to go and the last to come back: whoever
    // finds Run enabled finds Exit and Close enabled too.
    if (!enable) EnableItem(IDC_RUN, false);
    Menu menu;
    menu.Attach(GetSystemMenu(GetHwnd(), FALSE));
    menu.Enable(SC_CLOSE, false, enable);
    EnableItem(IDC_EXIT, enable);
    if (enable) EnableItem(IDC_RUN, true);
}

void MainDialog::BrowseInputFile()
{
    WideText path, folder;
    FromCodePage(settings.InputDir.Data(), CP_ACP, folder);
    if (!AskOpenFileName(GetHwnd(), kInputFilter, L"avi", folder.Data(), path)) return;
    SetItemText(IDC_INPUT_FILE, path.Data());
    WrittenFolder(path, settings.InputDir);
}

void MainDialog::BrowseOutputFile()
{
    WideText path, filter, folder;
    LoadResourceText(IDS_OUTPUT_FILTER, filter);
    filter.ReplaceChar(L'/', L'\0');
    FromCodePage(settings.OutputDir.Data(), CP_ACP, folder);
    if (!AskSaveFileName(GetHwnd(), filter.Data(), L"flv", folder.Data(), path)) return;
    SetItemText(IDC_OUTPUT_FILE, path.Data());
    WrittenFolder(path, settings.OutputDir);
}

void MainDialog::ChoosePlayer()
{
    WideText path, folder;
    if (!settings.Player.IsEmpty()) {
        TextBuffer part;
        part.Assign(settings.Player.Data());
        part.CutToFolder();
        FromCodePage(part.Data(), CP_ACP, folder);
        settings.Player.GetFileName(part);
        FromCodePage(part.Data(), CP_ACP, path);
    }
    if (!AskOpenFileName(GetHwnd(), kPlayerFilter, L"exe", folder.Data(), path)) return;
    WrittenName player;
    NameFault fault = ResolveName(path.Data(), L"", ExistingFile, CP_ACP, player);
    // The player goes into no batch file, only into the settings file.
    if (fault != NameUsable) {
        Tell(Player, 0);
        return;
    }
    // A run that is ending may be reading the player at this moment.
    JobSettingsLock lock;
    settings.Player.Assign(player.text.Data());
}

void MainDialog::WrittenFolder(const WideText& path, TextBuffer& folder)
{
    // Saved as it is written: a folder the code page cannot hold by its short name.
    WideText wideFolder;
    wideFolder.Assign(path.Data());
    wideFolder.CutToFolder();
    TextBuffer written;
    if (ResolveFolderName(wideFolder.Data(), CP_ACP, written)) folder.Assign(written.Data());
}

void MainDialog::ReadValue(int id, char* value)
{
    WideText text;
    GetItemText(id, text);
    ToCodePageCut(text.Data(), CP_ACP, value, kValueFieldLength);
}

void MainDialog::GetSampleRateText(TextBuffer& text)
{
    WideText shown;
    sampleRate.GetText(shown);
    ToCodePage(shown.Data(), CP_ACP, text);
}
