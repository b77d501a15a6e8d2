// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/jpeg_image.h"

#include <QFile>
#include <QTest>

namespace corvanteller {

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

    void damagedDataGivesANullImage_data() {
        const QByteArray splash = resourceBytes(artwork::splash());
        QVERIFY(splash.size() > 1000);

        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("start of image marker only") << QByteArray("\xFF\xD8", 2);
        QTest::newRow("cut inside the header") << splash.left(100);
        QTest::newRow("cut in the middle") << splash.left(splash.size() / 2);
        QTest::newRow("cut before the end marker") << splash.chopped(2);
        QTest::newRow("picture data replaced")
            << splash.left(splash.size() / 3) + QByteArray(4096, '\x5A');
    }

    void damagedDataGivesANullImage() {
        QFETCH(QByteArray, bytes);
        QString error;
        QVERIFY(decodeJpeg(bytes, &error).isNull());
        QVERIFY(!error.isEmpty());
    }
};

} // namespace corvanteller

QTEST_GUILESS_MAIN(corvanteller::JpegImageTest)
#include "jpeg_image_test.moc"
