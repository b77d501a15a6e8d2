// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

#include <memory>

namespace corvanteller {

class Worksheet;

// The first worksheet of an .xlsx workbook (also strict OOXML and prefixed files): the first
// <sheet> of the workbook part whose relationship is a worksheet (a chart sheet before it is
// passed); shared, inline and formula strings, numbers, booleans ("TRUE", "FALSE"), error texts
// and ISO dates (t="d"). Numbers are shown by their formats (number_formats.h): dates and times
// of day as date serials of the 1900 system, elapsed times as the texts the format shows. Only the
// kept cells are stored (see workbook_reading.h). Throws UserError: workbookTooLargeMessage() for a
// part declared larger than 256 MiB, cannotReadWorkbookMessage() for anything else that is wrong.
std::unique_ptr<Worksheet> readXlsxFirstWorksheet(QByteArrayView bytes);

} // namespace corvanteller
