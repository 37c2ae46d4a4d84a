#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A throw-away program folder with the three state files, as a fresh install has them.
class ProgramFolder {
public:
    ProgramFolder()
    {
        for (const char* name : {"set.txt", "EXCEL.txt", "output.txt"})
            write(QLatin1String(name), {});
    }

    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile out(file(name));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile in(file(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }

private:
    QTemporaryDir dir;
};
