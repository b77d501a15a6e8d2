// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace corvanteller {

bool isValidUtf8(QByteArrayView bytes);

// A file name's bytes as the user sees them: UTF-8 when the bytes are valid UTF-8, otherwise
// cp1251, the encoding of names copied from old Windows archives.
QString decodeFileName(QByteArrayView bytes);

// A path's bytes as the user sees them: each part decoded by itself as decodeFileName does, so
// that a cp1251 folder below a UTF-8 one reads right.
QString decodeFilePath(QByteArrayView path);

// The byte forms a shown name may have on disk, most likely first: UTF-8, then cp1251 when the
// name has a different cp1251 form that is not itself valid UTF-8.
QList<QByteArray> fileNameCandidates(QStringView name);

} // namespace corvanteller
