// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/about/jpegdecoder.h"
#include "tests/testmain.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>

// The libjpeg decoder on real JPEG files and on broken ones.
class TestAboutJpegDecoder : public QObject {
    Q_OBJECT

    static QByteArray resource(const QString &name)
    {
        QFile file(QStringLiteral(":/badges/") + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray encoded(const QImage &image)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 100);
        return bytes;
    }
    static bool near(QRgb a, QColor b)
    {
        return qAbs(qRed(a) - b.red()) <= 8 && qAbs(qGreen(a) - b.green()) <= 8 &&
               qAbs(qBlue(a) - b.blue()) <= 8;
    }

private slots:
    void decodesColoursInPlace()
    {
        // Four flat quarters, so that a mix-up of channels or rows shows.
        QImage source(88, 32, QImage::Format_RGB32);
        QPainter p(&source);
        p.fillRect(0, 0, 44, 16, QColor(200, 30, 30));
        p.fillRect(44, 0, 44, 16, QColor(30, 160, 40));
        p.fillRect(0, 16, 44, 16, QColor(20, 40, 190));
        p.fillRect(44, 16, 44, 16, QColor(250, 250, 250));
        p.end();
        const QByteArray jpeg = encoded(source);
        QVERIFY(jpeg.startsWith("\xff\xd8"));

        const QImage image = decodeJpeg(jpeg);
        QCOMPARE(image.size(), QSize(88, 32));
        QVERIFY(near(image.pixel(10, 5), QColor(200, 30, 30)));
        QVERIFY(near(image.pixel(70, 5), QColor(30, 160, 40)));
        QVERIFY(near(image.pixel(10, 27), QColor(20, 40, 190)));
        QVERIFY(near(image.pixel(70, 27), QColor(250, 250, 250)));
    }

    void decodesGreyscale()
    {
        QImage source(16, 8, QImage::Format_Grayscale8);
        source.fill(QColor(90, 90, 90));
        const QImage image = decodeJpeg(encoded(source));
        QCOMPARE(image.size(), QSize(16, 8));
        QVERIFY(near(image.pixel(3, 3), QColor(90, 90, 90)));
    }

    void decodesThePicturesOfThePage()
    {
        for (const char *name : {"poetry.jpg", "pinyin.jpg", "cnchar.jpg", "opencc.jpg", "ucd.jpg",
                                 "unicode.jpg", "unihan.jpg", "shihai.jpg"}) {
            const QByteArray bytes = resource(QString::fromLatin1(name));
            QVERIFY2(!bytes.isEmpty(), name);
            const QImage mine = decodeJpeg(bytes);
            QCOMPARE(mine.size(), QSize(88, 31));
            // The same file read by Qt's own reader gives the same picture, within rounding.
            const QImage theirs = QImage::fromData(bytes, "JPG");
            QCOMPARE(theirs.size(), mine.size());
            for (int y = 0; y < 31; y += 5)
                for (int x = 0; x < 88; x += 7)
                    QVERIFY2(near(mine.pixel(x, y), QColor(theirs.pixel(x, y))), name);
        }
    }

    void brokenDataGivesTheEmptyPicture()
    {
        const QByteArray good = resource(QStringLiteral("shihai.jpg"));
        QVERIFY(!decodeJpeg(good).isNull());
        QVERIFY(decodeJpeg(QByteArray()).isNull());
        QVERIFY(decodeJpeg(QByteArray("not a picture at all")).isNull());
        QVERIFY(decodeJpeg(good.left(2)).isNull());               // only the start marker
        QVERIFY(decodeJpeg(good.left(good.size() / 2)).isNull()); // cut off in the middle of the data
        QByteArray garbled = good;
        for (qsizetype i = garbled.size() / 2; i < garbled.size() - 2; ++i)
            garbled[i] = char(0xff);
        QVERIFY(decodeJpeg(garbled).isNull());
    }
};

SHIHAI_TEST_MAIN(TestAboutJpegDecoder)
#include "test_about_jpegdecoder.moc"
