#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

// A place in an HTML page that refers to one of the files saved beside it.
struct HtmlFileReference {
    qsizetype offset = 0; // of the text to replace, in bytes
    qsizetype length = 0;
    QString fileName;     // the file it names, as the folder spells it
    bool attribute = false; // a whole attribute value (replaced with its quotes)
    QByteArray text;        // the reference as the page has it, entities resolved
};

// Every reference in `html` to one of `fileNames`: attribute values (src, href,
// background, ...) and CSS url() in style attributes and style elements.
QList<HtmlFileReference> findFileReferences(const QByteArray& html, const QSet<QString>& fileNames);

// Every relative reference in `html` that names a file (not just a place in the page),
// in the same places; `fileName` is the path it names.
QList<HtmlFileReference> findRelativeReferences(const QByteArray& html);

// `html` with each reference replaced by what `newReference` gives for its file.
// The new references must be URL text that needs no HTML escaping.
QByteArray replaceFileReferences(const QByteArray& html, const QList<HtmlFileReference>& references,
                                 const std::function<QByteArray(const QString&)>& newReference);
