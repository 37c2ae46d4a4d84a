#pragma once

#include <QByteArray>
#include <QList>

// The line protocol between the program and its LibreOffice helper process.
//
// Every request and every answer is one line of words separated by one blank.
// The first word is a plain verb; every further word is percent-encoded, so a
// path may hold blanks, line breaks or any other byte.
//
//   helper, once started:  ready | failed <reason>
//   open <id> <path>       -> ok | error <kind> <detail>
//   save <id> <html path>  -> ok | error <kind> <detail>
//   close <id>             -> ok
//   quit                   -> (the helper exits)
//
// Kinds of open errors: missing, unreadable, empty, notword, toolarge, password, notext, damaged.
// Kinds of save errors: nodocument, savefailed.
namespace LibreOfficeHelperProtocol {

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
