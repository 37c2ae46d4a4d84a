#include "platform/Platform.h"

#include "engine/client/LibreOfficeWordAutomation.h"

QtPlatform::QtPlatform(const QString& programFolder)
    : programFolder(programFolder), word(makeLibreOfficeWordAutomation(programFolder))
{
}

QtPlatform::~QtPlatform() = default;

Platform QtPlatform::platform()
{
    return {messages, shell, help, pointer, fileDialogs, pickerDialogs, *word, programFolder};
}

