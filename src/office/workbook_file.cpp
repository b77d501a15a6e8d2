// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/workbook_file.h"

#include "common/error.h"
#include "common/file_io.h"
#include "office/workbook.h"
#include "office/workbook_reading.h"
#include "office/xls_reader.h"
#include "office/xlsx_reader.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 maxXlsxFileSize = 256 * 1024 * 1024;

// The Excel version of a workbook stored as a plain record stream, as Excel 2.1 to 4.0 (and
// some programs for 5.0/95) saved it: its first record is a BOF of that version.
QString oldFormatVersion(const QByteArray& head) {
    if (head.size() < 8 || head[0] != 0x09 || head[3] != 0) {
        return {};
    }
    const auto length = static_cast<unsigned char>(head[2]);
    switch (head[1]) {
    case 0x00:
        return length == 4 ? u"2.1"_s : QString();
    case 0x02:
        return length == 6 ? u"3.0"_s : QString();
    case 0x04:
        return length == 6 ? u"4.0"_s : QString();
    case 0x08:
        return length >= 8 && head[4] == 0 && head[5] == 0x05 ? u"5.0/95"_s : QString();
    default:
        return {};
    }
}

} // namespace

WorkbookFileKind workbookFileKind(const QString& path) {
    const QByteArray head = readFileBounded(path, 8);
    if (const QString version = oldFormatVersion(head); !version.isEmpty()) {
        throw UserError(oldFormatMessage(version));
    }
    if (head == QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        return WorkbookFileKind::Xls;
    }
    if (head.startsWith(QByteArrayView("PK\x03\x04", 4))) {
        return WorkbookFileKind::Xlsx;
    }
    throw UserError(notWorkbookMessage());
}

std::unique_ptr<Worksheet> readFirstWorksheet(const QString& path) {
    if (workbookFileKind(path) == WorkbookFileKind::Xls) {
        return readXlsFirstWorksheet(path);
    }
    const QByteArray bytes = readFileBounded(path, maxXlsxFileSize + 1);
    if (bytes.size() > maxXlsxFileSize) {
        throw UserError(workbookTooLargeMessage());
    }
    return readXlsxFirstWorksheet(bytes);
}

} // namespace corvanteller
