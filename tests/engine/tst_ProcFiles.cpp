// What the program reads in /proc, read from this process, whose figures the test
// knows from other calls.

#include "engine/files/ProcFiles.h"

#include <QTest>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/times.h>
#include <unistd.h>

namespace {

qint64 processorMillisecondsByTimes()
{
    tms used {};
    times(&used);
    return qint64(used.tms_utime + used.tms_stime) * 1000 / sysconf(_SC_CLK_TCK);
}

} // namespace

class TestProcFiles : public QObject {
    Q_OBJECT

private slots:
    // The fields after the command name are found also when the name holds blanks and
    // brackets of its own.
    void processorTimeOfAProcessWithAnAwkwardName()
    {
        QVERIFY(prctl(PR_SET_NAME, "tst) 1 (2 3") == 0);
        volatile qint64 sum = 0;
        while (processorMillisecondsByTimes() < 50)
            for (int i = 0; i < 100000; ++i)
                sum = sum + i;
        const qint64 before = processorMillisecondsByTimes();
        const qint64 read = ProcFiles::processorMilliseconds(getpid());
        const qint64 after = processorMillisecondsByTimes();
        QVERIFY2(before <= read && read <= after, qPrintable(QStringLiteral("%1 %2 %3").arg(before).arg(read).arg(after)));
        QCOMPARE(ProcFiles::processorMilliseconds(0), -1);
    }

    void memoryFigures()
    {
        QByteArray touched(64 << 20, 'x'); // resident for sure
        const qint64 resident = ProcFiles::residentBytes(getpid());
        QVERIFY2(resident >= touched.size(), qPrintable(QString::number(resident)));
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        QVERIFY(resident <= qint64(usage.ru_maxrss) * 1024 + (1 << 20));
        QCOMPARE(ProcFiles::residentBytes(0), 0);
        QVERIFY(ProcFiles::availableMemory() > 0);
        const ProcFiles::OwnStatm own;
        QVERIFY(own.isOpen());
        QVERIFY(own.dataBytes() >= touched.size());
    }

    void statmFields()
    {
        const char text[] = "1000 200 30 4 0 500 0\n";
        QCOMPARE(ProcFiles::statmField(text, 1), 200);
        QCOMPARE(ProcFiles::statmField(text, 5), 500);
        QCOMPARE(ProcFiles::statmField(text, 7), -1);
        QCOMPARE(ProcFiles::statmField("", 0), -1);
    }
};

QTEST_APPLESS_MAIN(TestProcFiles)
#include "tst_ProcFiles.moc"
