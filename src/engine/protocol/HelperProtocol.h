#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The line protocol between the program and its LibreOffice helper process.
//
// Every request and every answer is one line of words separated by one blank.
// The first word is a plain verb; every further word is percent-encoded, so a
// path may hold blanks, line breaks or any other byte. Paths travel as the bytes
// the file system uses (LocalFileName::encode), not as UTF-8 text.
//
//   helper, once started:  ready | failed <error> <detail>
//   open <id> <path> [<document's own path>]
//                          -> ok | error <error> <detail>
//                             (the document itself arrives as a descriptor, see
//                             DocumentHandover.h; the helper copies it to <path>, in its
//                             work folder; relative links inside the document resolve
//                             from its own path)
//   save <id> <html path>  -> ok | error <error> <detail>
//                             (the page is made in the work folder, then its folder is
//                             moved to the folder of <html path>)
//   close <id>             -> ok
//   quit                   -> (the helper exits)
namespace LibreOfficeHelperProtocol {

// The plain first words of requests and answers, as above.
namespace Word {
inline constexpr char Open[] = "open";
inline constexpr char Save[] = "save";
inline constexpr char Close[] = "close";
inline constexpr char Quit[] = "quit";
inline constexpr char Ready[] = "ready";
inline constexpr char Failed[] = "failed";
inline constexpr char Ok[] = "ok";
inline constexpr char Error[] = "error";
} // namespace Word

// Why the helper could not do what it was asked.
enum class HelperError {
    // while starting
    NoLibreOffice, // LibreOffice is not installed where the helper looked
    NoLoader,      // LibreOffice started, but its document loader cannot be reached
    NoProfile,     // the profile folder it was given cannot be written
    BadRequest,    // the helper was started or spoken to wrongly
    // opening
    Missing,
    Unreadable,
    Empty,
    NotWord,
    WebArchive,
    TooLarge, // a package whose own sizes tell it would take all memory
    Password,
    NotText,
    Damaged,
    OutOfMemory, // the helper reached its memory limit (detail: the limit, "2.0 GiB")
    NoRoom,      // the folder documents are staged in is full (detail: that folder)
    // saving
    NoDocument,
    SaveFailed,
};

namespace detail {
struct ErrorWord {
    HelperError error;
    const char* word;
};
inline constexpr ErrorWord errorWords[] = {
    {HelperError::NoLibreOffice, "nolibreoffice"},
    {HelperError::NoLoader, "noloader"},
    {HelperError::NoProfile, "noprofile"},
    {HelperError::BadRequest, "badrequest"},
    {HelperError::Missing, "missing"},
    {HelperError::Unreadable, "unreadable"},
    {HelperError::Empty, "empty"},
    {HelperError::NotWord, "notword"},
    {HelperError::WebArchive, "webarchive"},
    {HelperError::TooLarge, "toolarge"},
    {HelperError::Password, "password"},
    {HelperError::NotText, "notext"},
    {HelperError::Damaged, "damaged"},
    {HelperError::NoDocument, "nodocument"},
    {HelperError::SaveFailed, "savefailed"},
    {HelperError::OutOfMemory, "memory"},
    {HelperError::NoRoom, "noroom"},
};
} // namespace detail

inline QByteArray wireWord(HelperError error)
{
    for (const auto& entry : detail::errorWords)
        if (entry.error == error)
            return entry.word;
    return {};
}

// Unknown words (from a helper of another version) give nothing.
inline std::optional<HelperError> helperErrorFromWire(const QByteArray& word)
{
    for (const auto& entry : detail::errorWords)
        if (word == entry.word)
            return entry.error;
    return std::nullopt;
}

inline QByteArray encodeLine(const QList<QByteArray>& words)
{
    QByteArray line;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (i > 0)
            line += ' ';
        line += i == 0 ? words[i] : words[i].toPercentEncoding();
    }
    line += '\n';
    return line;
}

inline QList<QByteArray> decodeLine(QByteArray line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    QList<QByteArray> words = line.split(' ');
    for (qsizetype i = 1; i < words.size(); ++i)
        words[i] = QByteArray::fromPercentEncoding(words[i]);
    return words;
}

} // namespace LibreOfficeHelperProtocol
