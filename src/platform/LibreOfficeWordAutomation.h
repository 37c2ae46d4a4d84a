#pragma once

#include "platform/WordAutomation.h"

#include <QString>
#include <memory>

// The word processor behind the program: LibreOffice, in a helper process of our own.
std::unique_ptr<WordAutomation> makeLibreOfficeWordAutomation(const QString& programFolder);
