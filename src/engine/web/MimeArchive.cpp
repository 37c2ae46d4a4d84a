// glib names a member "signals", which Qt defines as a keyword: glib comes first.
#include <gmime/gmime.h>

#include "engine/web/MimeArchive.h"

#include <memory>

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct FormatOptionsFree {
    void operator()(GMimeFormatOptions* options) const { g_mime_format_options_free(options); }
};

GObjectPtr<GMimePart> makePart(const MimeArchivePart& source)
{
    const qsizetype slash = source.mediaType.indexOf('/');
    const QByteArray type = source.mediaType.left(slash);
    const QByteArray subtype = source.mediaType.mid(slash + 1);
    GObjectPtr<GMimePart> part(g_mime_part_new_with_type(type.constData(), subtype.constData()));
    const bool text = type == "text";
    if (text)
        g_mime_object_set_content_type_parameter(GMIME_OBJECT(part.get()), "charset", "utf-8");

    GObjectPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(
        source.data.constData(), size_t(source.data.size())));
    GObjectPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part.get(), content.get());
    g_mime_part_set_content_encoding(part.get(), text ? GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE
                                                      : GMIME_CONTENT_ENCODING_BASE64);
    g_mime_part_set_content_location(part.get(), source.location.constData());
    return part;
}

} // namespace

QByteArray buildMimeArchive(const QString& subject, const MimeArchivePart& page,
                            const QList<MimeArchivePart>& resources)
{
    g_mime_init(); // counts its calls; cheap after the first

    GObjectPtr<GMimeMultipart> related(g_mime_multipart_new_with_subtype("related"));
    g_mime_object_set_content_type_parameter(GMIME_OBJECT(related.get()), "type", page.mediaType.constData());
    g_mime_multipart_add(related.get(), GMIME_OBJECT(makePart(page).get()));
    for (const MimeArchivePart& resource : resources)
        g_mime_multipart_add(related.get(), GMIME_OBJECT(makePart(resource).get()));

    GObjectPtr<GMimeMessage> message(g_mime_message_new(TRUE));
    g_mime_message_set_subject(message.get(), subject.toUtf8().constData(), "utf-8");
    g_mime_object_set_header(GMIME_OBJECT(message.get()), "Snapshot-Content-Location",
                             page.location.constData(), nullptr);
    g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(related.get()));

    std::unique_ptr<GMimeFormatOptions, FormatOptionsFree> options(g_mime_format_options_new());
    g_mime_format_options_set_newline_format(options.get(), GMIME_NEWLINE_FORMAT_DOS);
    GObjectPtr<GMimeStream> output(g_mime_stream_mem_new());
    g_mime_object_write_to_stream(GMIME_OBJECT(message.get()), options.get(), output.get());
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(output.get()));
    return QByteArray(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
}
