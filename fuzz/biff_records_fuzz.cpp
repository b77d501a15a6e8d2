// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: any bytes are the workbook stream of an .xls file. The record layer must
// not crash, and what it reads must hold together: every kept cell inside the kept area and
// the last used cell, every text valid UTF-8.
#include "office/biff_records.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint32_t keptRows = 45006;
constexpr std::uint32_t keptColumns = 7;

void check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "biff_records_fuzz: broken: %s\n", what);
        std::abort();
    }
}

bool validUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvanteller::biff;
    const Sheet sheet = readFirstWorksheet({data, size}, keptRows, keptColumns);
    if (sheet.status != Status::Read) {
        check(sheet.status == Status::Protected || sheet.status == Status::Malformed,
              "a known status");
        return 0;
    }
    check((sheet.lastRow == 0) == (sheet.lastColumn == 0), "an empty sheet has no last column");
    for (const Cell& cell : sheet.cells) {
        check(cell.row >= 1 && cell.row <= keptRows && cell.column >= 1 &&
                  cell.column <= keptColumns,
              "cells inside the kept area");
        check(cell.row <= sheet.lastRow && cell.column <= sheet.lastColumn,
              "cells inside the last used cell");
        check(validUtf8(cell.text), "texts are valid UTF-8");
    }
    return 0;
}
