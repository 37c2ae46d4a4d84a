#pragma once

// What the LibreOffice tests check in a written web page, filtered page or archive,
// independent of the code that wrote it.

#include <gmime/gmime.h>

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QUrl>

#include <memory>

namespace checks {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The src values of the page's img elements, as written.
inline QStringList imageSources(const QByteArray& html)
{
    static const QRegularExpression img(QStringLiteral("<img\\b[^>]*?\\ssrc=\"([^\"]*)\""),
                                        QRegularExpression::CaseInsensitiveOption);
    QStringList sources;
    for (const auto& match : img.globalMatch(QString::fromUtf8(html)))
        sources << match.captured(1);
    return sources;
}

inline bool isPicture(const QByteArray& data)
{
    return !QImage::fromData(data).isNull();
}

// A page with its pictures in <name>_files/: every reference relative and resolving there.
inline void verifyWebPage(const QString& pagePath, const QStringList& texts, int minimumPictures)
{
    const QByteArray html = readAll(pagePath);
    QVERIFY2(!html.isEmpty(), qPrintable(pagePath));
    for (const QString& text : texts)
        QVERIFY2(html.contains(text.toUtf8()), qPrintable(text));
    const QStringList sources = imageSources(html);
    QVERIFY2(sources.size() >= minimumPictures, qPrintable(sources.join(' ')));
    const QFileInfo page(pagePath);
    const QString companion = page.absolutePath() + '/' + page.completeBaseName() + QStringLiteral("_files");
    for (const QString& source : sources) {
        const QUrl reference = QUrl::fromEncoded(source.toUtf8(), QUrl::StrictMode);
        QVERIFY2(reference.isValid() && reference.isRelative(), qPrintable(source));
        const QString target = QUrl::fromLocalFile(page.absoluteFilePath()).resolved(reference).toLocalFile();
        QVERIFY2(QFileInfo(target).absolutePath() == companion, qPrintable(target));
        QVERIFY2(isPicture(readAll(target)), qPrintable(target));
    }
}

// One page, pictures as data: URIs, nothing beside it.
inline void verifyFilteredPage(const QString& pagePath, const QStringList& texts, int minimumPictures)
{
    const QByteArray html = readAll(pagePath);
    for (const QString& text : texts)
        QVERIFY2(html.contains(text.toUtf8()), qPrintable(text));
    const QStringList sources = imageSources(html);
    QVERIFY(sources.size() >= minimumPictures);
    for (const QString& source : sources) {
        QVERIFY2(source.startsWith(QLatin1String("data:image/")), qPrintable(source.left(80)));
        const QByteArray data = QByteArray::fromBase64(source.section(',', 1).toLatin1());
        QVERIFY(isPicture(data));
    }
    const QFileInfo page(pagePath);
    QVERIFY(!QFileInfo::exists(page.absolutePath() + '/' + page.completeBaseName() + QStringLiteral("_files")));
}

struct ArchivePart {
    QByteArray mediaType;
    QByteArray location;
    QByteArray data;
};

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};

// The parts of an RFC 2557 archive, decoded; empty when it is not multipart/related.
inline QList<ArchivePart> parseArchive(const QByteArray& bytes)
{
    g_mime_init();
    std::unique_ptr<GMimeStream, GObjectUnref> stream(g_mime_stream_mem_new_with_buffer(bytes.constData(), size_t(bytes.size())));
    std::unique_ptr<GMimeParser, GObjectUnref> parser(g_mime_parser_new_with_stream(stream.get()));
    std::unique_ptr<GMimeMessage, GObjectUnref> message(g_mime_parser_construct_message(parser.get(), nullptr));
    QList<ArchivePart> parts;
    if (!message)
        return parts;
    GMimeObject* body = g_mime_message_get_mime_part(message.get());
    if (!GMIME_IS_MULTIPART(body) || !g_mime_content_type_is_type(g_mime_object_get_content_type(body), "multipart", "related"))
        return parts;
    GMimeMultipart* multipart = GMIME_MULTIPART(body);
    for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i) {
        GMimeObject* object = g_mime_multipart_get_part(multipart, i);
        if (!GMIME_IS_PART(object))
            continue;
        GMimePart* part = GMIME_PART(object);
        std::unique_ptr<GMimeStream, GObjectUnref> decoded(g_mime_stream_mem_new());
        g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(part), decoded.get());
        GByteArray* data = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(decoded.get()));
        char* type = g_mime_content_type_get_mime_type(g_mime_object_get_content_type(object));
        parts.append({QByteArray(type), QByteArray(g_mime_part_get_content_location(part)),
                      QByteArray(reinterpret_cast<const char*>(data->data), qsizetype(data->len))});
        g_free(type);
    }
    return parts;
}

// One archive: the page first, every picture reference an absolute non-file location
// that names a picture part.
inline void verifyArchive(const QString& archivePath, const QStringList& texts, int minimumPictures)
{
    const QList<ArchivePart> parts = parseArchive(readAll(archivePath));
    QVERIFY2(!parts.isEmpty(), "not a multipart/related MIME message");
    QCOMPARE(parts.first().mediaType, QByteArray("text/html"));
    const QByteArray html = parts.first().data;
    for (const QString& text : texts)
        QVERIFY2(html.contains(text.toUtf8()), qPrintable(text));
    const QStringList sources = imageSources(html);
    QVERIFY(sources.size() >= minimumPictures);
    for (const QString& source : sources) {
        const QUrl url(source);
        QVERIFY2(!url.isRelative() && !url.isLocalFile(), qPrintable(source));
        const auto part = std::find_if(parts.begin(), parts.end(),
                                       [&](const ArchivePart& p) { return p.location == source.toUtf8(); });
        QVERIFY2(part != parts.end(), qPrintable(source));
        QVERIFY(part->mediaType.startsWith("image/"));
        QVERIFY(isPicture(part->data));
    }
}

} // namespace checks
