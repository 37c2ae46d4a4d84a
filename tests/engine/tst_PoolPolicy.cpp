// The pool's rules on their own: when a document is blamed for a crash, when a helper
// is worn out, when starting helpers is given up, and how many helpers a run gets.

#include "engine/client/PoolPolicy.h"

#include <QTest>

namespace {

using AfterLoss = PoolPolicy::AfterLoss;
constexpr qint64 MiB = qint64(1) << 20;

} // namespace

class TestPoolPolicy : public QObject {
    Q_OBJECT

private slots:
    // Only the document a helper was converting is charged, only when the helper died
    // of itself, and only its second crash fails it.
    void aDocumentFailsOnItsSecondCrash()
    {
        const PoolPolicy policy(100, 1000 * MiB);
        int crashes = 0;
        QCOMPARE(policy.afterLoss(true, true, crashes), AfterLoss::TryAgain);
        QCOMPARE(crashes, 1);
        QCOMPARE(policy.afterLoss(false, true, crashes), AfterLoss::TryAgain); // queued behind another
        QCOMPARE(policy.afterLoss(true, false, crashes), AfterLoss::TryAgain); // ended for a timeout
        QCOMPARE(crashes, 1);
        QCOMPARE(policy.afterLoss(true, true, crashes), AfterLoss::Fail);
    }

    void helpersWearOutByDocumentsOrMemory()
    {
        const PoolPolicy policy(3, 500 * MiB);
        const auto small = [] { return 100 * MiB; };
        const auto large = [] { return 600 * MiB; };
        QVERIFY(!policy.worn(2, small));
        QVERIFY(policy.worn(3, small));
        QVERIFY(policy.worn(1, large));
        // A helper that converted nothing yet is LibreOffice's own size: never worn by memory.
        bool asked = false;
        QVERIFY(!policy.worn(0, [&] {
            asked = true;
            return 600 * MiB;
        }));
        QVERIFY(!asked);
    }

    void startingIsGivenUpAfterTwoFailuresInARow()
    {
        PoolPolicy policy(100, 1000 * MiB);
        policy.setSize(2);
        QVERIFY(policy.startAnother(0, true));
        QVERIFY(policy.startAnother(1, true));
        QVERIFY(!policy.startAnother(2, true));
        QVERIFY(!policy.startAnother(0, false)); // no work, no helper
        policy.startFailed();
        policy.helperReady(); // a ready helper between two failures: not in a row
        policy.startFailed();
        QVERIFY(policy.startAnother(0, true));
        policy.startFailed();
        QVERIFY(policy.gaveUpStarting());
        QVERIFY(!policy.startAnother(0, true));
        policy.tryStartingAgain();
        QVERIFY(policy.startAnother(0, true));
        policy.cannotStart(); // no profile: no second try
        QVERIFY(policy.gaveUpStarting());
        policy.setSize(1); // a new run tries again
        QVERIFY(!policy.gaveUpStarting());
    }

    void helpersForARun()
    {
        constexpr qint64 plenty = 64 * 1024 * MiB;
        QCOMPARE(PoolPolicy::helpersForRun(3, 10, 8, plenty), 3);
        QCOMPARE(PoolPolicy::helpersForRun(3, 2, 8, plenty), 2);   // never more than the documents
        QCOMPARE(PoolPolicy::helpersForRun(0, 2, 8, plenty), 1);   // a run of one or two: one
        QCOMPARE(PoolPolicy::helpersForRun(0, 100, 8, plenty), 8); // one a core
        QCOMPARE(PoolPolicy::helpersForRun(0, 5, 8, plenty), 5);
        QCOMPARE(PoolPolicy::helpersForRun(0, 100, 8, 1300 * MiB), 2); // 600 MB a helper
        QCOMPARE(PoolPolicy::helpersForRun(0, 100, 8, 0), 1);
        QCOMPARE(PoolPolicy::helpersForRun(0, 100, 0, plenty), 1);
    }
};

QTEST_APPLESS_MAIN(TestPoolPolicy)
#include "tst_PoolPolicy.moc"
