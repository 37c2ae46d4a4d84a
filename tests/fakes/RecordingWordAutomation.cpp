#include "fakes/RecordingWordAutomation.h"

namespace {

class RecordingWordApplication final : public WordApplication {
public:
    explicit RecordingWordApplication(RecordingWordAutomation& owner) : owner(owner) {}

    void DocumentsOpen(const QString& documentPath) override
    {
        owner.record(QStringLiteral("Open ") + documentPath);
    }
    void ActiveDocumentSaveAs(const QString& outputPath, int32_t FileFormat) override
    {
        owner.record(QStringLiteral("SaveAs %1 %2").arg(outputPath).arg(FileFormat));
        if (owner.onSaveAs)
            owner.onSaveAs(outputPath, FileFormat);
    }
    void ActiveDocumentClose() override { owner.record(QStringLiteral("Close")); }
    void Quit() override { owner.record(QStringLiteral("Quit")); }

private:
    RecordingWordAutomation& owner;
};

} // namespace

void RecordingWordAutomation::record(const QString& call)
{
    if (fault) {
        if (auto error = fault(call)) {
            calls << call + QStringLiteral(" !") + QString::number(error->Number());
            throw *error;
        }
    }
    calls << call;
}

std::unique_ptr<WordApplication> RecordingWordAutomation::CreateObject()
{
    record(QStringLiteral("CreateObject"));
    ++createdObjects;
    return std::make_unique<RecordingWordApplication>(*this);
}
