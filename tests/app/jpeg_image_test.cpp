#include "app/jpeg_image.h"

#include <QFile>
#include <QTest>

namespace corvanteller {

using namespace Qt::StringLiterals;

class JpegImageTest : public QObject {
    Q_OBJECT

private:
    static QByteArray resourceBytes(const QString& path) {
        loadJpegResource(path); // makes the resources available
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return file.readAll();
    }

private Q_SLOTS:
    void everyPictureHasItsSize_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("splash") << artwork::splash() << QSize(514, 386);
        QTest::newRow("banner") << artwork::banner() << QSize(214, 12);
        QTest::newRow("moving picture") << artwork::movingPicture() << QSize(15, 15);
        QTest::newRow("about strip") << artwork::aboutStrip() << QSize(79, 4);
    }

    void everyPictureHasItsSize() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QString error;
        const QImage image = loadJpegResource(path, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), size);
        QVERIFY(error.isEmpty());
    }

    void splashIsInColour() {
        const QImage image = loadJpegResource(artwork::splash());
        QVERIFY(!image.allGray());
    }

    void damagedDataGivesANullImage_data() {
        const QByteArray splash = resourceBytes(artwork::splash());
        QVERIFY(splash.size() > 1000);
        QByteArray garbage(4096, '\0');
        for (qsizetype i = 0; i < garbage.size(); ++i) {
            garbage[i] = static_cast<char>((i * 7919 + 13) % 251);
        }
        QByteArray headerOnlyThenGarbage = splash.left(splash.size() / 3) + garbage;

        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbage") << garbage;
        QTest::newRow("start of image marker only") << QByteArray("\xFF\xD8", 2);
        QTest::newRow("cut inside the header") << splash.left(100);
        QTest::newRow("cut in the middle") << splash.left(splash.size() / 2);
        QTest::newRow("cut before the end marker") << splash.chopped(2);
        QTest::newRow("picture data replaced") << headerOnlyThenGarbage;
        QTest::newRow("a PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    }

    void damagedDataGivesANullImage() {
        QFETCH(QByteArray, bytes);
        QString error;
        const QImage image = decodeJpeg(bytes, &error);
        QVERIFY(image.isNull());
        QVERIFY(!error.isEmpty());
    }

    void everyCutOfAPictureIsSurvived() {
        // Whatever the cut, the decoder returns; only the whole picture decodes.
        const QByteArray banner = resourceBytes(artwork::banner());
        for (qsizetype length = 0; length < banner.size(); ++length) {
            QVERIFY2(decodeJpeg(banner.left(length)).isNull(), qPrintable(QString::number(length)));
        }
        QVERIFY(!decodeJpeg(banner).isNull());
    }

    void missingResourceGivesANullImage() {
        QString error;
        QVERIFY(loadJpegResource(u":/pictures/no_such_picture.jpg"_s, &error).isNull());
        QVERIFY(!error.isEmpty());
    }
};

} // namespace corvanteller

QTEST_GUILESS_MAIN(corvanteller::JpegImageTest)
#include "jpeg_image_test.moc"
