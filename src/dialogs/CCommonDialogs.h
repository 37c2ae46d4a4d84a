#pragma once

#include "platform/Platform.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <stdexcept>

// Raised by a Show... operation that cannot show its dialog (no owner window yet).
class CommonDialogError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The standard dialogs behind one object with plain properties. A caller makes
// one per command: Init with the owner window, set Title (and Filter), call one
// Show... operation, and when it returns true read FileName or Path.
class CCommonDialogs {
public:
    explicit CCommonDialogs(const Platform& platform);

    void setFontUnderline(bool value) { fontUnderline = value; }
    bool FontUnderline() const { return fontUnderline; }
    void setFontItalic(bool value) { fontItalic = value; }
    bool FontItalic() const { return fontItalic; }
    void setFontBold(bool value) { fontBold = value; }
    bool FontBold() const { return fontBold; }
    void setFontSize(int16_t value) { fontSize = value; }
    int16_t FontSize() const { return fontSize; }
    void setFontName(const QString& value) { fontName = value; }
    QString FontName() const { return fontName; }
    void setColor(int32_t value) { color = value; }
    int32_t Color() const { return color; }
    void setDefExt(const QString& value) { defaultExtension = value; }
    QString DefExt() const { return defaultExtension; }
    void setTitle(const QString& value) { title = value; }
    QString Title() const { return upToNul(title); }

    // The window that owns every dialog of this object.
    void Init(QWidget* owner);

    void setPath(const QString& value) { path = value; }
    QString Path() const { return upToNul(path); }
    void setFileTitle(const QString& value) { fileTitle = value; }
    QString FileTitle() const { return upToNul(fileTitle); }
    QString Filter() const { return filter; }
    void setFilter(const QString& value) { filter = value; }
    QString FileName() const { return upToNul(fileName); }
    void setFileName(const QString& value) { fileName = value; }

    bool ShowPrinter();
    bool ShowFolder();
    bool ShowColor(bool fullOpen);
    bool ShowFont();
    bool ShowOpen();
    bool ShowPrinterProperties();
    bool ShowSave();

private:
    // The longest full name each file dialog has room for: 260 characters plus the
    // terminator for ShowOpen, 255 characters for ShowSave.
    static constexpr qsizetype OpenNameRoom = 260;
    static constexpr qsizetype SaveNameRoom = 255;

    static QString upToNul(const QString& text);
    // Takes a confirmed file's full name, its bare name and its folder.
    void takeChosenFile(const QString& chosen);
    // The owner window; throws CommonDialogError when Init was never called.
    QWidget* ownerWindow() const;

    Platform desktop;
    QString fileTitle;
    QString path;
    QString filter;
    QString fileName;
    int32_t color = 0;
    QString title;
    QPointer<QWidget> owner;
    bool initialised = false;
    QString defaultExtension;
    QString fontName;
    int16_t fontSize = 0;
    bool fontBold = false;
    bool fontItalic = false;
    bool fontUnderline = false;
};
