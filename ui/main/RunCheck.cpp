#include "ui/main/RunCheck.h"

#include "job/Cmd.h"
#include "job/EncodeJob.h"
#include "job/EncodeSettings.h"
#include "job/EncoderCommand.h"
#include "settings/SettingsFile.h"
#include "support/FileIdentity.h"
#include "support/ProgramFolder.h"
#include "support/WideText.h"

namespace {

// The program's own files, beside it: the encoder writing over one of them destroys the running
// script, the settings or the program, or its output is deleted or overwritten afterwards.
bool IsProgramFile(const wchar_t* file, const wchar_t* folder)
{
    WideText self;
    if (GetProgramPath(self) && IsSameExistingFile(file, self.Data())) return true;
    const char* const names[] = {kScriptName, kPassLogName, kSettingsFileName, kSettingsTemporaryName, kEncoderName};
    for (const char* name : names) {
        WideText wide;
        FromCodePage(name, CP_ACP, wide);
        if (IsFolderFile(file, folder, wide.Data())) return true;
    }
    return false;
}

// A value goes into the script as the settings keep it: it must be the text shown, exact in the
// code page and plain to cmd, since it is not quoted, and whole in the record.
RunRefusal ValueRefusal(const wchar_t* shown, const char* kept)
{
    TextBuffer whole;
    if (!ToCodePage(shown, CP_ACP, whole) || !IsPlainScriptValue(whole.Data())) return UnusableValue;
    // The record keeps what it could of this same text: only a cut one is shorter.
    return whole.Length() == lstrlenA(kept) ? RunAllowed : ValueTooLong;
}

}  // namespace

RunRefusal RefusalFor(NameFault fault)
{
    switch (fault) {
    case NameUsable: return RunAllowed;
    case NameEmpty: return NoFileNames;
    case NameHasUnusableCharacter: return UnusableCharacter;
    case NameIsDriveRelative: return DriveRelativeName;
    case NameIsMissing: return InputMissing;
    case NameHasNoForm: break;
    }
    return NoWrittenForm;
}

RunRefusal CheckRun(const RunRequest& request, RunPlan& plan)
{
    const wchar_t* folder = request.programFolder;
    const EncodeSettings& settings = request.settings;
    NameFault inputFault = ResolveName(request.input, folder, ExistingFile, CP_OEMCP, plan.input);
    NameFault outputFault = ResolveName(request.output, folder, NewFile, CP_OEMCP, plan.output);
    if (inputFault == NameEmpty || outputFault == NameEmpty) return NoFileNames;
    if (!RunsScriptsIn(folder)) return NetworkProgramFolder;
    TextBuffer writtenFolder;
    if (!ResolveFolderName(folder, CP_ACP, writtenFolder)) return UnusableProgramFolder;
    if (inputFault != NameUsable) return RefusalFor(inputFault);
    if (outputFault != NameUsable) return RefusalFor(outputFault);
    // The encoder would overwrite its own source.
    if (IsSameExistingFile(plan.input.file.Data(), plan.output.file.Data())) return SameFile;
    if (IsProgramFile(plan.output.file.Data(), folder)) return OutputIsProgramFile;
    RunRefusal value = ValueRefusal(request.frameRate, settings.framerate);
    if (value == RunAllowed && settings.bSize != 0) value = ValueRefusal(request.frameSize, settings.size);
    if (value != RunAllowed) return value;
    // Without it the console would open and close at once, with nothing said.
    WideText encoder;
    FromCodePage(kEncoderName, CP_ACP, encoder);
    if (!FindsProgram(folder, encoder.Data())) return EncoderMissing;
    ScriptTexts texts = {plan.input.text.Data(), plan.output.text.Data(), request.sampleRate};
    return MakeScript(settings, texts, plan.script) ? RunAllowed : LineTooLong;
}
