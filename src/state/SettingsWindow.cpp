#include "state/SettingsWindow.h"

#include "app/Twips.h"
#include "state/StateFile.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

constexpr int ClientWidthTwips = 3732;
constexpr int ClientHeightTwips = 1560;

constexpr QLatin1String On("1");
constexpr QLatin1String Off("0");

} // namespace

SettingsWindow::SettingsWindow(const Platform& platform, QWidget* parent)
    : QDialog(parent),
      messages(platform.messages),
      settingsFile(StateFile::path(platform.stateFolder, StateFile::Settings))
{
    setObjectName(QStringLiteral("Setting"));
    setWindowTitle(QStringLiteral("Setting"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    // The classic dialog size of 8 pt: at the main window's 9 pt the captions would not
    // fit the widths the boxes are given.
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(twipsToPixels(ClientWidthTwips, logicalDpiX()),
                 twipsToPixels(ClientHeightTwips, logicalDpiY()));

    saveSourcesBox = placeControl<QCheckBox>(this, "Check1",
                              QStringLiteral("Automatically save the current file\r\n"), 360, 240,
                              2895, 370);
    saveOutputFoldersBox = placeControl<QCheckBox>(this, "Check2",
                              QStringLiteral("Automatically save the output directory"), 360, 600,
                              3135, 255);
    OKButton = placeControl<QPushButton>(this, "OKButton", QStringLiteral("OK"), 360, 1080, 1215, 375);
    CancelButton =
        placeControl<QPushButton>(this, "CancelButton", QStringLiteral("Cancel"), 2040, 1080, 1215, 375);
    OKButton->setDefault(true);

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, saveSourcesBox);
    setTabOrder(saveSourcesBox, saveOutputFoldersBox);
    OKButton->setFocus();

    connect(OKButton, &QPushButton::clicked, this, &SettingsWindow::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &SettingsWindow::CancelButton_Click);

    loadState();
}

// Only a line that is exactly "1" turns its box on; a missing line leaves it off.
void SettingsWindow::loadState()
{
    const QStringList flags = StateFile::readLines(settingsFile);
    saveSourcesBox->setChecked(flags.value(0) == On);
    saveOutputFoldersBox->setChecked(flags.value(1) == On);
}

void SettingsWindow::OKButton_Click()
{
    const QStringList flags{saveSourcesBox->isChecked() ? On : Off, saveOutputFoldersBox->isChecked() ? On : Off};
    if (const std::optional<QString> failure = StateFile::writeLines(settingsFile, flags)) {
        // The window stays open: the choice is not lost, and the user can try again
        // or cancel.
        messages.show(QStringLiteral("The settings could not be saved to \"%1\": %2")
                          .arg(settingsFile, *failure),
                      MessageIcon::Critical);
        return;
    }
    accept();
}

void SettingsWindow::CancelButton_Click()
{
    reject();
}
