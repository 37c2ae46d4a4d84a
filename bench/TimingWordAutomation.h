#pragma once

#include "engine/word/WordAutomation.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <vector>

// Passes every call on to the real word processor and notes, per application object,
// which document it opened, how its calls ended and how long it lived.
class TimingWordAutomation final : public WordAutomation {
public:
    struct Document {
        QString name;
        int32_t result = 1; // as ConvertDocument reports it: 1, 2 (error > 0) or 0 (error <= 0)
        qint64 milliseconds = 0;
    };

    explicit TimingWordAutomation(WordAutomation& real) : real(real) {}

    std::unique_ptr<WordApplication> CreateObject() override
    {
        documents.push_back({});
        QElapsedTimer timer;
        timer.start();
        try {
            return std::make_unique<Application>(real.CreateObject(), *this, documents.size() - 1, timer);
        } catch (const AutomationError& error) {
            finish(documents.size() - 1, error, timer);
            throw;
        }
    }

    // The plan goes on to the real word processor, which may work ahead on it.
    void Announce(const QStringList& documentPaths, int32_t FileFormat) override
    {
        real.Announce(documentPaths, FileFormat);
    }

    // The document whose application object was created last: the one in progress.
    QString current() const { return documents.empty() ? QString() : documents.back().name; }

    std::vector<Document> documents;

private:
    void finish(size_t index, const AutomationError& error, const QElapsedTimer& timer)
    {
        documents[index].result = error.Number() > 0 ? 2 : 0;
        documents[index].milliseconds = timer.elapsed();
    }

    class Application final : public WordApplication {
    public:
        Application(std::unique_ptr<WordApplication> real, TimingWordAutomation& owner, size_t index,
                    QElapsedTimer timer)
            : real(std::move(real)), owner(owner), index(index), timer(timer)
        {
        }
        ~Application() override { owner.documents[index].milliseconds = timer.elapsed(); }

        void DocumentsOpen(const QString& path) override
        {
            owner.documents[index].name = QFileInfo(path).fileName();
            pass([&] { real->DocumentsOpen(path); });
        }
        void ActiveDocumentSaveAs(const QString& path, int32_t format) override
        {
            pass([&] { real->ActiveDocumentSaveAs(path, format); });
        }
        void ActiveDocumentClose() override { pass([&] { real->ActiveDocumentClose(); }); }
        void Quit() override { pass([&] { real->Quit(); }); }

    private:
        template <typename Call>
        void pass(Call call)
        {
            try {
                call();
            } catch (const AutomationError& error) {
                if (owner.documents[index].result == 1)
                    owner.documents[index].result = error.Number() > 0 ? 2 : 0;
                throw;
            }
        }

        std::unique_ptr<WordApplication> real;
        TimingWordAutomation& owner;
        size_t index;
        QElapsedTimer timer;
    };

    WordAutomation& real;
};
