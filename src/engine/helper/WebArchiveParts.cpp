#include "WebArchiveParts.h"

#include <utility>

namespace {

// A message or part with more header lines than this is no web archive that any
// program wrote.
constexpr int MaximumHeaderLines = 1000;

struct Header {
    QByteArray name; // lower case
    QByteArray value;
};

struct HeaderBlock {
    QList<Header> headers;
    qsizetype bodyStart = -1; // -1: the block never ends or is malformed

    QByteArray value(const char* name) const
    {
        for (const Header& header : headers)
            if (header.name == name)
                return header.value;
        return {};
    }
};

// Header lines from `from` up to the first empty line; folded lines are joined.
HeaderBlock readHeaders(const QByteArray& data, qsizetype from)
{
    HeaderBlock block;
    qsizetype at = from;
    while (at < data.size()) {
        qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        QByteArray line = data.mid(at, end - at);
        if (line.endsWith('\r'))
            line.chop(1);
        at = end + 1;
        if (line.isEmpty()) {
            block.bodyStart = std::min(at, data.size());
            return block;
        }
        if (line[0] == ' ' || line[0] == '\t') {
            if (block.headers.isEmpty())
                return {};
            block.headers.last().value += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || block.headers.size() >= MaximumHeaderLines)
            return {};
        block.headers.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
    }
    // A part may end right after its headers.
    block.bodyStart = data.size();
    return block;
}

struct ContentType {
    QByteArray mediaType; // lower case
    QList<std::pair<QByteArray, QByteArray>> parameters;

    QByteArray parameter(const char* name) const
    {
        for (const auto& [key, value] : parameters)
            if (key == name)
                return value;
        return {};
    }
};

// "type/subtype; name=value; name="quoted; value"".
ContentType parseContentType(const QByteArray& value)
{
    QList<QByteArray> fields;
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == '\\' && quoted && i + 1 < value.size())
            field += value[++i];
        else if (c == ';' && !quoted)
            fields.append(std::exchange(field, {}));
        else
            field += c;
    }
    fields.append(field);
    ContentType type{fields.first().trimmed().toLower(), {}};
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const qsizetype equals = fields[i].indexOf('=');
        if (equals > 0)
            type.parameters.append({fields[i].left(equals).trimmed().toLower(), fields[i].mid(equals + 1).trimmed()});
    }
    return type;
}

QByteArray withoutAngleBrackets(QByteArray id)
{
    id = id.trimmed();
    if (id.startsWith('<') && id.endsWith('>'))
        id = id.mid(1, id.size() - 2).trimmed();
    return id;
}

WebArchivePart makePart(const HeaderBlock& headers, const QByteArray& body)
{
    const ContentType type = parseContentType(headers.value("content-type"));
    WebArchivePart part;
    part.mediaType = type.mediaType.isEmpty() ? QByteArray("text/plain") : type.mediaType;
    part.charset = type.parameter("charset").toLower();
    part.contentLocation = headers.value("content-location");
    part.contentId = withoutAngleBrackets(headers.value("content-id"));
    const QByteArray encoding = headers.value("content-transfer-encoding").toLower();
    if (encoding == "base64")
        part.data = QByteArray::fromBase64(body);
    else if (encoding == "quoted-printable")
        part.data = decodeQuotedPrintable(body);
    else
        part.data = body;
    return part;
}

// Where the next delimiter line "--boundary" starts at or after `from`, and whether it
// is the closing one ("--boundary--"); -1 when there is none.
std::pair<qsizetype, bool> findDelimiter(const QByteArray& data, const QByteArray& delimiter, qsizetype from,
                                         qsizetype& lineEnd)
{
    for (qsizetype at = data.indexOf(delimiter, from); at >= 0; at = data.indexOf(delimiter, at + 1)) {
        if (at > 0 && data[at - 1] != '\n')
            continue;
        qsizetype after = at + delimiter.size();
        const bool closing = data.mid(after, 2) == "--";
        if (closing)
            after += 2;
        while (after < data.size() && (data[after] == ' ' || data[after] == '\t' || data[after] == '\r'))
            ++after;
        if (after < data.size() && data[after] != '\n')
            continue; // a longer line that only starts like the delimiter
        lineEnd = std::min(after + 1, data.size());
        return {at, closing};
    }
    return {-1, false};
}

// The body ends before the line break that belongs to the delimiter.
qsizetype bodyEnd(const QByteArray& data, qsizetype delimiterStart, qsizetype bodyStart)
{
    qsizetype end = delimiterStart;
    if (end > bodyStart && data[end - 1] == '\n')
        --end;
    if (end > bodyStart && data[end - 1] == '\r')
        --end;
    return end;
}

} // namespace

QByteArray decodeQuotedPrintable(const QByteArray& encoded)
{
    QByteArray decoded;
    decoded.reserve(encoded.size());
    const auto hexValue = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const char c = encoded[i];
        if (c != '=') {
            decoded += c;
            continue;
        }
        // A soft line break: "=", maybe blanks, then the line's end.
        qsizetype next = i + 1;
        while (next < encoded.size() && (encoded[next] == ' ' || encoded[next] == '\t'))
            ++next;
        if (next < encoded.size() && encoded[next] == '\r')
            ++next;
        if (next >= encoded.size() || encoded[next] == '\n') {
            i = next;
            continue;
        }
        const int high = i + 2 < encoded.size() ? hexValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(encoded[i + 2]) : -1;
        if (low >= 0) {
            decoded += char(high << 4 | low);
            i += 2;
        } else {
            decoded += c; // a stray "=" stays, as mail readers keep it
        }
    }
    return decoded;
}

WebArchiveReadResult readWebArchive(const QByteArray& message, int maximumParts)
{
    WebArchiveReadResult result;
    const HeaderBlock top = readHeaders(message, 0);
    if (top.bodyStart < 0) {
        result.problem = "its MIME headers are malformed";
        return result;
    }
    const ContentType type = parseContentType(top.value("content-type"));
    WebArchive archive;
    archive.contentLocation = top.value("content-location");
    if (!type.mediaType.startsWith("multipart/")) {
        // A page sent as a message of one part.
        if (type.mediaType != "text/html") {
            result.problem = "it holds no multipart MIME message";
            return result;
        }
        archive.parts.append(makePart(top, message.mid(top.bodyStart)));
        result.archive = std::move(archive);
        return result;
    }
    const QByteArray boundary = type.parameter("boundary");
    if (boundary.isEmpty() || boundary.size() > 200) {
        result.problem = "its multipart message has no usable boundary";
        return result;
    }
    archive.start = withoutAngleBrackets(type.parameter("start"));
    const QByteArray delimiter = "--" + boundary;
    qsizetype lineEnd = 0;
    auto [at, closing] = findDelimiter(message, delimiter, top.bodyStart, lineEnd);
    while (at >= 0 && !closing) {
        const HeaderBlock headers = readHeaders(message, lineEnd);
        if (headers.bodyStart < 0) {
            result.problem = "the headers of one of its parts are malformed";
            return result;
        }
        qsizetype nextLineEnd = 0;
        const auto next = findDelimiter(message, delimiter, headers.bodyStart, nextLineEnd);
        // Without a closing delimiter the last part runs to the end, as mail readers take it.
        const qsizetype end = next.first < 0 ? message.size() : bodyEnd(message, next.first, headers.bodyStart);
        if (archive.parts.size() >= maximumParts) {
            result.tooManyParts = true;
            return result;
        }
        archive.parts.append(makePart(headers, message.mid(headers.bodyStart, end - headers.bodyStart)));
        std::tie(at, closing) = next;
        lineEnd = nextLineEnd;
    }
    if (archive.parts.isEmpty()) {
        result.problem = "its multipart message holds no parts";
        return result;
    }
    result.archive = std::move(archive);
    return result;
}
