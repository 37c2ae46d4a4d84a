#include "engine/client/LibreOfficeWordAutomation.h"

#include "engine/word/ErrorNumbers.h"
#include "engine/client/EngineErrors.h"
#include "engine/client/LibreOfficeService.h"

#include <QDir>
#include <QStandardPaths>


namespace {

// By text alone: Qt's file classes would turn bytes that are not UTF-8 into others.
QString absolutePath(const QString& path)
{
    return QDir::cleanPath(path.startsWith('/') ? path : QDir::currentPath() + '/' + path);
}

// One application object: at most one active document, in the shared service.
class LibreOfficeApplication final : public WordApplication {
public:
    explicit LibreOfficeApplication(std::shared_ptr<LibreOfficeService> service)
        : service(std::move(service)), id(this->service->newDocumentId())
    {
    }
    ~LibreOfficeApplication() override { releaseDocument(); }

    void DocumentsOpen(const QString& documentPath) override
    {
        releaseDocument();
        const QString path = absolutePath(documentPath);
        service->open(id, path);
        hasDocument = true;
    }

    void ActiveDocumentSaveAs(const QString& outputPath, int32_t FileFormat) override
    {
        const QString path = absolutePath(outputPath);
        if (!hasDocument)
            throw EngineErrors::noDocumentToSave(path);
        service->saveAs(id, path, FileFormat);
    }

    void ActiveDocumentClose() override
    {
        if (!hasDocument)
            throw EngineErrors::noDocumentToClose();
        hasDocument = false;
        service->close(id);
    }

    void Quit() override { releaseDocument(); }

private:
    void releaseDocument()
    {
        if (hasDocument)
            service->release(id);
        hasDocument = false;
    }

    std::shared_ptr<LibreOfficeService> service;
    QByteArray id;
    bool hasDocument = false;
};

} // namespace

LibreOfficeSettings LibreOfficeSettings::forProgramFolder(const QString& programFolder)
{
    LibreOfficeSettings settings;
    settings.helperPath = programFolder + QStringLiteral("/varnello-lok");
    settings.libreOfficeProgramFolder = QStringLiteral("/usr/lib/libreoffice/program");
    settings.profileRoot =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/varnello");
    return settings;
}

LibreOfficeWordAutomation::LibreOfficeWordAutomation(const LibreOfficeSettings& settings)
    : service(std::make_shared<LibreOfficeService>(settings))
{
}

LibreOfficeWordAutomation::~LibreOfficeWordAutomation()
{
    service->shutDown();
}

std::unique_ptr<WordApplication> LibreOfficeWordAutomation::CreateObject()
{
    service->start();
    return std::make_unique<LibreOfficeApplication>(service);
}

void LibreOfficeWordAutomation::Announce(const QStringList& documentPaths, int32_t)
{
    // Every format starts from the same LibreOffice page, so the plan holds for any.
    QStringList absolute;
    absolute.reserve(documentPaths.size());
    for (const QString& path : documentPaths)
        absolute << absolutePath(path);
    service->announce(absolute);
}

void LibreOfficeWordAutomation::AnnouncePages(const QStringList& documentPaths, const QStringList& pagePaths)
{
    QHash<QString, QString> pages;
    for (qsizetype i = 0; i < documentPaths.size() && i < pagePaths.size(); ++i)
        pages.insert(absolutePath(documentPaths[i]), absolutePath(pagePaths[i]));
    service->setPageOfDocument(std::move(pages));
}

void LibreOfficeWordAutomation::stop()
{
    service->requestStop();
}

void LibreOfficeWordAutomation::setCallTimeout(std::chrono::milliseconds timeout)
{
    service->setCallTimeout(timeout);
}

qint64 LibreOfficeWordAutomation::helperProcessId() const
{
    return service->helperProcessId();
}

int LibreOfficeWordAutomation::helperStarts() const
{
    return service->helperStarts();
}

std::unique_ptr<WordAutomation> makeLibreOfficeWordAutomation(const QString& programFolder)
{
    return std::make_unique<LibreOfficeWordAutomation>(LibreOfficeSettings::forProgramFolder(programFolder));
}
