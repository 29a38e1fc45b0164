#include "app/Application.h"
#include "job/EncodeSettings.h"
#include "support/CommandLine.h"
#include "support/WideText.h"
#include "ui/main/MainDialog.h"

#include <windows.h>

namespace {

// Process-wide, constructed in this order before WinMain runs.
Application application;
EncodeSettings settings;
MainDialog mainDialog(settings);

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (!application.Initialize("*Brumweld*", true)) return 0;
    if (!mainDialog.Create()) return 0;
    // The wide command line: a file name the code page cannot hold arrives whole.
    mainDialog.ApplyCommandLine(CommandLineArgument(GetCommandLineW()));
    int code = application.RunMessageLoop(mainDialog.GetHwnd());
    // A quit message that some other program posted ends the loop with the window still there:
    // it goes as a close does, settings saved. A run still going on must not reach the settings
    // once exit releases them.
    if (IsWindow(mainDialog.GetHwnd())) mainDialog.Close();
    mainDialog.CloseRuns();
    return code;
}
