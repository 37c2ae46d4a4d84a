// How a real helper starts: quickly, without the work LibreOffice does for a person
// at a screen on its first start with a profile.
#include "engine/RealLibreOffice.h"
#include "engine/ZipPackage.h"

#include "engine/client/LibreOfficeWordAutomation.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

class TestHelperStartUp : public QObject {
    Q_OBJECT

    QTemporaryDir work;

private slots:
    // LibreOffice draws and compares large bitmaps for seconds at every start with a
    // profile it has not marked as its own version; it leaves a log of that in the profile.
    void helperSkipsTheGraphicsSelfTest()
    {
        const QString document = work.filePath(QStringLiteral("plain.docx"));
        QVERIFY(zippackage::writeLinkingDocument(document, "Started quickly", {}));
        LibreOfficeSettings settings = reallibreoffice::engineSettings();
        settings.profileRoot = work.filePath(QStringLiteral("profiles"));
        {
            LibreOfficeWordAutomation word(settings);
            auto application = word.CreateObject();
            application->DocumentsOpen(document);
            application->ActiveDocumentSaveAs(work.filePath(QStringLiteral("plain.htm")), 8);
            application->ActiveDocumentClose();
            application->Quit();
        }
        QFile page(work.filePath(QStringLiteral("plain.htm")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("Started quickly"));
        QStringList settingsFiles, selfTestLogs;
        for (QDirIterator it(settings.profileRoot, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            if (path.endsWith(QLatin1String("/registrymodifications.xcu")))
                settingsFiles << path;
            if (path.endsWith(QLatin1String("/GraphicsRenderTests.log")))
                selfTestLogs << path;
        }
        QCOMPARE(settingsFiles.size(), 1);
        QCOMPARE(selfTestLogs, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestHelperStartUp)
#include "tst_HelperStartUp.moc"
