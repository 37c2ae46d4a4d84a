// Photographs swapped for stand-ins while LibreOffice makes the page, and put back.

#include "LightPackage.h"
#include "PackageParts.h"
#include "RealLibreOffice.h"
#include "StandInPictures.h"
#include "ZipPackage.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

namespace {

using StandInPictures::Type;

// A noisy picture, so that it packs to hundreds of kilobytes as a photograph does.
QByteArray photograph(const char* format, int seed, QImage::Format pixels = QImage::Format_RGB32,
                      QSize size = {640, 480})
{
    QImage image(size, pixels);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | (pixels == QImage::Format_RGB32 ? 0xFF000000 : 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 95);
    return bytes;
}

// `jpeg` with an EXIF block that says how to turn it.
QByteArray withOrientation(const QByteArray& jpeg, char orientation)
{
    const QByteArray tiff = QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18) + orientation
                            + QByteArray(7, '\0');
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.left(2) + QByteArray("\xFF\xE1", 2) + char((exif.size() + 2) >> 8) + char((exif.size() + 2) & 0xFF)
           + exif + jpeg.mid(2);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The parts of a package, unpacked and checked against their sizes and checksums.
QMap<QByteArray, QByteArray> partsOf(const QString& path)
{
    QMap<QByteArray, QByteArray> parts;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    QString refusal;
    const auto location = ZipDirectory::find(fd, QFileInfo(path).size(), refusal);
    const auto entries = location ? ZipDirectory::entries(fd, *location, 1 << 20) : std::nullopt;
    for (const ZipDirectory::Entry& entry : entries.value_or(QList<ZipDirectory::Entry>()))
        parts.insert(entry.name, ZipDirectory::unpack(fd, entry, 1 << 30));
    ::close(fd);
    return parts;
}

LightPackage lightCopy(const QString& package, const QString& light)
{
    std::optional<PackageParts> parts = PackageParts::open(package);
    return parts ? LightPackage::write(*parts, package, light) : LightPackage();
}

const QByteArray PlainPicture = "<pic:blipFill><a:blip r:embed=\"rId7\"><a:extLst><a:ext uri=\"{28A0092B}\">"
                                "<a14:useLocalDpi val=\"0\"/></a:ext></a:extLst></a:blip><a:srcRect/>"
                                "</pic:blipFill><pic:spPr><a:xfrm rot=\"0\"><a:off x=\"0\" y=\"0\"/></a:xfrm>";

} // namespace

class TestLightPackage : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QList<QByteArray> photographs{photograph("JPG", 1), photograph("JPG", 2), photograph("PNG", 3)};

    QString path(const QString& name) const { return work.filePath(name); }

private Q_SLOTS:
    void standInsAreTinyDistinctPictures()
    {
        QSet<QByteArray> seen;
        for (const Type type : {Type::Jpeg, Type::Png})
            for (const int number : {1, 2, 8, 9, 300}) {
                const QByteArray standIn = StandInPictures::standIn(type, number);
                const QImage decoded = QImage::fromData(standIn);
                QCOMPARE(decoded.size(), QSize(number, 1));
                QCOMPARE(qGray(decoded.pixel(0, 0)), 128);
                QCOMPARE(StandInPictures::sizeOf(standIn)->width, quint32(number));
                QVERIFY(!seen.contains(standIn));
                seen.insert(standIn);
            }
    }

    void onlyPicturesShownAsStoredAreSwapped()
    {
        const QByteArray jpeg = photographs[0];
        QVERIFY(StandInPictures::writtenAsStored(jpeg));
        QVERIFY(StandInPictures::writtenAsStored(withOrientation(jpeg, 1)));
        QVERIFY(!StandInPictures::writtenAsStored(withOrientation(jpeg, 6))); // shown turned
        QVERIFY(StandInPictures::writtenAsStored(photographs[2]));
        QVERIFY(!StandInPictures::writtenAsStored(photograph("PNG", 5, QImage::Format_ARGB32))); // transparent
        QVERIFY(!StandInPictures::writtenAsStored("GIF89a\x01\0\x01\0"));
        QVERIFY(!StandInPictures::writtenAsStored(jpeg.left(1000).replace("\xFF\xC0", "\xFF\xFE"))); // no frame
    }

    void markupThatChangesPicturesKeepsThem_data()
    {
        QTest::addColumn<QByteArray>("markup");
        QTest::addColumn<bool>("asStored");
        QTest::newRow("plain picture") << PlainPicture << true;
        QTest::newRow("cropped") << QByteArray(PlainPicture).replace("<a:srcRect/>", "<a:srcRect l=\"1200\"/>") << false;
        QTest::newRow("turned") << QByteArray(PlainPicture).replace("rot=\"0\"", "rot=\"5400000\"") << false;
        QTest::newRow("mirrored") << QByteArray(PlainPicture).replace("rot=\"0\"", "flipH=\"1\"") << false;
        QTest::newRow("greyed") << QByteArray(PlainPicture).replace("<a:extLst>", "<a:grayscl/><a:extLst>") << false;
        QTest::newRow("artistic effect")
            << QByteArray(PlainPicture).replace("<a14:useLocalDpi val=\"0\"/>", "<a14:imgProps/>") << false;
        QTest::newRow("shape filled") << QByteArray("<wps:spPr><a:blipFill><a:blip r:embed=\"rId7\"/></a:blipFill>")
                                      << false;
        QTest::newRow("VML picture") << QByteArray("<v:shape><v:imagedata r:id=\"rId7\" o:title=\"\"/></v:shape>")
                                     << true;
        QTest::newRow("VML cropped") << QByteArray("<v:imagedata r:id=\"rId7\" cropleft=\"5f\"/>") << false;
        QTest::newRow("VML washed out") << QByteArray("<v:imagedata r:id=\"rId7\" gain=\"19661f\"/>") << false;
        QTest::newRow("VML fill") << QByteArray("<v:rect><v:fill r:id=\"rId7\" type=\"frame\"/></v:rect>") << false;
        QTest::newRow("object preview") << QByteArray("<w:object><o:OLEObject r:id=\"rId8\"/></w:object>") << false;
    }

    void markupThatChangesPicturesKeepsThem()
    {
        QFETCH(QByteArray, markup);
        QFETCH(bool, asStored);
        QCOMPARE(picturesShownAsStored(markup), asStored);
    }

    void photographsComeBackInThePage()
    {
        const QByteArray smallPicture = photograph("JPG", 6, QImage::Format_RGB32, {16, 12});
        QVERIFY(zippackage::writePictureDocument(path("photos.docx"), photographs + QList<QByteArray>{smallPicture}));
        const LightPackage light = lightCopy(path("photos.docx"), path("light.docx"));
        QVERIFY(!light.isEmpty());
        const auto original = partsOf(path("photos.docx"));
        const auto lightParts = partsOf(path("light.docx"));
        QCOMPARE(lightParts.keys(), original.keys());
        QVERIFY(QFileInfo(path("light.docx")).size() < 10000);
        QVERIFY(QDir(work.path()).mkpath("page"));
        int picture = 0;
        for (auto part = lightParts.cbegin(); part != lightParts.cend(); ++part) {
            QVERIFY2(!part.value().isNull(), part.key()); // every part whole, checksums right
            if (!part.key().startsWith("word/media/") || part.value() == original[part.key()])
                continue;
            QCOMPARE(StandInPictures::sizeOf(part.value())->height, quint32(1));
            QFile page(path("page/picture%1").arg(++picture));
            QVERIFY(page.open(QIODevice::WriteOnly) && page.write(part.value()) > 0);
        }
        QCOMPARE(picture, 3); // the small picture kept its bytes
        QVERIFY(light.restore(path("page")));
        QSet<QByteArray> restored;
        for (int i = 1; i <= 3; ++i)
            restored.insert(readAll(path("page/picture%1").arg(i)));
        QCOMPARE(restored, QSet<QByteArray>(photographs.cbegin(), photographs.cend()));

        // A stand-in LibreOffice changed (here: made a PNG) cannot be put back.
        QImage::fromData(StandInPictures::standIn(Type::Jpeg, 2)).save(path("page/changed.png"));
        QVERIFY(!light.restore(path("page")));
    }

    // A photograph whose packed bytes are damaged is never put back half-made: its size
    // and checksum are checked, and the page is then made from the document itself.
    void damagedPhotographIsNotRestored()
    {
        QVERIFY(zippackage::writePictureDocument(path("damaged.docx"), {photographs[0]}));
        QFile package(path("damaged.docx"));
        QVERIFY(package.open(QIODevice::ReadWrite));
        QByteArray bytes = package.readAll();
        const qsizetype at = bytes.indexOf("word/media/image1.jpeg") + 30 + 1000; // inside its data
        bytes[at] = char(bytes[at] ^ 0x55);
        QVERIFY(package.seek(0) && package.write(bytes) == bytes.size());
        package.close();
        const LightPackage light = lightCopy(path("damaged.docx"), path("damaged-light.docx"));
        QVERIFY(!light.isEmpty());
        QVERIFY(QDir(work.path()).mkpath("damaged-page"));
        QFile page(path("damaged-page/image.jpg"));
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write(StandInPictures::standIn(Type::Jpeg, 1)) > 0);
        page.close();
        QVERIFY(!light.restore(path("damaged-page")));
        QVERIFY(partsOf(path("damaged.docx")).value("word/media/image1.jpeg").isNull());
    }

    void unsafeOrLightDocumentsLoadAsTheyAre()
    {
        QVERIFY(zippackage::writePictureDocument(path("cropped.docx"), photographs, "<a:srcRect t=\"4000\"/>"));
        QVERIFY(lightCopy(path("cropped.docx"), path("cropped-light.docx")).isEmpty());
        QVERIFY(zippackage::writePictureDocument(path("text.docx"), {}));
        QVERIFY(lightCopy(path("text.docx"), path("text-light.docx")).isEmpty());
        QVERIFY(!QFile::exists(path("cropped-light.docx")) && !QFile::exists(path("text-light.docx")));
    }

    // A document whose page shows page numbers is laid out; one without fields need not be.
    void pageNumbersNeedTheLayout()
    {
        QVERIFY(zippackage::writePictureDocument(path("numbered.docx"), {}, {},
                                                 "<w:fldSimple w:instr=\"PAGE\"><w:r><w:t>7</w:t></w:r></w:fldSimple>"));
        QVERIFY(PackageParts::open(path("numbered.docx"))->holdsFields());
        QVERIFY(!PackageParts::open(path("text.docx"))->holdsFields());
        // Likewise text formatted hidden is looked for only where the markup may hide some.
        QVERIFY(zippackage::writePictureDocument(path("hiding.docx"), {}, {},
                                                 "<w:r><w:rPr><w:specVanish/></w:rPr><w:t>x</w:t></w:r>"));
        QVERIFY(PackageParts::open(path("hiding.docx"))->mayHideText());
        QVERIFY(!PackageParts::open(path("numbered.docx"))->mayHideText());
        // The import filter is named only for what LibreOffice itself would take for a .docx.
        QCOMPARE(PackageParts::open(path("text.docx"))->importFilter("docx"), QStringLiteral("MS Word 2007 XML"));
        QCOMPARE(PackageParts::open(path("text.docx"))->importFilter("DocM"), QString());
        const QByteArray kinds[] = {"document.macroEnabled", "template.main", "purl.oclc.org/ooxml"};
        for (const QByteArray& kind : kinds) {
            QByteArray types = zippackage::ContentTypes, relations = zippackage::PackageRelations;
            if (kind.startsWith("purl"))
                relations.replace("schemas.openxmlformats.org/officeDocument/2006", "purl.oclc.org/ooxml/officeDocument");
            else
                types.replace("officedocument.wordprocessingml.document.main", "officedocument.wordprocessingml." + kind);
            QVERIFY(zippackage::writePackage(path("other.docx"), {{"[Content_Types].xml", types, {}, 0, {}},
                                                                   {"_rels/.rels", relations, {}, 0, {}}}));
            QVERIFY2(PackageParts::open(path("other.docx"))->importFilter("docx").isEmpty(), kind);
        }
        LibreOfficeSettings settings = reallibreoffice::engineSettings();
        settings.profileRoot += QStringLiteral("-light");
        LibreOfficeWordAutomation word(settings);
        reallibreoffice::convert(word, path("numbered.docx"), path("numbered.htm"), 8);
        QVERIFY2(readAll(path("numbered.htm")).contains("format=PAGE>1<"), readAll(path("numbered.htm")));
    }

    void pagesShowThePhotographsByteForByte()
    {
        QVERIFY(zippackage::writePictureDocument(path("report.docx"), photographs));
        QVERIFY(zippackage::writePictureDocument(path("cropped report.docx"), photographs, "<a:srcRect t=\"4000\"/>"));
        LibreOfficeSettings settings = reallibreoffice::engineSettings();
        settings.profileRoot += QStringLiteral("-light");
        QVERIFY(QDir(work.path()).mkpath("out"));
        LibreOfficeWordAutomation word(settings);
        reallibreoffice::convert(word, path("report.docx"), path("out/report.htm"), 8);
        reallibreoffice::convert(word, path("cropped report.docx"), path("out/cropped.htm"), 8);
        QSet<QByteArray> pictures;
        QStringList cropped;
        for (QDirIterator files(path("out"), QDir::Files, QDirIterator::Subdirectories); files.hasNext();) {
            const QString file = files.next();
            if (file.contains("report_files/"))
                pictures.insert(readAll(file));
            else if (file.contains("cropped_files/"))
                cropped.append(file);
        }
        QCOMPARE(pictures, QSet<QByteArray>(photographs.cbegin(), photographs.cend()));
        QCOMPARE(cropped.size(), 3);
    }
};

QTEST_MAIN(TestLightPackage)
#include "tst_LightPackage.moc"
