#include "platform/LibreOfficeWordAutomation.h"

namespace {

// Stands in until the LibreOffice helper is wired up: every create fails as a
// missing word processor would.
class UnavailableWordAutomation final : public WordAutomation {
public:
    std::unique_ptr<WordApplication> CreateObject() override
    {
        throw AutomationError(WordErrors::CannotCreate,
                              QStringLiteral("LibreOffice could not be started."));
    }
};

} // namespace

std::unique_ptr<WordAutomation> makeLibreOfficeWordAutomation(const QString&)
{
    return std::make_unique<UnavailableWordAutomation>();
}
