#include "platform/Platform.h"

#include "platform/LibreOfficeWordAutomation.h"

// The engine looks for its helper in the folder it is given.
QtPlatform::QtPlatform(const ProgramLocations& locations)
    : locations(locations), word(makeLibreOfficeWordAutomation(locations.helperFolder))
{
}

QtPlatform::~QtPlatform() = default;

Platform QtPlatform::platform()
{
    return {messages,      shell, help,   pointer, fileDialogs, pickerDialogs, *word,
            locations.programFolder, locations.stateFolder, locations.helpFile};
}

FakePlatform::FakePlatform(const QString& programFolder) : programFolder(programFolder) {}

Platform FakePlatform::platform()
{
    return {messages,      shell,         help,          pointer,
            fileDialogs,   pickerDialogs, *word,         programFolder,
            programFolder, programFolder + QStringLiteral("/help.html")};
}
