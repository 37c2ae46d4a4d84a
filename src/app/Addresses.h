#pragma once

#include <QString>

// Where Home page, Website and Technical Support lead.
namespace Addresses {
inline const QString HomePage = QStringLiteral("https://www.varnello.example/");
inline const QString SupportMail = QStringLiteral("support@varnello.example");
} // namespace Addresses
