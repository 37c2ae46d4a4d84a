#include "engine/client/EngineErrors.h"

#include "engine/word/ErrorNumbers.h"

#include <QDir>

using LibreOfficeHelperProtocol::HelperError;

namespace {

QString quoted(const QString& path)
{
    return QStringLiteral("\u201C%1\u201D").arg(QDir::toNativeSeparators(path));
}

// `limit` is the helper's memory limit as it states it ("2.0 GiB"), or empty.
QString tooLittleMemory(const QString& limit)
{
    return QStringLiteral("it needs more memory than LibreOffice may use for one document (%1). It was stopped "
                          "before it could take all the computer's memory; split it into smaller documents, or "
                          "convert it on a computer with more memory.")
        .arg(limit.isEmpty() ? QStringLiteral("all this computer could give") : QStringLiteral("at most ") + limit);
}

QString openFailureReason(std::optional<HelperError> why, const QString& detail)
{
    switch (why.value_or(HelperError::Damaged)) {
    case HelperError::Missing:
        return QStringLiteral("the file does not exist. Check that it has not been moved or deleted.");
    case HelperError::Unreadable:
        return QStringLiteral("the file cannot be read (%1). Check that you are allowed to read it.").arg(detail);
    case HelperError::Empty:
        return QStringLiteral("the file is empty. It may have been damaged while it was copied.");
    case HelperError::NotWord:
        return QStringLiteral("the file is not a Word document (it holds plain text or another kind of data).");
    case HelperError::WebArchive:
        return QStringLiteral("it is a single-file web page (a web archive) under a Word name whose page cannot be "
                              "unpacked (%1). It may be damaged: open it in Word and save it as a Word document, "
                              "then convert that.")
            .arg(detail);
    case HelperError::TooLarge:
        return QStringLiteral("%1. Such a file is refused before it can take all memory.").arg(detail);
    case HelperError::Password:
        return QStringLiteral("it is protected with a password. Remove the password in Word and convert it again.");
    case HelperError::NotText:
        return QStringLiteral("it is not a word-processing document.");
    case HelperError::OutOfMemory: return tooLittleMemory(detail);
    case HelperError::NoRoom:
        return QStringLiteral("the folder Varnello copies documents to while it converts them, %1, is full. Free "
                              "some space there (or set TMPDIR to a folder with more room) and convert it again.")
            .arg(quoted(detail));
    default:
        return QStringLiteral("LibreOffice cannot read it (%1). The file may be damaged or in a format "
                              "LibreOffice does not know.")
            .arg(detail.isEmpty() ? QStringLiteral("no reason given") : detail);
    }
}

} // namespace

namespace EngineErrors {

AutomationError libreOfficeMissing(const QString& programFolder)
{
    return {WordErrors::CannotCreate,
            QStringLiteral("LibreOffice could not be started: it is not installed in %1. Install LibreOffice "
                           "Writer (on Debian: sudo apt-get install libreoffice-writer) and try again.")
                .arg(quoted(programFolder))};
}

AutomationError helperCannotStart(const HelperFailure& failure, const QString& helperPath)
{
    using Kind = HelperFailure::Kind;
    QString why;
    if (failure.kind == Kind::NotRunnable)
        why = QStringLiteral("Varnello's helper program %1 cannot be run (%2). Check that it is there and "
                             "executable, or install Varnello again.")
                  .arg(quoted(helperPath), failure.detail);
    else if (failure.refusal == HelperError::NoLibreOffice)
        why = QStringLiteral("LibreOffice could not be loaded (%1). Install LibreOffice Writer (on Debian: sudo "
                             "apt-get install libreoffice-writer) and try again.")
                  .arg(failure.detail);
    else if (failure.refusal == HelperError::NoLoader)
        why = QStringLiteral("LibreOffice is installed and started, but its document loader cannot be reached "
                             "(%1). This version of LibreOffice may not suit Varnello; update LibreOffice or "
                             "Varnello.")
                  .arg(failure.detail);
    else if (failure.kind == Kind::Refused)
        why = QStringLiteral("Varnello's helper program %1 refused to start (%2).").arg(quoted(helperPath), failure.detail);
    else
        why = QStringLiteral("Varnello's helper program %1 stopped while it was starting LibreOffice (%2). "
                             "LibreOffice is installed; it or the helper may be damaged, or the computer may "
                             "be short of memory.")
                  .arg(quoted(helperPath), failure.detail);
    return {WordErrors::CannotCreate, QStringLiteral("LibreOffice could not be started. ") + why};
}

AutomationError noProfile(const QString& problem)
{
    return {WordErrors::CannotCreate,
            QStringLiteral("LibreOffice could not be started because its private profile cannot be made: %1.")
                .arg(problem)};
}

AutomationError shutDown()
{
    return {WordErrors::RemoteCallFailed, QStringLiteral("LibreOffice has been shut down.")};
}

AutomationError stopped()
{
    return {LibreOfficeErrors::Stopped, QStringLiteral("The conversion was stopped before it finished.")};
}

AutomationError openFailed(const QString& documentPath, std::optional<HelperError> why, const QString& detail)
{
    return {LibreOfficeErrors::OpenFailed, QStringLiteral("The document %1 could not be opened because %2")
                                               .arg(quoted(documentPath), openFailureReason(why, detail))};
}

AutomationError notEnoughMemoryToSave(const QString& documentPath, const QString& outputPath, const QString& limit)
{
    return {LibreOfficeErrors::SaveFailed, QStringLiteral("The web page %1 could not be written because the document %2 %3")
                                               .arg(quoted(outputPath), quoted(documentPath), tooLittleMemory(limit))};
}

AutomationError unknownFormat(int32_t format)
{
    return {LibreOfficeErrors::SaveFailed,
            QStringLiteral("The save format %1 is not supported: use 8 (web page), 10 (filtered web page) or 9 "
                           "(single-file web archive).")
                .arg(format)};
}

AutomationError noDocumentToSave(const QString& outputPath)
{
    return {LibreOfficeErrors::NoDocument,
            QStringLiteral("No document is open, so nothing can be saved as %1.").arg(quoted(outputPath))};
}

AutomationError noDocumentToClose()
{
    return {LibreOfficeErrors::NoDocument, QStringLiteral("No document is open to be closed.")};
}

AutomationError saveFailed(const QString& outputPath, const QString& reason)
{
    return {LibreOfficeErrors::SaveFailed,
            QStringLiteral("The web page %1 could not be written: %2. Check that the output folder exists, that "
                           "you may write to it and that the disk has free space.")
                .arg(quoted(outputPath), reason)};
}

AutomationError documentLost(const QString& documentPath)
{
    return {WordErrors::RemoteCallFailed,
            QStringLiteral("LibreOffice stopped unexpectedly, and the document %1 is no longer open. Convert it "
                           "again.")
                .arg(quoted(documentPath))};
}

AutomationError callFailed(const HelperFailure& failure, const QString& doing, const QString& documentPath,
                           std::chrono::milliseconds timeout)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count();
    switch (failure.kind) {
    case HelperFailure::Kind::TookTooLong:
        return {LibreOfficeErrors::TimedOut,
                QStringLiteral("The document %1 took longer than %2 seconds while %3 and LibreOffice was stopped. "
                               "The document may be very large or complex; try converting it on its own.")
                    .arg(quoted(documentPath))
                    .arg(seconds)
                    .arg(doing)};
    case HelperFailure::Kind::StoppedAnswering:
        return {LibreOfficeErrors::TimedOut,
                QStringLiteral("LibreOffice stopped answering while %1 the document %2 (no sign of work for %3 "
                               "seconds) and was stopped. It will be started again for the next document.")
                    .arg(doing, quoted(documentPath))
                    .arg(seconds)};
    default:
        return {WordErrors::RemoteCallFailed,
                QStringLiteral("LibreOffice stopped unexpectedly while %1 the document %2 (%3). It will be started "
                               "again for the next document.")
                    .arg(doing, quoted(documentPath), failure.detail)};
    }
}

} // namespace EngineErrors
