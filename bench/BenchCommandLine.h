#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <optional>

// The benchmark's arguments, program name first, when there are at least `least` of
// them; else the usage is printed and there are none.
inline std::optional<QStringList> benchArguments(qsizetype least, const char* usage)
{
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= least)
        return arguments;
    std::fprintf(stderr, "usage: %s\n", usage);
    return std::nullopt;
}

// The names of the Word documents directly in `folder`, in the order of their names.
inline QStringList wordDocumentNames(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.doc"), QStringLiteral("*.docx"), QStringLiteral("*.docm")},
                                  QDir::Files, QDir::Name | QDir::IgnoreCase);
}
