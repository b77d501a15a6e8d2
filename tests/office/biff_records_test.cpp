// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/biff_records.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace corvanteller::biff {
namespace {

// Little-endian 16-bit words.
QByteArray words(std::initializer_list<unsigned> values) {
    QByteArray bytes;
    for (const unsigned value : values) {
        bytes.append(static_cast<char>(value & 0xFF));
        bytes.append(static_cast<char>((value >> 8) & 0xFF));
    }
    return bytes;
}

QByteArray dword(quint32 value) {
    return words({value & 0xFFFF, value >> 16});
}

QByteArray ieee(double number) {
    quint64 bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    return dword(static_cast<quint32>(bits)) + dword(static_cast<quint32>(bits >> 32));
}

QByteArray record(unsigned id, const QByteArray& data) {
    return words({id, static_cast<unsigned>(data.size())}) + data;
}

QByteArray bof(unsigned kind) {
    return record(0x0809, words({0x0600, kind}) + QByteArray(12, '\0'));
}

// A cell record's start: row, column (both 0-based) and cell format.
QByteArray at(unsigned row, unsigned column, unsigned xf = 0) {
    return words({row, column, xf});
}

// An 8-bit string with its character count and flag byte.
QByteArray narrow(const QByteArray& text) {
    return words({static_cast<unsigned>(text.size())}) + QByteArray(1, '\0') + text;
}

QByteArray formula(unsigned row, unsigned column, const QByteArray& result,
                   const QByteArray& tokens = QByteArray("\x1E\x00\x00", 3)) {
    return record(0x0006, at(row, column) + result + words({0}) + dword(0) +
                              words({static_cast<unsigned>(tokens.size())}) + tokens);
}

QByteArray special(char type, char value) {
    return QByteArray(1, type) + '\0' + value + QByteArray(3, '\0') + "\xFF\xFF";
}

// A workbook stream: the globals' records, the sheet's name pointing at the sheet, the cells.
QByteArray workbook(const QByteArray& globals, const QByteArray& cells) {
    QByteArray stream = bof(0x0005) + globals;
    const quint32 sheetStart = static_cast<quint32>(stream.size() + 4 + 9 + 4);
    stream += record(0x0085, dword(sheetStart) + QByteArray("\0\0\1\0A", 5)) + record(0x000A, {});
    return stream + bof(0x0010) + cells + record(0x000A, {});
}

Sheet read(const QByteArray& stream) {
    return readFirstWorksheet({reinterpret_cast<const std::uint8_t*>(stream.constData()),
                               static_cast<std::size_t>(stream.size())},
                              45006, 7);
}

const Cell* find(const Sheet& sheet, std::uint32_t row, std::uint32_t column) {
    const auto found = std::find_if(sheet.cells.begin(), sheet.cells.end(), [&](const Cell& cell) {
        return cell.row == row && cell.column == column;
    });
    return found == sheet.cells.end() ? nullptr : &*found;
}

// Every kind of cell record in one sheet. The globals set the 1904 date system, two custom
// formats (one a date, one with "dmy" only quoted) and shared strings going on over CONTINUE
// records: "Ab" in 8 bits, "Вг" in 16 bits, then "z" without a flag byte and with a run.
TEST(BiffRecords, CellRecordsGiveTheirValues) {
    QByteArray globals = record(0x0022, words({1})) +
                         record(0x041E, words({164}) + narrow("[$-409]dd/mm/yyyy")) +
                         record(0x041E, words({165}) + narrow("0.0\"dmy\""));
    for (const unsigned format : {0, 14, 164, 165, 21, 46}) {
        globals += record(0x00E0, words({0, format}) + QByteArray(16, '\0'));
    }
    globals += record(0x00FC, dword(2) + dword(2) + words({4}) + QByteArray("\0Ab", 3)) +
               record(0x003C, QByteArray("\x01", 1) + words({0x0412, 0x0433})) +
               record(0x003C, words({1}) + QByteArray("\x08\x01\x00z", 4) + dword(0));

    const QByteArray mulrk = words({1, 1, 0}) + dword((static_cast<quint32>(-7) << 2) | 2u) +
                             words({0}) + dword(0x40120000u) + words({2}); // -7, 4.5
    QByteArray cells = record(0x0204, at(0, 0) + narrow("Sky")) +
                       record(0x027E, at(1, 0) + dword((1234u << 2) | 3u)) + // 12.34
                       record(0x00BD, mulrk) + record(0x0203, at(2, 0) + ieee(0.1 + 0.2)) +
                       record(0x0204, at(3, 0) + narrow("=1+1")) +
                       record(0x0205, at(4, 0) + QByteArray("\x01\x00", 2)) +
                       record(0x0205, at(4, 1) + QByteArray("\x2A\x01", 2)) +
                       record(0x0201, at(5, 0)) + formula(6, 0, special(0, 0)) +
                       record(0x0207, words({3}) + QByteArray("\0!ok", 4)) +
                       formula(6, 1, special(1, 1)) + formula(6, 2, special(2, 7)) +
                       formula(6, 3, ieee(16)) + formula(7, 0, special(3, 0));
    for (unsigned i = 0; i < 2; ++i) {
        cells += record(0x00FD, at(8, i) + dword(i));
    }
    for (unsigned column = 0; column < 4; ++column) {
        cells += record(0x0203, at(9, column, column) + ieee(100));
    }
    // LibreOffice saves =CONCATENATE(A1;" !") and =A1&2 with the number 0 as the result.
    const QByteArray reference("\x44\x00\x00\x00\xC0", 5);
    cells += formula(10, 0, ieee(0), reference + QByteArray("\x17\x02\x00 !\x42\x02\x50\x01", 9)) +
             formula(11, 0, ieee(0), reference + QByteArray("\x1E\x02\x00\x08", 4)) +
             formula(12, 0, ieee(0));
    // A time of day and an elapsed time, which the 1904 system must not make dates.
    cells += record(0x0203, at(13, 0, 4) + ieee(1.75)) + record(0x0203, at(13, 1, 5) + ieee(1.5));

    const Sheet sheet = read(workbook(globals, cells));
    ASSERT_EQ(sheet.status, Status::Read);
    const struct {
        std::uint32_t row, column;
        CellKind kind;
        double number;
        std::string text;
    } expected[] = {
        {1, 1, CellKind::Text, 0, "Sky"},        {2, 1, CellKind::Number, 12.34, ""},
        {2, 2, CellKind::Number, -7, ""},        {2, 3, CellKind::Number, 4.5, ""},
        {3, 1, CellKind::Number, 0.1 + 0.2, ""}, {4, 1, CellKind::Text, 0, "=1+1"},
        {5, 1, CellKind::Boolean, 1, ""},        {5, 2, CellKind::Error, 0, "#N/A"},
        {7, 1, CellKind::Text, 0, "!ok"},        {7, 2, CellKind::Boolean, 1, ""},
        {7, 3, CellKind::Error, 0, "#DIV/0!"},   {7, 4, CellKind::Number, 16, ""},
        {8, 1, CellKind::Text, 0, ""},           {9, 1, CellKind::Text, 0, "AbВг"},
        {9, 2, CellKind::Text, 0, "z"},          {10, 1, CellKind::Number, 100, ""},
        {10, 2, CellKind::Date, 1562, ""},       {10, 3, CellKind::Date, 1562, ""},
        {10, 4, CellKind::Number, 100, ""},      {11, 1, CellKind::Text, 0, "Sky !"},
        {12, 1, CellKind::Text, 0, "Sky2"},      {13, 1, CellKind::Number, 0, ""},
        {14, 1, CellKind::Date, 0.75, ""},       {14, 2, CellKind::Text, 0, "36:00:00"},
    };
    for (const auto& want : expected) {
        const Cell* cell = find(sheet, want.row, want.column);
        ASSERT_NE(cell, nullptr) << want.row << ',' << want.column;
        EXPECT_EQ(cell->kind, want.kind) << want.row << ',' << want.column;
        EXPECT_DOUBLE_EQ(cell->number, want.number) << want.row << ',' << want.column;
        EXPECT_EQ(cell->text, want.text) << want.row << ',' << want.column;
    }
    EXPECT_EQ(find(sheet, 6, 1), nullptr) << "a blank cell holds no value";
    EXPECT_EQ(sheet.lastRow, 14u);
    EXPECT_EQ(sheet.lastColumn, 4u);
}

TEST(BiffRecords, EncryptedAndBrokenStreamsAreTold) {
    const QByteArray good = workbook({}, record(0x0204, at(0, 0) + narrow("a")));
    const struct {
        QByteArray stream;
        Status status;
    } cases[] = {
        {good, Status::Read},
        {workbook(record(0x002F, words({1})), {}), Status::Protected},
        {good.chopped(6), Status::Malformed},
        {workbook({}, record(0x00FD, at(0, 0) + dword(5))), Status::Malformed},
        {QByteArray("\x09\x08\x04\x00\x00\x05\x05\x00", 8), Status::Malformed},
        {{}, Status::Malformed},
    };
    for (const auto& [stream, status] : cases) {
        EXPECT_EQ(read(stream).status, status) << stream.toHex().toStdString();
    }
}

} // namespace
} // namespace corvanteller::biff
