#pragma once

#include "platform/Platform.h"
#include "fakes/RecordingHelpViewer.h"
#include "fakes/RecordingMessageBox.h"
#include "fakes/RecordingMousePointer.h"
#include "fakes/RecordingShell.h"
#include "fakes/RecordingWordAutomation.h"
#include "fakes/ScriptedFileDialogs.h"
#include "fakes/ScriptedPickerDialogs.h"

// Recording stand-ins for tests and benchmarks; `word` may be swapped for a real one.
// The program folder holds the state files and the user guide, as a build folder does.
class FakePlatform {
public:
    explicit FakePlatform(const QString& programFolder);
    Platform platform();

    QString programFolder;
    RecordingMessageBox messages;
    RecordingShell shell;
    RecordingHelpViewer help;
    RecordingMousePointer pointer;
    ScriptedFileDialogs fileDialogs;
    ScriptedPickerDialogs pickerDialogs;
    RecordingWordAutomation recordingWord;
    WordAutomation* word = &recordingWord;
};
