#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The flags LibreOffice's installation gives Word's import filters ("MS Word 2007 XML",
// "MS Word 97", ...), by filter name, from the configuration beside its program folder.
// Empty when it cannot be read; a filter this installation lacks is left out.
QHash<QString, QStringList> installedWordFilterFlags(const QString& programFolder);
