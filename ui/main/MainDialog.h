#pragma once

#include "job/EncodeJob.h"
#include "job/JobWindow.h"
#include "ui/main/RunCheck.h"
#include "ui/framework/Control.h"
#include "ui/framework/Dialog.h"

struct EncodeSettings;

// The program's one window: file fields, encoder settings, options and Run.
class MainDialog : public Dialog, public JobWindow {
public:
    // What a box is about: its outcome is a RunRefusal, a JobStart, a RunEnd, or none.
    enum Topic { Refusal, Start, End, Save, Player };

    explicit MainDialog(EncodeSettings& settings) : settings(settings) {}

    // Creates, fills, places and shows the window; false when it cannot be created.
    bool Create();
    void FillControls();
    void StoreControls();
    // A command-line path becomes the input file, without its surrounding quotes.
    void ApplyCommandLine(const wchar_t* text);

    // Exit, Esc and the close box: the settings are saved, and said when they could not be, then
    // the window goes.
    void Close();
    void RunCommand();
    void BrowseInputFile();
    void BrowseOutputFile();
    void ChoosePlayer();

    int OnDestroy() override;
    int OnEndSession(UINT_PTR ending) override;
    int OnDropFiles(UINT_PTR drop) override;
    int OnCommand(UINT id, UINT code, UINT_PTR control) override;
    int OnUserMessage(UINT msg, UINT_PTR wParam, UINT_PTR lParam) override;

    void EnableCommands(bool enable) override;
    void PostRunEnd() override;
    // A run ending from now on reaches neither the window nor the settings.
    void CloseRuns() { runs.Close(); }
    bool RunWorkerDone() const { return runs.WorkerDone(); }

private:
    void EnableModeControls(int mode);
    // A frame rate or size as the settings hold it: at most 8 bytes of the code page.
    void ReadValue(int id, char* value);
    // The displayed text of the sample-rate list, whole; empty when nothing is selected.
    void GetSampleRateText(TextBuffer& text);
    // The box of an outcome, with the system's words for the error and the exit code where its
    // text takes them; nothing for an outcome that says nothing (RunEnded).
    void Tell(Topic topic, int outcome, DWORD error = 0, DWORD exitCode = 0);
    // The folder of a chosen file, as it is written in the code page; unchanged if it cannot be.
    void WrittenFolder(const WideText& path, TextBuffer& folder);
    // Stores the controls and writes the settings file, the first time only; tell shows the box
    // when it could not be written.
    void SaveSettings(bool tell);

    ComboBox videoMode;
    ComboBox frameRate;
    ComboBox frameSize;
    ComboBox audioChannel;
    ComboBox sampleRate;
    EncodeSettings& settings;
    JobRuns runs;
    // The latest run's output, and whether a run's output turned out to be the settings file.
    WideText runOutput;
    bool outputIsSettingsFile = false;
    bool settingsSaved = false;
    // From the busy state's start to its end, both on the window's thread.
    bool busy = false;
};
