#include "HelperMemory.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QThread>

// The benchmark's memory figures come from walking this process's descendants in /proc:
// a helper that is a grandchild, or one started from another thread, still counts.
class TestHelperMemory : public QObject {
    Q_OBJECT

private:
    static HelperMemory::Figures waitForSamples(const HelperMemory& memory, int helpers)
    {
        QElapsedTimer clock;
        clock.start();
        while (memory.figures().mostAtOnce < helpers && clock.elapsed() < 5000)
            QThread::msleep(20);
        QThread::msleep(100);
        return memory.figures();
    }

    static void stop(QProcess& process)
    {
        process.kill();
        process.waitForFinished();
    }

private slots:
    void countsDescendantsByName()
    {
        const HelperMemory memory(QStringLiteral("sleep"));
        QProcess child;
        child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        // The shell starts its own sleep: a grandchild. Unrelated processes are left out.
        QProcess shell;
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("sleep 3; true")});
        QVERIFY(child.waitForStarted() && shell.waitForStarted());

        const HelperMemory::Figures figures = waitForSamples(memory, 2);
        stop(shell);
        stop(child);
        QCOMPARE(figures.mostAtOnce, 2);
        QCOMPARE(figures.started, 2);
        QVERIFY(figures.peakSingle > 0);
        QVERIFY(figures.peakTogether >= figures.peakSingle);
        QVERIFY(figures.peakTogether < 64 * 1024 * 1024);
    }

    void leavesOutAHelpersOwnChildrenOfItsName()
    {
        const HelperMemory memory(QStringLiteral("sh"));
        QProcess helper;
        helper.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("sh -c 'sleep 3; true'; true")});
        QVERIFY(helper.waitForStarted());
        QThread::msleep(300);
        const HelperMemory::Figures figures = waitForSamples(memory, 1);
        stop(helper);
        QCOMPARE(figures.mostAtOnce, 1);
        QCOMPARE(figures.started, 1);
    }

    void countsProcessesStartedFromAnotherThread()
    {
        const HelperMemory memory(QStringLiteral("sleep"));
        std::unique_ptr<QThread> starter(QThread::create([] {
            QProcess child;
            child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
            if (child.waitForStarted())
                QThread::msleep(500);
            stop(child);
        }));
        starter->start();
        const HelperMemory::Figures figures = waitForSamples(memory, 1);
        starter->wait();
        QCOMPARE(figures.mostAtOnce, 1);
        QCOMPARE(figures.started, 1);
    }

    void figuresStayAtTheirPeakAfterHelpersEnd()
    {
        const HelperMemory memory(QStringLiteral("sleep"));
        QProcess child;
        child.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(child.waitForStarted());
        const int64_t peak = waitForSamples(memory, 1).peakTogether;
        stop(child);
        QThread::msleep(100);
        QVERIFY(peak > 0);
        QVERIFY(memory.figures().peakTogether >= peak);
        QCOMPARE(memory.figures().started, 1);
    }
};

QTEST_GUILESS_MAIN(TestHelperMemory)
#include "tst_HelperMemory.moc"
