#pragma once

#include <QByteArrayView>

#include <memory>

namespace corvanteller {

class Worksheet;

// The first worksheet of an .xlsx workbook (also strict OOXML and prefixed files): the first
// <sheet> of the workbook part through its relationship; shared, inline and formula strings,
// numbers, booleans ("TRUE", "FALSE") and error texts. Only the kept cells are stored (see
// workbook_reading.h). Throws UserError: workbookTooLargeMessage() for a part declared larger
// than 256 MiB, cannotReadWorkbookMessage() for anything else that is wrong.
std::unique_ptr<Worksheet> readXlsxFirstWorksheet(QByteArrayView bytes);

} // namespace corvanteller
