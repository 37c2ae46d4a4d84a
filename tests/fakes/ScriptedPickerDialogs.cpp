#include "fakes/ScriptedPickerDialogs.h"

std::optional<QColor> ScriptedPickerDialogs::chooseColor(QWidget* owner,
                                                         const ColorRequest& request)
{
    colorAsked.push_back({owner, request});
    return colorAnswer;
}

std::optional<FontChoice> ScriptedPickerDialogs::chooseFont(QWidget* owner,
                                                            const FontDescription& start)
{
    fontAsked.push_back({owner, start});
    return fontAnswer;
}

bool ScriptedPickerDialogs::choosePrinter(QWidget* owner, const PrintDialogOptions& options)
{
    printerAsked.push_back({owner, options});
    return printerAnswer;
}

std::optional<QString> ScriptedPickerDialogs::defaultPrinter()
{
    return printerName;
}

bool ScriptedPickerDialogs::printerProperties(QWidget* owner, const QString& name)
{
    propertiesAsked.push_back({owner, name});
    return propertiesAnswer;
}

std::optional<int> ScriptedPickerDialogs::screenDotsPerInchY()
{
    return dotsPerInchY;
}
