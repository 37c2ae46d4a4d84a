#include "dialogs/CCommonDialogs.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <limits>

namespace {

constexpr int PointsPerInch = 72;

// Color holds red in the low byte, then green, then blue; the high byte is unused.
QColor colorFromValue(int32_t value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int32_t valueFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

// number × numerator / denominator, rounded to the nearest integer (halves away from
// zero); -1 when the denominator is 0 or the result does not fit.
int mulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const int64_t product = int64_t{number} * numerator;
    const int64_t divisor = std::abs(int64_t{denominator});
    const int64_t magnitude = (std::abs(product) + divisor / 2) / divisor;
    const int64_t result = (product < 0) != (denominator < 0) ? -magnitude : magnitude;
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(result);
}

// The face name field holds 31 characters; a NUL ends it early.
QString faceNameFrom(const QString& fontName)
{
    const qsizetype nul = fontName.indexOf(QChar(0));
    QString face = nul < 0 ? fontName : fontName.left(nul);
    if (face.size() > FontDescription::MaxFaceNameLength) {
        face.truncate(FontDescription::MaxFaceNameLength);
        if (face.back().isHighSurrogate())
            face.chop(1); // never keep half a character
    }
    return face;
}

// The font and printer-properties dialogs go on past a step that fails; only their
// result tells the caller anything, so the step's failure is logged for whoever
// wonders why nothing showed.
template <typename Step>
void skipOnFailure(Step&& step)
{
    try {
        step();
    } catch (const std::exception& error) {
        qWarning("Dialog step skipped: %s", error.what());
    }
}

} // namespace

bool CCommonDialogs::ShowColor(bool fullOpen)
{
    QWidget* dialogOwner = ownerWindow();
    ColorRequest request;
    request.start = colorFromValue(color);
    request.fullOpen = fullOpen;
    // Custom colours the user mixes are not kept from one call to the next.
    request.customColors.fill(QColor(Qt::black));
    const std::optional<QColor> chosen = desktop.pickerDialogs.chooseColor(dialogOwner, request);
    if (!chosen)
        return false;
    color = valueFromColor(*chosen);
    return true;
}

bool CCommonDialogs::ShowFont()
{
    PickerDialogs& dialogs = desktop.pickerDialogs;

    QWidget* dialogOwner = nullptr;
    skipOnFailure([&] { dialogOwner = ownerWindow(); });

    FontDescription start;
    start.faceName = faceNameFrom(fontName);
    start.italic = fontItalic;
    start.underline = fontUnderline;
    start.weight = fontBold ? FontDescription::BoldWeight : FontDescription::DefaultWeight;
    skipOnFailure([&] {
        if (const std::optional<int> dotsPerInch = dialogs.screenDotsPerInchY())
            start.height = -mulDiv(fontSize, *dotsPerInch, PointsPerInch);
    });

    // The font list serves screen and printer alike, so no printer is asked for.
    std::optional<FontChoice> chosen;
    skipOnFailure([&] { chosen = dialogs.chooseFont(dialogOwner, start); });
    if (!chosen)
        return false;
    fontName = chosen->faceName;
    fontBold = chosen->bold;
    fontItalic = chosen->italic;
    // Whole points; half points are dropped.
    fontSize = static_cast<int16_t>(std::clamp(chosen->pointSizeTenths / 10, 0,
                                               int{std::numeric_limits<int16_t>::max()}));
    // The dialog offers no effects, so FontUnderline and Color stay as they are.
    return true;
}

bool CCommonDialogs::ShowPrinter()
{
    QWidget* dialogOwner = ownerWindow();
    PrintDialogOptions options;
    options.selection = false;
    options.pageNumbers = false;
    options.printToFile = false;
    // What the user picks (printer, copies) is not kept.
    return desktop.pickerDialogs.choosePrinter(dialogOwner, options);
}

bool CCommonDialogs::ShowPrinterProperties()
{
    PickerDialogs& dialogs = desktop.pickerDialogs;

    std::optional<QString> printer;
    skipOnFailure([&] { printer = dialogs.defaultPrinter(); });
    if (!printer)
        return false;

    // Without an owner the properties cannot be shown: false, nothing on screen.
    bool confirmed = false;
    skipOnFailure([&] { confirmed = dialogs.printerProperties(ownerWindow(), *printer); });
    return confirmed;
}
