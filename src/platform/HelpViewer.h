#pragma once

#include <QStringList>
#include <memory>

class QTextBrowser;

// Shows the user guide in the program's own help window.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showHelp(const QString& helpFile) = 0;
};

class QtHelpViewer final : public HelpViewer {
public:
    QtHelpViewer();
    ~QtHelpViewer() override;
    void showHelp(const QString& helpFile) override;

private:
    std::unique_ptr<QTextBrowser> window;
};

