#include "app/Dialog1.h"

#include "app/Addresses.h"
#include "app/LinkLabel.h"
#include "app/Twips.h"
#include "platform/Shell.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

Dialog1::Dialog1(Shell& shell, QWidget* parent) : QDialog(parent), shell(shell)
{
    setObjectName(QStringLiteral("Dialog1"));
    setWindowTitle(QStringLiteral("About us"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(4908, logicalDpiX()), twipsToPixels(4116, logicalDpiY()));

    Label1 = placeControl<QLabel>(this, "Label1", QStringLiteral("Varnello"), 240, 120, 4400, 420);
    QFont titleFont = Label1->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    Label4 = placeControl<QLabel>(this, "Label4", QStringLiteral("Version:2009.9.9"), 240, 600, 4400, 255);

    Frame1 = new QFrame(this); // owned by the dialog
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setGeometry(twipsRect(*this, 240, 960, 4428, 1500));
    Label3 = placeControl<QLabel>(Frame1, "Label3", QStringLiteral("Technical Support:"), 120, 180, 1500,
                           255);
    Label2 = placeControl<LinkLabel>(Frame1, "Label2", Addresses::SupportMail, 1680, 180, 2640, 255);
    Label7 = placeControl<QLabel>(Frame1, "Label7", QStringLiteral(" Website:"), 120, 540, 1500, 255);
    Label8 = placeControl<LinkLabel>(Frame1, "Label8", Addresses::HomePage, 1680, 540, 2640, 255);
    Label6 = placeControl<QLabel>(Frame1, "Label6",
                           QStringLiteral("Copyright (C) 2009 Varnello. All rights reserved."), 120,
                           960, 4200, 255);

    Label5 = placeControl<QLabel>(
        this, "Label5",
        QStringLiteral("Warning: this program is protected by copyright law and international "
                       "treaties. Unauthorized reproduction or distribution of it may result in "
                       "civil and criminal penalties."),
        240, 2520, 4428, 1000);
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKButton = placeControl<QPushButton>(this, "OKButton", QStringLiteral("OK"), 240, 3600, 1215, 375);
    OKButton->setDefault(true);

    connect(Label2, &LinkLabel::clicked, this, &Dialog1::Label2_Click);
    connect(Label8, &LinkLabel::clicked, this, &Dialog1::Label8_Click);
    connect(OKButton, &QPushButton::clicked, this, &Dialog1::OKButton_Click);
}

// Technical support: a new mail message to the support address.
void Dialog1::Label2_Click()
{
    shell.openAddress(QStringLiteral("mailto:") + Addresses::SupportMail);
}

// Website: the product's home page.
void Dialog1::Label8_Click()
{
    shell.openAddress(Addresses::HomePage);
}

void Dialog1::OKButton_Click()
{
    accept();
}
