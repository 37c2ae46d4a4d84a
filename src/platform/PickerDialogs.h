#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QWidget;

struct ColorRequest {
    static constexpr int CustomColorCount = 16;

    QColor start;
    // Ask for the custom-colour part to be open from the start.
    bool fullOpen = false;
    // The dialog's custom-colour table; the caller fills it anew for every call.
    std::array<QColor, CustomColorCount> customColors;
};

// The font the font dialog starts on, in the screen-pixel terms of a font description.
struct FontDescription {
    static constexpr int MaxFaceNameLength = 31;
    static constexpr int DefaultWeight = 0;
    static constexpr int BoldWeight = 700;

    // Negative: the character height in screen pixels; positive: the cell height;
    // 0: the default size.
    int height = 0;
    // DefaultWeight or a weight from 1 (thin) to 1000 (black); BoldWeight is bold.
    int weight = DefaultWeight;
    bool italic = false;
    bool underline = false;
    // Empty: no particular typeface. At most MaxFaceNameLength characters.
    QString faceName;

    bool operator==(const FontDescription&) const = default;
};

// What the user confirmed in the font dialog.
struct FontChoice {
    QString faceName;
    int pointSizeTenths = 0; // 125 is 12.5 pt
    bool bold = false;
    bool italic = false;
};

struct PrintDialogOptions {
    bool selection = false;   // offer "print the selection"
    bool pageNumbers = false; // offer a page range
    bool printToFile = false; // offer printing into a file

    bool operator==(const PrintDialogOptions&) const = default;
};

// The standard colour, font and printer dialogs, each modal to its owner (no owner:
// modal to the whole program), and the screen and printer facts they need.
class PickerDialogs {
public:
    virtual ~PickerDialogs() = default;

    // The confirmed colour, or nothing when the user cancelled.
    virtual std::optional<QColor> chooseColor(QWidget* owner, const ColorRequest& request) = 0;
    // The confirmed font, or nothing when the user cancelled.
    virtual std::optional<FontChoice> chooseFont(QWidget* owner, const FontDescription& start) = 0;
    // True when the user confirmed the print dialog.
    virtual bool choosePrinter(QWidget* owner, const PrintDialogOptions& options) = 0;
    // The default printer's name, or nothing when there is none.
    virtual std::optional<QString> defaultPrinter() = 0;
    // Shows the named printer's properties; true when the user confirmed them.
    virtual bool printerProperties(QWidget* owner, const QString& printerName) = 0;
    // The screen's logical dots per inch, vertically; nothing without a screen.
    virtual std::optional<int> screenDotsPerInchY() = 0;
};

// Qt's own (non-native) dialogs; printers come from the system's print service.
class QtPickerDialogs final : public PickerDialogs {
public:
    std::optional<QColor> chooseColor(QWidget* owner, const ColorRequest& request) override;
    std::optional<FontChoice> chooseFont(QWidget* owner, const FontDescription& start) override;
    bool choosePrinter(QWidget* owner, const PrintDialogOptions& options) override;
    std::optional<QString> defaultPrinter() override;
    bool printerProperties(QWidget* owner, const QString& printerName) override;
    std::optional<int> screenDotsPerInchY() override;
};

