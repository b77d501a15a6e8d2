// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "office/xls_output_format.h"

#include <QByteArrayView>

#include <memory>

namespace corvanteller {

class Worksheet;

// Reads that output; nothing when it is malformed in any way (a cell outside the kept area or
// beyond the last used cell, a bad number, bytes after "end").
std::unique_ptr<Worksheet> parseXlsOutput(QByteArrayView output);

} // namespace corvanteller
