#include "app/AboutWindow.h"

#include "app/Addresses.h"
#include "app/LinkLabel.h"
#include "app/Twips.h"
#include "platform/Shell.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

AboutWindow::AboutWindow(Shell& shell, QWidget* parent) : QDialog(parent), shell(shell)
{
    setObjectName(QStringLiteral("Dialog1"));
    setWindowTitle(QStringLiteral("About us"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(4908, logicalDpiX()), twipsToPixels(4116, logicalDpiY()));

    productName = placeControl<QLabel>(this, "Label1", QStringLiteral("Varnello"), 240, 120, 4400, 420);
    QFont titleFont = productName->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    productName->setFont(titleFont);
    versionLabel = placeControl<QLabel>(this, "Label4", QStringLiteral("Version:2009.9.9"), 240, 600, 4400, 255);

    supportFrame = new QFrame(this); // owned by the dialog
    supportFrame->setObjectName(QStringLiteral("Frame1"));
    supportFrame->setFrameShape(QFrame::Box);
    supportFrame->setGeometry(twipsRect(*this, 240, 960, 4428, 1500));
    supportCaption = placeControl<QLabel>(supportFrame, "Label3", QStringLiteral("Technical Support:"), 120, 180, 1500,
                           255);
    supportAddress = placeControl<LinkLabel>(supportFrame, "Label2", Addresses::SupportMail, 1680, 180, 2640, 255);
    websiteCaption = placeControl<QLabel>(supportFrame, "Label7", QStringLiteral(" Website:"), 120, 540, 1500, 255);
    websiteAddress = placeControl<LinkLabel>(supportFrame, "Label8", Addresses::HomePage, 1680, 540, 2640, 255);
    copyrightLabel = placeControl<QLabel>(supportFrame, "Label6",
                           QStringLiteral("Copyright (C) 2009 Varnello. All rights reserved."), 120,
                           960, 4200, 255);

    warningLabel = placeControl<QLabel>(
        this, "Label5",
        QStringLiteral("Warning: this program is protected by copyright law and international "
                       "treaties. Unauthorized reproduction or distribution of it may result in "
                       "civil and criminal penalties."),
        240, 2520, 4428, 1000);
    warningLabel->setWordWrap(true);
    warningLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKButton = placeControl<QPushButton>(this, "OKButton", QStringLiteral("OK"), 240, 3600, 1215, 375);
    OKButton->setDefault(true);

    connect(supportAddress, &LinkLabel::clicked, this, &AboutWindow::writeToSupport);
    connect(websiteAddress, &LinkLabel::clicked, this, &AboutWindow::openWebsite);
    connect(OKButton, &QPushButton::clicked, this, &AboutWindow::OKButton_Click);
}

// Technical support: a new mail message to the support address.
void AboutWindow::writeToSupport()
{
    shell.openAddress(QStringLiteral("mailto:") + Addresses::SupportMail);
}

// Website: the product's home page.
void AboutWindow::openWebsite()
{
    shell.openAddress(Addresses::HomePage);
}

void AboutWindow::OKButton_Click()
{
    accept();
}
