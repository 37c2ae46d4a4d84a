// What the run's planning reads of a document before converting it, from packages the
// test writes itself, sane and hostile.

#include "ZipPackage.h"

#include "engine/client/ConversionCostEstimate.h"
#include "engine/client/CostEstimator.h"
#include "engine/client/LookAhead.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using Measures = ConversionCostEstimate::Measures;

class TestConversionCostEstimate : public QObject {
    Q_OBJECT

    QTemporaryDir work;

    QString package(const QString& name, const QList<zippackage::Part>& parts)
    {
        const QString path = work.filePath(name);
        return zippackage::writePackage(path, parts) ? path : QString();
    }
    QString plainFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(work.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
    }

private slots:
    // The sizes come from the directory, the pages from app.xml, whatever prefix it uses.
    void packageMeasures()
    {
        const QString path = package(QStringLiteral("report.docx"),
                                     {{"word/document.xml", zippackage::DocumentStart, "<w:r/>", 100000, zippackage::DocumentEnd},
                                      {"word/styles.xml", "<w:styles>", "<w:style/>", 50000, "</w:styles>"},
                                      {"word/media/image1.png", "", "x", 3000, ""},
                                      {"word/media/image2.jpeg", "", "y", 2000, ""},
                                      {"docProps/app.xml", "<ep:Properties><ep:Pages> 42 </ep:Pages>", "", 0, "</ep:Properties>"}});
        const Measures measures = ConversionCostEstimate::measure(path);
        QVERIFY(measures.package);
        QCOMPARE(measures.fileBytes, QFileInfo(path).size());
        QCOMPARE(measures.textBytes, zippackage::DocumentStart.size() + 600000 + zippackage::DocumentEnd.size());
        QCOMPARE(measures.styleBytes, 10 + 500000 + 11);
        QCOMPARE(measures.pictureBytes, 5000);
        QCOMPARE(measures.pages, 42);
        QCOMPARE(measures.largestPictureBytes, 3000);
        QVERIFY(measures.unpackedBytes > measures.textBytes + measures.styleBytes + measures.pictureBytes);
    }

    // More text, styles, pictures or pages cost more; a .doc is judged by its size.
    void costGrowsWithWhatTheDocumentHolds()
    {
        const Measures small{20000, true, 30000, 20000, 5000, 60000, 1};
        const double base = ConversionCostEstimate(small).milliseconds();
        for (auto grow : {&Measures::textBytes, &Measures::styleBytes, &Measures::pictureBytes}) {
            Measures larger = small;
            larger.*grow += 2 << 20;
            QVERIFY(ConversionCostEstimate(larger).milliseconds() > base);
        }
        Measures longer = small;
        longer.pages = 300;
        QVERIFY(ConversionCostEstimate(longer).milliseconds() > base);
        // Megabytes of styles weigh more than megabytes of pictures.
        Measures styled = small, pictured = small;
        styled.styleBytes += 2 << 20;
        pictured.pictureBytes += 2 << 20;
        QVERIFY(ConversionCostEstimate(styled).milliseconds() > ConversionCostEstimate(pictured).milliseconds());
        const Measures smallDoc{100000, false, 0, 0, 0, 0, 0};
        const Measures largeDoc{2000000, false, 0, 0, 0, 0, 0};
        QVERIFY(ConversionCostEstimate(largeDoc).milliseconds() > ConversionCostEstimate(smallDoc).milliseconds());
        QVERIFY(ConversionCostEstimate(largeDoc).stagedBytes() >= 2 * largeDoc.fileBytes);
        QVERIFY(ConversionCostEstimate(small).stagedBytes() >= small.fileBytes + small.unpackedBytes);
    }

    // A helper holds every picture's bytes but only the last few decoded: fifty
    // photographs need more than one, far less than fifty times one, and enough that
    // two such documents are not converted at once.
    void pictureMemoryIsBounded()
    {
        constexpr qint64 photo = qint64(3) << 19; // 1.5 MB
        Measures onePhoto{photo, true, 30000, 20000, photo, photo, 1};
        onePhoto.largestPictureBytes = photo;
        Measures fiftyPhotos = onePhoto;
        fiftyPhotos.pictureBytes = fiftyPhotos.unpackedBytes = fiftyPhotos.fileBytes = 50 * photo;
        const qint64 one = ConversionCostEstimate(onePhoto).memoryBytes();
        const qint64 fifty = ConversionCostEstimate(fiftyPhotos).memoryBytes();
        QVERIFY(one > 10 * photo);
        QVERIFY(fifty > one + 50 * photo);
        QVERIFY(fifty < 20 * one);
        QVERIFY(2 * fifty > LookAhead::memoryBudget);
    }

    // Files that are no sane package are measured by their size alone, and an app.xml
    // too large to be one is not unpacked.
    void hostileAndOddFiles()
    {
        const Measures missing = ConversionCostEstimate::measure(work.filePath(QStringLiteral("missing.docx")));
        QCOMPARE(missing.fileBytes, 0);
        QVERIFY(!missing.package);
        const QString old = plainFile(QStringLiteral("old.doc"), QByteArray(5000, '\xd0'));
        QCOMPARE(ConversionCostEstimate::measure(old).fileBytes, 5000);
        QVERIFY(!ConversionCostEstimate::measure(old).package);
        const QString truncated = plainFile(QStringLiteral("cut.docx"), QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x'));
        QVERIFY(!ConversionCostEstimate::measure(truncated).package);
        // The directory claims more entries than it can hold.
        QByteArray lying = QByteArray("PK\x03\x04", 4) + QByteArray(60, 'x');
        lying += zippackage::endRecord(0xFFFE, 0, lying.size());
        QVERIFY(!ConversionCostEstimate::measure(plainFile(QStringLiteral("lying.docx"), lying)).package);
        const QString bloated = package(QStringLiteral("bloated.docx"),
                                        {{"docProps/app.xml", "<Pages>7</Pages>", " ", 1 << 20, ""}});
        const Measures measures = ConversionCostEstimate::measure(bloated);
        QVERIFY(measures.package);
        QCOMPARE(measures.pages, 0);
    }

    // Estimates come in batches that cover the run in its order. Starting again drops
    // the earlier run's batches, those already made included, and so does a cancel.
    void estimatesComeInBatches()
    {
        const QStringList earlier(2000, plainFile(QStringLiteral("earlier.doc"), QByteArray(100, 'e')));
        QStringList run;
        for (int i = 0; i < 150; ++i)
            run << plainFile(QStringLiteral("run%1.doc").arg(i), QByteArray(1000 * i, 'r'));
        CostEstimator estimator;
        int earlierBatches = 0;
        const auto countEarlier = [&](const CostEstimator::Batch&) { ++earlierBatches; };
        estimator.start(earlier, countEarlier);
        QThread::msleep(50); // batches are made meanwhile, not yet received
        std::vector<LookAhead::Document> received;
        bool inOrder = true;
        estimator.start(run, [&](const CostEstimator::Batch& batch) {
            inOrder = inOrder && batch.first == qsizetype(received.size());
            received.insert(received.end(), batch.documents.begin(), batch.documents.end());
        });
        QTRY_COMPARE(received.size(), std::size_t(run.size()));
        QVERIFY(inOrder);
        for (qsizetype i = 0; i < run.size(); ++i)
            QCOMPARE(received[std::size_t(i)].stagedBytes, ConversionCostEstimate(run[i]).stagedBytes());
        estimator.start(earlier, countEarlier);
        QThread::msleep(50);
        estimator.cancel();
        QTest::qWait(100);
        QCOMPARE(earlierBatches, 0);
        estimator.start(earlier, countEarlier); // and destroyed while it works
    }
};

QTEST_GUILESS_MAIN(TestConversionCostEstimate)
#include "tst_ConversionCostEstimate.moc"
