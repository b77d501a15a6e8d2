// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace corvanteller {

class Worksheet;

enum class WorkbookFileKind { Xls, Xlsx };

// Recognised by the first bytes, not by the name: D0 CF 11 E0 A1 B1 1A E1 is an .xls, "PK\3\4"
// an .xlsx. Throws IoError for a file that cannot be read, UserError(oldFormatMessage()) for a
// plain record stream of Excel 2.1 to 95, UserError(notWorkbookMessage()) for anything else.
WorkbookFileKind workbookFileKind(const QString& path);

// The first worksheet of the workbook file, its kept cells (workbook_reading.h). Throws
// IoError or UserError.
std::unique_ptr<Worksheet> readFirstWorksheet(const QString& path);

} // namespace corvanteller
