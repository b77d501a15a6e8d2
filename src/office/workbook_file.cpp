#include "office/workbook_file.h"

#include "common/error.h"
#include "common/file_io.h"
#include "office/workbook.h"
#include "office/workbook_reading.h"
#include "office/xls_reader.h"
#include "office/xlsx_reader.h"

namespace corvanteller {
namespace {

constexpr qint64 maxXlsxFileSize = 256 * 1024 * 1024;

} // namespace

WorkbookFileKind workbookFileKind(const QString& path) {
    const QByteArray head = readFileBounded(path, 8);
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
