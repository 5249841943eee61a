#pragma once
// Texts between Qt and the office's automation interface: both hold UTF-16.

#include <QString>
#include <rtl/ustring.hxx>

inline rtl::OUString toOffice(const QString &s)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode *>(s.utf16()), sal_Int32(s.size()));
}

inline QString fromOffice(const rtl::OUString &s)
{
    return QString(reinterpret_cast<const QChar *>(s.getStr()), s.getLength());
}
