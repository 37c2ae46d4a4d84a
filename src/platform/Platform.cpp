#include "platform/Platform.h"

#include "engine/client/LibreOfficeWordAutomation.h"

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

