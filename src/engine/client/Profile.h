#pragma once

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// Private LibreOffice profile folders of the program's own, never the user's
// LibreOffice profile. Each running copy of the program locks its own set, so two
// copies never share a profile. A set has two folders because a new helper may
// start loading while the one it replaces still finishes its last document.
class LibreOfficeProfile {
public:
    // Takes the first free set under `root`. When `root` cannot be written (a
    // read-only home, say), the set lives in a temporary folder that goes with this
    // object: LibreOffice then starts without its settings cache, but it starts.
    // isValid() is false only when neither can be had.
    explicit LibreOfficeProfile(const QString& root);
    bool isValid() const { return !base.isEmpty(); }
    QString folder(int slot) const;
    // Moves to a temporary set, when the folders under the root turn out unwritable.
    bool fallBackToTemporary();
    const QString& problem() const { return error; }

private:
    QString lockFreeSet(const QString& root);

    std::unique_ptr<QLockFile> lock;
    std::optional<QTemporaryDir> temporary;
    QString base;
    QString error;
};
