#pragma once

// LibreOffice's headers come first: Qt's keywords must not meet them.
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <rtl/ustring.hxx>

#include <QString>
#include <QUrl>

// Qt's values as LibreOffice's interfaces take them, and back.

inline rtl::OUString toOUString(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), text.size());
}

inline QString toQString(const rtl::OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

inline rtl::OUString fileUrl(const QString& path)
{
    return toOUString(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded(QUrl::FullyEncoded)));
}

inline com::sun::star::beans::PropertyValue property(const char* name, const com::sun::star::uno::Any& value)
{
    com::sun::star::beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = value;
    return result;
}
