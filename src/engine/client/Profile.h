#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Private LibreOffice profile folders of the program's own, never the user's
// LibreOffice profile. Each running copy of the program locks its own set, so two
// copies never share a profile. A set has two folders because a new helper may
// start loading while the one it replaces still finishes its last document.
class LibreOfficeProfile {
public:
    // Takes the first free set under `root`; isValid() is false when none can be had.
    explicit LibreOfficeProfile(const QString& root);
    bool isValid() const { return lock != nullptr; }
    QString folder(int slot) const;
    const QString& problem() const { return error; }

private:
    std::unique_ptr<QLockFile> lock;
    QString base;
    QString error;
};
