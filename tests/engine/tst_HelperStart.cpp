// What the user is told when the helper cannot serve: scripts stand in for a helper
// that cannot run, dies while starting, or works on without answering.
#include "engine/client/LibreOfficeWordAutomation.h"
#include "engine/word/ErrorNumbers.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace std::chrono_literals;

class TestHelperStart : public QObject {
    Q_OBJECT

private:
    QTemporaryDir work;

    QString script(const QString& name, const QByteArray& body, bool executable = true)
    {
        const QString path = work.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0)
            return {};
        file.close();
        QFile::setPermissions(path, executable ? QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                               : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return path;
    }

    LibreOfficeSettings settings(const QString& helperPath)
    {
        LibreOfficeSettings settings = LibreOfficeSettings::forProgramFolder(QString());
        settings.helperPath = helperPath;
        settings.profileRoot = work.filePath(QStringLiteral("profiles"));
        settings.startTimeout = 20s;
        return settings;
    }

private slots:
    void helperThatCannotServeIsNamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not executable") << "plain-file" << QByteArray("echo ready\n") << false << "cannot be run";
        QTest::newRow("missing") << "" << QByteArray() << true << "cannot be run";
        QTest::newRow("ends at once") << "ends" << QByteArray("exit 3\n") << true << "stopped while it was starting";
        QTest::newRow("crashes while starting")
            << "crashes" << QByteArray("kill -SEGV $$\n") << true << "stopped while it was starting";
        QTest::newRow("loader out of reach")
            << "noloader" << QByteArray("echo 'failed noloader no%20context'\n") << true
            << "document loader cannot be reached (no context)";
    }

    void helperThatCannotServeIsNamed()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, body);
        QFETCH(bool, executable);
        QFETCH(QString, expected);
        const QString helper = name.isEmpty() ? work.filePath(QStringLiteral("no-such-helper"))
                                              : script(name, body, executable);
        QVERIFY(!helper.isEmpty());
        LibreOfficeWordAutomation word(settings(helper));
        try {
            word.CreateObject();
            QFAIL("created an application without a working helper");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), WordErrors::CannotCreate);
            QVERIFY2(error.Description().contains(expected), qPrintable(error.Description()));
            // LibreOffice is installed: advice to install it would send the user astray.
            QVERIFY2(!error.Description().contains(QLatin1String("apt-get")), qPrintable(error.Description()));
        }
    }

    void documentThatKeepsLibreOfficeBusyTakesTooLong()
    {
        // Ready, then busy for ever on the first request.
        const QString helper = script(QStringLiteral("busy"), "echo ready\nread request\nwhile :; do :; done\n");
        LibreOfficeWordAutomation word(settings(helper));
        word.setCallTimeout(2s);
        auto application = word.CreateObject();
        const qint64 pid = word.helperProcessId();
        try {
            application->DocumentsOpen(work.filePath(QStringLiteral("large.doc")));
            QFAIL("the call returned");
        } catch (const AutomationError& error) {
            QCOMPARE(error.Number(), LibreOfficeErrors::TimedOut);
            QVERIFY2(error.Description().contains(QLatin1String("took longer than 2 seconds")),
                     qPrintable(error.Description()));
        }
        QTRY_VERIFY(::kill(pid_t(pid), 0) != 0);
    }
};

QTEST_GUILESS_MAIN(TestHelperStart)
#include "tst_HelperStart.moc"
