#pragma once

#include "engine/word/ErrorNumbers.h"

#include <QString>
#include <cstdint>
#include <exception>

// An error raised by a call into the document engine: a signed number and a
// description the user can act on. Positive numbers are the engine's own errors;
// zero or negative ones mean the call itself did not get through.
class AutomationError : public std::exception {
public:
    AutomationError(int32_t number, QString description)
        : errorNumber(number), errorDescription(std::move(description)),
          utf8(errorDescription.toUtf8())
    {
    }
    int32_t Number() const { return errorNumber; }
    const QString& Description() const { return errorDescription; }
    const char* what() const noexcept override { return utf8.constData(); }

private:
    int32_t errorNumber;
    QString errorDescription;
    QByteArray utf8;
};
