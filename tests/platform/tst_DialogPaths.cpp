#include "platform/DialogPaths.h"
#include "platform/FileDialogs.h"
#include "support/ByteNames.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// What Qt shows for a name: every byte that is not UTF-8 becomes U+FFFD.
QString shownByQt(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

} // namespace

class TestDialogPaths : public QObject {
    Q_OBJECT

private slots:
    void namesQtCouldNotDecodeAreFoundAgainByTheirBytes()
    {
        QTemporaryDir temporary;
        const QByteArray root = QFile::encodeName(temporary.path());
        const QByteArray folder = root + "/r\xE9sum\xE9s";
        const QByteArray document = folder + "/" + ByteNames::Latin1Cafe + ".doc";
        QVERIFY(ByteNames::makeFolder(folder));
        QVERIFY(ByteNames::writeFile(document));
        QVERIFY(ByteNames::writeFile(folder + "/plain.doc"));

        QCOMPARE(LocalFileName::encode(recoverDialogPath(shownByQt(document))), document);
        QCOMPARE(LocalFileName::encode(recoverDialogPath(shownByQt(folder))), folder);
        // A name Qt decoded faithfully is left as it is.
        const QString plain = shownByQt(folder + "/plain.doc");
        QCOMPARE(LocalFileName::encode(recoverDialogPath(plain)), folder + "/plain.doc");
        QCOMPARE(recoverDialogPath(temporary.path()), temporary.path());
    }

    void lookAlikesAndMissingNamesAreNotGuessed()
    {
        QTemporaryDir temporary;
        const QByteArray root = QFile::encodeName(temporary.path());
        QVERIFY(ByteNames::writeFile(root + "/a\xFF.doc"));
        QVERIFY(ByteNames::writeFile(root + "/a\xFE.doc"));
        // Both show as "a\uFFFD.doc": picking one must not silently become the other.
        const QString ambiguous = shownByQt(root + "/a\xFF.doc");
        QCOMPARE(recoverDialogPath(ambiguous), ambiguous);
        const QString missing = shownByQt(root + "/b\xFF.doc");
        QCOMPARE(recoverDialogPath(missing), missing);
    }

    void openDialogReturnsThePickedFileByteForByte()
    {
        QTemporaryDir temporary;
        const QByteArray document = QFile::encodeName(temporary.path()) + "/" + ByteNames::Latin1Cafe + ".doc";
        QVERIFY(ByteNames::writeFile(document));

        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile(shownByQt(ByteNames::Latin1Cafe + ".doc"));
            static_cast<QDialog*>(dialog)->accept(); // as the Open button does
        });
        QtFileDialogs dialogs;
        const auto picked = dialogs.openFile(nullptr, {QStringLiteral("Add Word"),
                                                       {{QStringLiteral("Word File"), QStringLiteral("*.doc")}},
                                                       temporary.path(), {}, {}});
        QVERIFY(picked);
        QCOMPARE(LocalFileName::encode(*picked), document);
    }
};

QTEST_MAIN(TestDialogPaths)
#include "tst_DialogPaths.moc"
