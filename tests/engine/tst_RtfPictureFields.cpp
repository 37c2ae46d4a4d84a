// Picture fields in an RTF are renamed before the helper loads it, and SVG pictures
// lose the references that would make LibreOffice read a file; nothing else changes.
#include "RtfPictureFields.h"
#include "SvgReferences.h"

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

    void svgPicturesReferToNothingOutside()
    {
        const QByteArray inner = "<svg><image href='/etc/x.png'/></svg>";
        const QByteArray svg = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                               "<svg xmlns:xlink=\"http://www.w3.org/1999/xlink\"><use xlink:href=\"#shape\"/>"
                               "<image xlink:href=\"file:///usr/share/secret.png\"/><image HREF = 'secret.png'/>"
                               "<image href=\"data:image/svg+xml;base64," + inner.toBase64() + "\"/>"
                               "<image href=\"data:image/png;base64,iVBORw0K\"/></svg>";
        const QByteArray safe = withoutExternalReferences(svg);
        QVERIFY(!safe.contains("ENTITY") && !safe.contains("secret") && !safe.contains(inner.toBase64()));
        QVERIFY(safe.contains("xlink:href=\"#shape\"") && safe.contains("data:image/png;base64,iVBORw0K"));
        // Nested pictures are cleaned too, and the cleaning holds when done again.
        const qsizetype nested = safe.indexOf("data:image/svg+xml;base64,") + 26;
        QCOMPARE(QByteArray::fromBase64(safe.mid(nested, safe.indexOf('"', nested) - nested)), QByteArray("<svg><image /></svg>"));
        QCOMPARE(withoutExternalReferences(safe), safe);

        const QByteArray page = "<p><img src=\"data:image/svg+xml;base64," + svg.toBase64() + "\"> text</p>";
        const QByteArray safePage = withSafeSvgDataUris(page);
        QVERIFY(safePage.startsWith("<p><img src=\"data:image/svg+xml;base64,") && safePage.endsWith("\"> text</p>"));
        QVERIFY(!QByteArray::fromBase64(safePage.mid(36, safePage.indexOf('"', 36) - 36)).contains("secret"));
        QVERIFY(isSvgPicture("application/octet-stream", "  <?xml version='1.0'?>\n<svg/>"));
        QVERIFY(!isSvgPicture("image/png", "\x89PNG"));
    }
};

QTEST_MAIN(TestRtfPictureFields)
#include "tst_RtfPictureFields.moc"
