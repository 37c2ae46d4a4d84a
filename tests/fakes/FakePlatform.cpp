#include "fakes/FakePlatform.h"

FakePlatform::FakePlatform(const QString& programFolder) : programFolder(programFolder) {}

Platform FakePlatform::platform()
{
    return {messages,      shell,         help,          pointer,
            fileDialogs,   pickerDialogs, *word,         programFolder,
            programFolder, programFolder + QStringLiteral("/help.html")};
}
