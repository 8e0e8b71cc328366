// The artwork the build rasterises ahead of time: every picture the window shows is there at
// every baked scale, exactly as the program would rasterise it itself, and damaged bytes are
// refused rather than drawn.

#include "artwork.h"
#include "mainlayout.h"

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QResource>
#include <QTest>

using namespace browser;

namespace {

class ArtworkTest : public QObject
{
    Q_OBJECT

private slots:
    void bakedPicturesMatchTheSvg()
    {
        const auto requests = ArtworkRequests();
        QVERIFY(requests.size() >= 5);
        for (const auto& request : requests) {
            for (const qreal scale : artwork::kBakedScales) {
                const QString where = artwork::BakedResource(request, scale);
                QResource baked(where);
                QVERIFY2(baked.isValid(), qPrintable(where + " is missing"));
                QImage image = artwork::Deserialise(baked.uncompressedData());
                QVERIFY2(!image.isNull(), qPrintable(where + " does not read"));
                image.setDevicePixelRatio(scale);
                QCOMPARE(image, artwork::Rasterise(request, scale));
            }
        }
    }

    void everyPictureOfTheSkinIsThere()
    {
        QFile skin(QStringLiteral(":/resources/scrollbar.qss"));
        QVERIFY(skin.open(QIODevice::ReadOnly));
        const QString sheet = QString::fromUtf8(skin.readAll());
        static const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        int pictures = 0;
        for (const auto& match : url.globalMatch(sheet)) {
            const QString path = match.captured(1);
            ++pictures;
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
            const QString twice =
                QString(path).replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
            QCOMPARE(QImage(twice).size(), QImage(path).size() * 2);
        }
        QCOMPARE(pictures, int(SkinPictures().size()));
    }

    void opaquePicturesDrawAsCopies()
    {
        // The working area's background covers its whole box; the section button has rounded
        // corners.
        const QImage field = artwork::Get(QStringLiteral(":/resources/image2.svg"), {800, 491}, 1);
        QCOMPARE(field.format(), QImage::Format_RGB32);
        QCOMPARE(field.size(), QSize(800, 491));
        const QImage button = artwork::Get(QStringLiteral(":/resources/section.svg"), {174, 31}, 1);
        QCOMPARE(button.format(), QImage::Format_ARGB32_Premultiplied);
    }

    void anUnbakedScaleIsRasterised()
    {
        const QImage image = artwork::Get(QStringLiteral(":/resources/image3.svg"), {52, 41}, 1.5);
        QCOMPARE(image.size(), QSize(78, 62));
        QCOMPARE(image.devicePixelRatio(), 1.5);
    }

    void damagedBytesAreRefused_data()
    {
        QTest::addColumn<int>("keep"); // bytes kept from the start; -1: all
        QTest::addColumn<int>("chop"); // bytes then cut off the end
        QTest::addColumn<int>("poke"); // offset of a byte overwritten with 0xff; -1: none
        QTest::newRow("intact") << -1 << 0 << -1;
        QTest::newRow("empty") << 0 << 0 << -1;
        QTest::newRow("header only") << 16 << 0 << -1;
        QTest::newRow("one byte short") << -1 << 1 << -1;
        QTest::newRow("bad magic") << -1 << 0 << 0;
        QTest::newRow("huge width") << -1 << 0 << 7;
        QTest::newRow("unknown format") << -1 << 0 << 12;
    }

    void damagedBytesAreRefused()
    {
        QFETCH(int, keep);
        QFETCH(int, chop);
        QFETCH(int, poke);
        QImage source(3, 2, QImage::Format_ARGB32_Premultiplied);
        source.fill(qRgba(10, 20, 30, 255));
        QByteArray bytes = artwork::Serialise(source);
        if (keep >= 0) bytes.truncate(keep);
        bytes.chop(chop);
        if (poke >= 0) bytes[poke] = char(0xff);
        const QImage back = artwork::Deserialise(bytes);
        if (keep < 0 && chop == 0 && poke < 0)
            QCOMPARE(back, source);
        else
            QVERIFY(back.isNull());
    }
};

} // namespace

QTEST_MAIN(ArtworkTest)
#include "artwork_test.moc"
