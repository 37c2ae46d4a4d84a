// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "HiddenLoad.h"
#include "LibreOfficeInternals.h"
#include "OfficeSession.h"
#include "UnoValues.h"

#include "DocumentSniffer.h"
#include "PackageCheck.h"
#include "engine/files/LocalFileName.h"
#include "PictureAltText.h"
#include "ReaderCopy.h"
#include "WebArchiveUnpacker.h"
#include "ReceivedDocument.h"
#include "DisarmedDocument.h"
#include "LightPackage.h"
#include "PackageParts.h"

#include <LibreOfficeKit/LibreOfficeKitInit.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <stdio.h>
#include <unistd.h>

namespace css = com::sun::star;
using css::uno::Reference;
using LibreOfficeHelperProtocol::HelperError;

namespace {

void closeQuietly(const Reference<css::lang::XComponent>& component)
{
    if (!component.is())
        return;
    try {
        Reference<css::util::XCloseable> closeable(component, css::uno::UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
        else
            component->dispose();
    } catch (const css::uno::Exception&) {
        try {
            component->dispose();
        } catch (const css::uno::Exception&) {
        }
    }
}

QString plainSuffixOf(const QString& path)
{
    static const QRegularExpression plain(QStringLiteral("\\A[A-Za-z0-9]{1,8}\\z"));
    const QString suffix = QFileInfo(path).suffix();
    return plain.match(suffix).hasMatch() ? suffix : QString();
}

} // namespace

struct OfficeSession::Office {
    _LibreOfficeKit* kit; // not destroyed: LibreOffice's shutdown is slow, the process ends anyway
    Reference<css::frame::XDesktop2> desktop;
};

struct OfficeSession::Document {
    Reference<css::lang::XComponent> component;
    bool webDocument = false; // loaded as a web page, which has a save filter of its own
    QString link;             // the plain-named link it was loaded through, if any
    std::unique_ptr<QTemporaryDir> unpacked; // the page of a web archive, loaded in its place
    QString workFolder;       // the document's private copy, and its page until it is moved
    LightPackage light;       // the stand-ins it was loaded with, if any
    PageLayout layout = PageLayout::Needed;
    HiddenFormatting hiddenFormatting = HiddenFormatting::Possible;
    QString loaded;           // what it was loaded from, and how
    QString documentPath;
    QString filter;
    ~Document()
    {
        closeQuietly(component);
        if (!link.isEmpty())
            QFile::remove(link);
        if (!workFolder.isEmpty())
            QDir(workFolder).removeRecursively();
    }
};

std::unique_ptr<OfficeSession> OfficeSession::start(const QString& programFolder,
                                                    const QString& profileFolder, OfficeResult& failure)
{
    const QByteArray program = LocalFileName::encode(programFolder);
    const QByteArray profile = QUrl::fromLocalFile(profileFolder).toEncoded(QUrl::FullyEncoded);
    _LibreOfficeKit* kit = lok_init_2(program.constData(), profile.constData());
    if (!kit) {
        failure = {HelperError::NoLibreOffice,
                   QStringLiteral("LibreOfficeKit could not be loaded from %1").arg(programFolder)};
        return nullptr;
    }
    auto office = std::make_unique<Office>(Office{kit, {}});
    try {
        const Reference<css::uno::XComponentContext> context = LibreOfficeInternals::processComponentContext();
        if (context.is())
            office->desktop = css::frame::Desktop::create(context);
    } catch (const css::uno::Exception& exception) {
        failure.detail = toQString(exception.Message);
    }
    if (!office->desktop.is()) {
        failure.error = HelperError::NoLoader;
        if (failure.detail.isEmpty())
            failure.detail = QStringLiteral("this LibreOffice does not show its component context");
        return nullptr;
    }
    return std::unique_ptr<OfficeSession>(new OfficeSession(std::move(office)));
}

OfficeSession::OfficeSession(std::unique_ptr<Office> office) : office(std::move(office)) {}

OfficeSession::~OfficeSession() = default;

// LibreOffice takes documents by file URL, and a file URL holds UTF-8 only. A document
// whose name holds other bytes is loaded through a link with a plain name in a
// private folder; the document itself is never copied.
QString OfficeSession::loadablePath(const QByteArray& id, const QString& path)
{
    if (LocalFileName::isPlainUtf8(path))
        return path;
    if (!links)
        links.emplace(QDir::tempPath() + QStringLiteral("/varnello-lok-XXXXXX"));
    if (!links->isValid())
        return {};
    // The suffix helps LibreOffice's type detection, when it is a plain one.
    const QString suffix = plainSuffixOf(path);
    const QString link = links->filePath(QString::fromLatin1(id.toHex()) + (suffix.isEmpty() ? QString() : '.' + suffix));
    QFile::remove(link);
    if (symlink(LocalFileName::encode(path).constData(), QFile::encodeName(link).constData()) != 0)
        return {};
    return link;
}

// A document whose markup would make LibreOffice read local files is loaded from a
// private copy without them (see DisarmedDocument.h); empty when it needs none.
QString OfficeSession::disarmedCopy(const QByteArray& id, const QString& path)
{
    const QByteArray content = disarmedDocument(path);
    if (content.isNull())
        return {};
    if (!links)
        links.emplace(QDir::tempPath() + QStringLiteral("/varnello-lok-XXXXXX"));
    const QString suffix = QFileInfo(path).suffix();
    QFile copy(links->filePath(QString::fromLatin1(id.toHex()) + (suffix.isEmpty() ? QString() : '.' + suffix)));
    if (!links->isValid() || !copy.open(QIODevice::WriteOnly | QIODevice::Truncate) || copy.write(content) != content.size())
        return {};
    return copy.fileName();
}

namespace {

// Refuses what the sniffer found no Word document in; passes the rest.
OfficeResult refusalOf(const SniffResult& sniffed)
{
    switch (sniffed.kind) {
    case DocumentKind::Missing: return {HelperError::Missing, {}};
    case DocumentKind::Unreadable: return {HelperError::Unreadable, sniffed.detail};
    case DocumentKind::Empty: return {HelperError::Empty, {}};
    case DocumentKind::NotWord: return {HelperError::NotWord, {}};
    case DocumentKind::WebArchive:
    case DocumentKind::WordLike: break;
    }
    return {};
}

} // namespace

OfficeResult OfficeSession::open(const QByteArray& id, int documentSocket, const QString& copyPath,
                                 const QString& documentPath)
{
    documents.erase(id);
    auto document = std::make_unique<Document>();
    // <work folder>/<id>/document/<name>
    document->workFolder = copyPath.section(QLatin1Char('/'), 0, -3);
    if (const auto failure = receiveDocumentCopy(documentSocket, LocalFileName::encode(copyPath)))
        return {failure->error, failure->detail};
    const SniffResult sniffed = sniffDocument(LocalFileName::encode(copyPath));
    if (OfficeResult refused = refusalOf(sniffed); !refused.ok())
        return refused;
    if (const QString tooLarge = checkPackageSize(copyPath); !tooLarge.isEmpty())
        return {HelperError::TooLarge, tooLarge};
    QString loadable;
    const bool webArchive = sniffed.kind == DocumentKind::WebArchive;
    if (OfficeResult prepared = prepareLoadable(id, webArchive, copyPath, documentPath, *document, loadable);
        !prepared.ok())
        return prepared;
    document->documentPath = documentPath;
    document->filter = sniffed.filter;
    document->loaded = loadable;
    if (!webArchive)
        loadable = lightened(*document, copyPath, loadable);
    OfficeResult result = load(*document, loadable, documentPath, document->filter);
    if (result.ok())
        documents.emplace(id, std::move(document));
    return result;
}

// The file LibreOffice loads for the copy at `path`: the page of a web archive, or a
// plain-named link to the copy, or a disarmed copy of either, or the copy itself.
OfficeResult OfficeSession::prepareLoadable(const QByteArray& id, bool webArchive, const QString& path,
                                            const QString& documentPath, Document& document, QString& loadable)
{
    if (webArchive) {
        UnpackedWebArchive unpacked = unpackWebArchive(LocalFileName::encode(path), QDir::tempPath(), {},
                                                       LocalFileName::encode(documentPath));
        if (unpacked.error)
            return {unpacked.error, unpacked.detail};
        document.unpacked = std::move(unpacked.folder);
        loadable = unpacked.pagePath;
    } else {
        loadable = loadablePath(id, path);
    }
    if (loadable.isEmpty())
        return {HelperError::Unreadable, QStringLiteral("no private link to its name can be made")};
    if (loadable != path)
        document.link = loadable;
    // Whether or not the kernel confines this process: the sandbox may be missing, and
    // LibreOffice's own installation holds pictures too.
    if (const QString disarmed = disarmedCopy(id, loadable); !disarmed.isEmpty()) {
        if (!document.link.isEmpty())
            QFile::remove(document.link);
        loadable = document.link = disarmed;
    }
    return {};
}

// What to load for the package `copyPath` (else `loadable`): a light copy in its place
// when it has photographs (see LightPackage.h). Notes whether it needs a layout of pages.
QString OfficeSession::lightened(Document& document, const QString& copyPath, const QString& loadable)
{
    std::optional<PackageParts> package = PackageParts::open(copyPath);
    if (!package)
        return loadable;
    document.layout = package->holdsFields() ? PageLayout::Needed : PageLayout::NotNeeded;
    document.hiddenFormatting = package->mayHideText() ? HiddenFormatting::Possible : HiddenFormatting::Absent;
    const QString suffix = plainSuffixOf(copyPath);
    document.filter = document.filter.isEmpty() ? package->importFilter(suffix) : document.filter;
    const QString lightPath = document.workFolder + QStringLiteral("/light.") + (suffix.isEmpty() ? QStringLiteral("docx") : suffix);
    document.light = LightPackage::write(*package, copyPath, lightPath);
    return document.light.isEmpty() ? loadable : lightPath;
}

// Documents load hidden (see HiddenLoad.h), and only text documents are kept.
OfficeResult OfficeSession::load(Document& document, const QString& loadable, const QString& documentPath,
                                 const QString& filter)
{
    HiddenLoad loaded = loadHidden(office->desktop, loadable, documentPath, filter, document.layout);
    document.component = std::move(loaded.component);
    const Reference<css::lang::XServiceInfo> info(document.component, css::uno::UNO_QUERY);
    const auto supports = [&](const char* service) {
        return info.is() && info->supportsService(rtl::OUString::createFromAscii(service));
    };
    if (loaded.passwordRequested)
        return {HelperError::Password, {}};
    if (!document.component.is())
        return {HelperError::Damaged, loaded.error};
    if (supports("com.sun.star.text.WebDocument"))
        document.webDocument = true;
    else if (!supports("com.sun.star.text.TextDocument"))
        return {HelperError::NotText, {}};
    return {};
}

OfficeResult OfficeSession::saveAsHtml(const QByteArray& id, const QString& htmlPath)
{
    auto found = documents.find(id);
    if (found == documents.end())
        return {HelperError::NoDocument, {}};
    Document& document = *found->second;
    const QString pageFolder = htmlPath.section(QLatin1Char('/'), 0, -2);
    const QString workPageFolder = document.workFolder + QStringLiteral("/page");
    if (!QDir().mkpath(workPageFolder))
        return {HelperError::SaveFailed, QStringLiteral("no folder can be made for the page in %1").arg(document.workFolder)};
    const QString workPage = workPageFolder + QLatin1Char('/') + htmlPath.section(QLatin1Char('/'), -1);
    if (const OfficeResult stored = storeRestoringPictures(document, workPage, workPageFolder); !stored.ok())
        return stored;
    const QByteArray from = LocalFileName::encode(workPageFolder);
    const QByteArray to = LocalFileName::encode(pageFolder);
    if (::rename(from.constData(), to.constData()) == 0)
        return {};
    // A kernel whose sandbox cannot move files between folders lets the page be
    // written in place instead (see Sandbox.h).
    if (errno == EXDEV && QDir().mkpath(pageFolder)) {
        QDir(workPageFolder).removeRecursively();
        return storeRestoringPictures(document, htmlPath, pageFolder);
    }
    return {HelperError::SaveFailed, QStringLiteral("the page cannot be moved to %1: %2")
                                         .arg(pageFolder, QString::fromLocal8Bit(std::strerror(errno)))};
}

// A document loaded with stand-ins for its photographs gets them back in its page; when
// that cannot be done, the page is made again from the document as it is.
OfficeResult OfficeSession::storeRestoringPictures(Document& document, const QString& htmlPath,
                                                   const QString& pageFolder)
{
    OfficeResult stored = store(document, htmlPath);
    if (!stored.ok() || document.light.isEmpty() || document.light.restore(pageFolder))
        return stored;
    document.light = {};
    closeQuietly(document.component);
    document.component.clear();
    QDir(pageFolder).removeRecursively();
    if (!QDir().mkpath(pageFolder))
        return {HelperError::SaveFailed, QStringLiteral("no folder can be made for the page in %1").arg(pageFolder)};
    if (OfficeResult reloaded = load(document, document.loaded, document.documentPath, document.filter); !reloaded.ok())
        return reloaded;
    return store(document, htmlPath);
}

OfficeResult OfficeSession::store(Document& document, const QString& htmlPath)
{
    // A web page loaded as one is written by the web page's own filter.
    const char* filter = document.webDocument ? "HTML" : "HTML (StarWriter)";
    const css::beans::PropertyValue properties[] = {
        property("FilterName", css::uno::Any(rtl::OUString::createFromAscii(filter))),
        property("Overwrite", css::uno::Any(true)),
    };
    try {
        useDescriptionsAsAltText(document.component);
        if (!keepOnlyWhatReadersSee(document.component, document.hiddenFormatting))
            return {HelperError::SaveFailed, QStringLiteral("its tracked deletions cannot be removed")};
        const Reference<css::frame::XStorable> storable(document.component, css::uno::UNO_QUERY_THROW);
        storable->storeToURL(fileUrl(htmlPath),
                             css::uno::Sequence<css::beans::PropertyValue>(properties, std::size(properties)));
    } catch (const css::uno::Exception& exception) {
        return {HelperError::SaveFailed, toQString(exception.Message)};
    }
    return {};
}

void OfficeSession::close(const QByteArray& id)
{
    documents.erase(id);
}
