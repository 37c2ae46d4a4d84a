#include "platform/Platform.h"

#include "platform/LibreOfficeWordAutomation.h"

QtPlatform::QtPlatform(const QString& programFolder)
    : programFolder(programFolder), word(makeLibreOfficeWordAutomation(programFolder))
{
}

QtPlatform::~QtPlatform() = default;

Platform QtPlatform::platform()
{
    return {messages, shell, help, pointer, fileDialogs, pickerDialogs, *word, programFolder};
}

FakePlatform::FakePlatform(const QString& programFolder) : programFolder(programFolder) {}

Platform FakePlatform::platform()
{
    return {messages, shell, help, pointer, fileDialogs, pickerDialogs, *word, programFolder};
}
