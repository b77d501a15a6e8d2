// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace corvanteller {

// The program's own pictures, stored as JPEG resources.
namespace artwork {
// 514 x 386: the splash window's picture.
inline QString splash() {
    return QStringLiteral(":/pictures/splash.jpg");
}
// 214 x 12: the start window's banner strip.
inline QString banner() {
    return QStringLiteral(":/pictures/banner.jpg");
}
// 15 x 15: the start window's moving picture.
inline QString movingPicture() {
    return QStringLiteral(":/pictures/moving.jpg");
}
// 79 x 4: the About window's moving strip.
inline QString aboutStrip() {
    return QStringLiteral(":/pictures/about_strip.jpg");
}
} // namespace artwork

// Decodes a JPEG image with libjpeg. Damaged or truncated data, and data that is no JPEG at
// all, give a null image and, when asked for, libjpeg's reason; never an exit.
QImage decodeJpeg(QByteArrayView bytes, QString* error = nullptr);

// Reads and decodes a JPEG file or resource (":/pictures/..."); a null image when it is
// missing or damaged.
QImage loadJpegResource(const QString& path, QString* error = nullptr);

} // namespace corvanteller
