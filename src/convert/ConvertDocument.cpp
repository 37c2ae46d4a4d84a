#include "app/Module1.h"
#include "app/form1.h"
#include "convert/OutputFormats.h"

#include <QComboBox>
#include <QRadioButton>

namespace Module1 {

int32_t ConvertDocument(form1& window, int32_t position)
{
    return ConvertDocument(window, position, TargetPath);
}

int32_t ConvertDocument(form1& window, int32_t position, const QString& targetPath)
{
    const QString documentPath = GetDocumentPath(window, position);
    if (documentPath.isEmpty())
        return 3;
    QString outputPath = targetPath;

    std::unique_ptr<WordApplication> application;
    try {
        application = window.platform().word.CreateObject();
        application->DocumentsOpen(documentPath);
        // Read for every document, at the moment it is converted.
        const OutputFormat& format = outputFormat(window.Combo1->currentIndex());
        outputPath += window.Option1->isChecked() ? format.shortExtension : format.longExtension;
        application->ActiveDocumentSaveAs(outputPath, format.wordFormatCode);
        application->ActiveDocumentClose();
        application->Quit();
        application.reset();
        return 1;
    } catch (const AutomationError& error) {
        if (error.Number() <= 0)
            return 0; // the call did not get through: nothing to tell, nothing to quit
        window.platform().messages.show(error.Description(), MessageIcon::None);
        if (application) {
            try {
                application->Quit();
            } catch (const AutomationError&) {
                // Already reported the failure; a second one would only repeat it.
            }
        }
        return 2;
    }
}

} // namespace Module1
