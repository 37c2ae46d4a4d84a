#pragma once

#include <QSet>
#include <QString>

// The output paths of one conversion run, without extension: the document's name
// without its last extension, blanks and dots taken out, in the output folder.
//
// A name that is taken gets digits appended, and the digits accumulate ("ab",
// "ab1", "ab12", ...). A name is taken when a folder of that path exists or when
// this run has already handed it out, so two documents of one run never write over
// each other's page or picture folder. A file left by an earlier run is not taken:
// running again refreshes its pages.
class OutputNames {
public:
    // `outputFolder` ends in exactly one '/'.
    explicit OutputNames(QString outputFolder);

    // The text without any blank and without any dot.
    static QString removeBlanksAndDots(const QString& text);
    static QString baseName(const QString& documentName);

    // The output path for the document and remembers it as taken.
    QString claim(const QString& documentName);
    // Takes `name` (a name in the folder, without extension) out of the names that
    // claim() hands out: an earlier run gave it to a document that keeps it.
    void reserve(const QString& name);

private:
    bool isTaken(const QString& path) const;

    QString folder;
    QSet<QString> claimed;
};
