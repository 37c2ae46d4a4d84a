// Picture fields in an RTF are renamed before an unsandboxed helper loads it; nothing
// else in the document changes.
#include "RtfPictureFields.h"

#include <QtTest>

class TestRtfPictureFields : public QObject {
    Q_OBJECT

private slots:
    void pictureFieldsAreRenamed_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("renamed");
        QTest::newRow("linked") << QByteArray("{\\rtf1 {\\field{\\*\\fldinst INCLUDEPICTURE \"file:///p.png\" \\\\d}{\\fldrslt }}}") << 1;
        QTest::newRow("lower case, plain path")
            << QByteArray("{\\rtf1 {\\field{\\*\\fldinst includepicture \"/home/p.png\"}{\\fldrslt x}}}") << 1;
        QTest::newRow("Word's formatting before the name")
            << QByteArray("{\\rtf1 {\\field{\\*\\fldinst {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid-12  INCLUDEPICTURE  \"a.png\" \\\\* MERGEFORMATINET }}{\\fldrslt }}}")
            << 1;
        QTest::newRow("two fields")
            << QByteArray("{\\rtf1 {\\field{\\*\\fldinst INCLUDEPICTURE \"a.png\"}{\\fldrslt }}{\\field{\\*\\fldinst{ IncludePicture \"b.png\"}}{\\fldrslt }}}")
            << 2;
        QTest::newRow("the word in the text") << QByteArray("{\\rtf1 Use INCLUDEPICTURE to link a picture.\\par}") << 0;
        QTest::newRow("other fields") << QByteArray("{\\rtf1 {\\field{\\*\\fldinst INCLUDEPICTURES \"a\"}{\\fldrslt }}{\\field{\\*\\fldinst HYPERLINK \"a\"}{\\fldrslt a}}}") << 0;
        QTest::newRow("cut short") << QByteArray("{\\rtf1 {\\field{\\*\\fldinst INCLUDEPIC") << 0;
    }

    void pictureFieldsAreRenamed()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, renamed);
        QByteArray disarmed = rtf;
        QCOMPARE(disarmPictureInclusions(disarmed), renamed);
        QCOMPARE(disarmed.size(), rtf.size());
        QCOMPARE(disarmed.toLower().count("includepicture ") + disarmed.toLower().count("includepicture\""),
                 rtf.toLower().count("includepicture ") + rtf.toLower().count("includepicture\"") - renamed);
        QCOMPARE(disarmPictureInclusions(disarmed), 0);
    }
};

QTEST_MAIN(TestRtfPictureFields)
#include "tst_RtfPictureFields.moc"
