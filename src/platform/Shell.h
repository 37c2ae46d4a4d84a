#pragma once

#include <QStringList>

// The desktop shell: shows a folder in the file manager, a web page in the browser,
// a mailto: address in the mail program. Failures are not reported.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void openFolder(const QString& folder) = 0;
    virtual void openAddress(const QString& address) = 0;
};

class QtShell final : public Shell {
public:
    void openFolder(const QString& folder) override;
    void openAddress(const QString& address) override;
};

