#include "platform/PickerDialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr qreal PointsPerInch = 72.0;

// A dialog with an owner blocks only that window, as the file dialogs do.
void makeModalTo(QDialog& dialog, QWidget* owner)
{
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
}

QFont fontFrom(const FontDescription& start, int dotsPerInch)
{
    QFont font; // the program's default font stands in for "no particular typeface"
    if (!start.faceName.isEmpty())
        font.setFamilies({start.faceName});
    // Qt's dialog works in points. A positive (cell) height includes the leading the
    // character height leaves out; the difference is too small to matter here.
    if (start.height != 0 && dotsPerInch > 0)
        font.setPointSizeF(std::abs(start.height) * PointsPerInch / dotsPerInch);
    font.setWeight(start.weight == FontDescription::DefaultWeight
                       ? QFont::Normal
                       : QFont::Weight(std::clamp(start.weight, 1, 1000)));
    font.setItalic(start.italic);
    font.setUnderline(start.underline);
    // The dialog lists installed typefaces only; a name the system substitutes (Arial
    // served by Liberation Sans) would otherwise start it on the first one in the list.
    font.setFamilies({QFontInfo(font).family()});
    return font;
}

FontChoice choiceFrom(const QFont& font, int dotsPerInch)
{
    qreal points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0 && dotsPerInch > 0)
        points = font.pixelSize() * PointsPerInch / dotsPerInch;
    FontChoice choice;
    choice.faceName = font.family();
    choice.pointSizeTenths = qRound(std::max<qreal>(points, 0) * 10);
    choice.bold = font.weight() >= QFont::Bold;
    choice.italic = font.style() != QFont::StyleNormal;
    return choice;
}

// The caller reads back typeface, size, bold and italic only, so the underline and
// strike-out boxes would offer choices that are silently dropped: hide them.
void hideEffects(QFontDialog& dialog)
{
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
        box->hide();
        if (auto* group = qobject_cast<QGroupBox*>(box->parentWidget()))
            group->hide();
    }
}

} // namespace

std::optional<QColor> QtPickerDialogs::chooseColor(QWidget* owner, const ColorRequest& request)
{
    // Qt keeps one custom-colour table for the whole program and stores it in its own
    // settings file when a dialog closes. Filling it from the request before and after
    // the dialog keeps the user's mixes from reaching the next call or that file.
    auto fillCustomColors = [&request] {
        for (int index = 0; index < ColorRequest::CustomColorCount; ++index)
            QColorDialog::setCustomColor(index, request.customColors.at(index));
    };
    fillCustomColors();
    // Qt's dialog always shows its custom-colour editor, so it is always fully open.
    QColorDialog dialog(owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setCurrentColor(request.start);
    makeModalTo(dialog, owner);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    fillCustomColors();
    if (!confirmed)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<FontChoice> QtPickerDialogs::chooseFont(QWidget* owner,
                                                      const FontDescription& start)
{
    const int dotsPerInch = screenDotsPerInchY().value_or(0);
    QFontDialog dialog(fontFrom(start, dotsPerInch), owner);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    hideEffects(dialog);
    makeModalTo(dialog, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return choiceFrom(dialog.selectedFont(), dotsPerInch);
}

bool QtPickerDialogs::choosePrinter(QWidget* owner, const PrintDialogOptions& options)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, owner);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, options.selection);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, options.pageNumbers);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, options.printToFile);
    makeModalTo(dialog, owner);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtPickerDialogs::defaultPrinter()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull() || printer.printerName().isEmpty())
        return std::nullopt;
    return printer.printerName();
}

bool QtPickerDialogs::printerProperties(QWidget* owner, const QString& printerName)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull())
        return false;
    // Qt's page set-up dialog is the public face of a printer's settings.
    QPrinter printer(info);
    QPageSetupDialog dialog(&printer, owner);
    makeModalTo(dialog, owner);
    return dialog.exec() == QDialog::Accepted;
}

std::optional<int> QtPickerDialogs::screenDotsPerInchY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    return qRound(screen->logicalDotsPerInchY());
}

