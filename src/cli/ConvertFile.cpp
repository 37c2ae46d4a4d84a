#include "cli/ConvertFile.h"

FileConversion convertFile(WordAutomation& word, const QString& documentPath, const QString& outputPath,
                           int32_t wordFormatCode)
{
    std::unique_ptr<WordApplication> application;
    try {
        application = word.CreateObject();
        application->DocumentsOpen(documentPath);
        application->ActiveDocumentSaveAs(outputPath, wordFormatCode);
        application->ActiveDocumentClose();
        application->Quit();
        return {true, {}};
    } catch (const AutomationError& error) {
        // A call that did not get through has no instance left to quit.
        if (error.Number() > 0 && application) {
            try {
                application->Quit();
            } catch (const AutomationError&) {
                // The first failure is the one worth telling.
            }
        }
        return {false, error.Description()};
    }
}
