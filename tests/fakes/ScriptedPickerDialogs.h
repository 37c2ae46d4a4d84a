#pragma once

#include "platform/PickerDialogs.h"

#include <QStringList>

// Answers from fields set by a test (an empty optional or false is a cancel) and
// records what each dialog was asked to show.
class ScriptedPickerDialogs final : public PickerDialogs {
public:
    std::optional<QColor> chooseColor(QWidget* owner, const ColorRequest& request) override;
    std::optional<FontChoice> chooseFont(QWidget* owner, const FontDescription& start) override;
    bool choosePrinter(QWidget* owner, const PrintDialogOptions& options) override;
    std::optional<QString> defaultPrinter() override;
    bool printerProperties(QWidget* owner, const QString& printerName) override;
    std::optional<int> screenDotsPerInchY() override;

    std::optional<QColor> colorAnswer;
    std::optional<FontChoice> fontAnswer;
    bool printerAnswer = false;
    bool propertiesAnswer = false;
    std::optional<QString> printerName;
    std::optional<int> dotsPerInchY = 96;

    struct ColorAsked {
        QWidget* owner = nullptr;
        ColorRequest request;
    };
    struct FontAsked {
        QWidget* owner = nullptr;
        FontDescription start;
    };
    struct PrinterAsked {
        QWidget* owner = nullptr;
        PrintDialogOptions options;
    };
    struct PropertiesAsked {
        QWidget* owner = nullptr;
        QString printerName;
    };
    std::vector<ColorAsked> colorAsked;
    std::vector<FontAsked> fontAsked;
    std::vector<PrinterAsked> printerAsked;
    std::vector<PropertiesAsked> propertiesAsked;
};
