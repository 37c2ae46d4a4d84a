// The look-ahead rule alone: which documents of a run are queued, in which order, how
// far ahead, and which a helper takes.

#include "engine/client/LookAhead.h"

#include <QTest>

namespace {

constexpr qint64 MB = qint64(1) << 20;

// Every document `another` queues, in order, while `turn` and `held` stay.
QList<qsizetype> queueAll(LookAhead& rule, qsizetype turn, qint64 held = 0)
{
    QList<qsizetype> queued;
    while (const std::optional<qsizetype> index = rule.another(turn, {held, 0}))
        queued << *index;
    return queued;
}

std::shared_ptr<Conversion> conversion(bool expectedLong)
{
    auto made = std::make_shared<Conversion>(QString(), QString(), QByteArray());
    made->expectedLong = expectedLong;
    return made;
}

} // namespace

class TestRunOrder : public QObject {
    Q_OBJECT

private slots:
    // Long documents first, longest first, wherever they are in the run; the others
    // in the run's order.
    void longDocumentsGoFirst()
    {
        std::vector<LookAhead::Document> run(10, {300, MB});
        run[2].milliseconds = 6000;
        run[9].milliseconds = 8000;
        run[5].milliseconds = 700; // longer than most, yet not long
        LookAhead rule;
        rule.begin(run, 512 * MB);
        QCOMPARE(queueAll(rule, {}), (QList<qsizetype>{0, 9, 2, 1, 3, 4, 5, 6, 7, 8}));
        QVERIFY(rule.isLong(9) && rule.isLong(2) && !rule.isLong(5));
        // A run of like documents keeps its own order.
        LookAhead even;
        even.begin(std::vector<LookAhead::Document>(5, {2000, MB}), 512 * MB);
        QCOMPARE(queueAll(even, {}), (QList<qsizetype>{0, 1, 2, 3, 4}));
        QVERIFY(!even.isLong(0));
    }

    // What is held stays under the cap; a document that does not fit lets smaller ones
    // by; the one whose turn it is goes however large it is; documents the run passed
    // over are never queued.
    void aheadAsFarAsTheCapAllows()
    {
        std::vector<LookAhead::Document> run(6, {300, 10 * MB});
        run[3].stagedBytes = 80 * MB;
        LookAhead rule;
        rule.begin(run, 100 * MB);
        QCOMPARE(queueAll(rule, 0, 70 * MB), (QList<qsizetype>{0, 1, 2, 4, 5}));
        QCOMPARE(queueAll(rule, 3, 95 * MB), QList<qsizetype>{3});
        LookAhead skipped;
        skipped.begin(run, 100 * MB);
        QCOMPARE(queueAll(skipped, 4), (QList<qsizetype>{4, 5}));
        QCOMPARE(queueAll(skipped, 6), QList<qsizetype>{});
        // Large documents, staged on disk, are held apart from the cap in memory.
        run[1] = {300, 80 * MB, 0, true};
        LookAhead large;
        large.begin(run, 100 * MB);
        QCOMPARE(queueAll(large, 0, 95 * MB), (QList<qsizetype>{0, 1}));
        QCOMPARE(large.another(0, {0, LookAhead::diskCap}), (std::optional<qsizetype>(2)));
        QCOMPARE(LookAhead::capFor(qint64(16) << 30), 512 * MB);
        QCOMPARE(LookAhead::capFor(1024 * MB), 256 * MB);
        QCOMPARE(LookAhead::capFor(0), 64 * MB);
    }

    // Until its estimate comes, a document is queued only at its turn; estimates that
    // come later are planned with, the long ones first among what is not queued yet.
    void estimatesComeLater()
    {
        LookAhead rule;
        rule.begin(6, 512 * MB);
        QCOMPARE(queueAll(rule, {}), QList<qsizetype>{0});
        QVERIFY(!rule.isLong(0));
        rule.estimate(0, std::vector<LookAhead::Document>(3, {300, MB}));
        QCOMPARE(queueAll(rule, {}), (QList<qsizetype>{1, 2}));
        rule.estimate(3, {{300, MB}, {300, MB}, {9000, MB}});
        QVERIFY(rule.isLong(5));
        QCOMPARE(queueAll(rule, {}), (QList<qsizetype>{5, 3, 4}));
        // Estimates that do not fit the run are not taken.
        rule.estimate(4, std::vector<LookAhead::Document>(3, {9000, MB}));
        QVERIFY(!rule.isLong(4));
    }

    // A helper converting a long document takes nothing behind it, and a long one goes
    // only to a helper holding nothing; one that would need too much memory beside the
    // other helpers' is passed over; a copy not ready holds the queue.
    void whatAHelperTakes()
    {
        LookAhead rule;
        LookAhead::Queue waiting{conversion(false), conversion(true)};
        const LookAhead::Queue idle;
        const LookAhead::Queue busyShort{conversion(false)};
        const LookAhead::Queue busyLong{conversion(true)};
        // The long one first, though queued later; only to a helper that holds nothing.
        QCOMPARE(rule.next(waiting, idle, {}), waiting.begin() + 1);
        QCOMPARE(rule.next(waiting, busyShort, {}), waiting.begin());
        QCOMPARE(rule.next(waiting, busyLong, {}), waiting.end());
        // While another helper converts a long one, the ordinary ones go first.
        QCOMPARE(rule.next(waiting, idle, {0, true}), waiting.begin());
        waiting.back()->expectedMemory = LookAhead::memoryBudget / 2;
        QCOMPARE(rule.next(waiting, idle, {LookAhead::memoryBudget / 2}), waiting.begin() + 1);
        QCOMPARE(rule.next(waiting, idle, {LookAhead::memoryBudget}), waiting.begin());
        auto copyingLong = std::make_shared<StagedCopy>();
        waiting.back()->copy = copyingLong;
        QCOMPARE(rule.next(waiting, idle, {}), waiting.begin()); // not ready: another goes meanwhile
        waiting.pop_front();
        QCOMPARE(rule.next(waiting, busyShort, {}), waiting.end());
        QCOMPARE(rule.next(waiting, idle, {}), waiting.end());
        copyingLong->ready = true;
        QCOMPARE(rule.next(waiting, idle, {}), waiting.begin());
        QCOMPARE(rule.next(waiting, idle, {0, true}), waiting.begin()); // no ordinary one waits
    }
};

QTEST_GUILESS_MAIN(TestRunOrder)
#include "tst_RunOrder.moc"
