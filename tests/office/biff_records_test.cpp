#include "office/biff_records.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <cstring>

namespace corvanteller::biff {
namespace {

void put16(QByteArray& bytes, unsigned value) {
    bytes.append(static_cast<char>(value & 0xFF));
    bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

void put32(QByteArray& bytes, quint32 value) {
    put16(bytes, value & 0xFFFF);
    put16(bytes, value >> 16);
}

void putNumber(QByteArray& bytes, double number) {
    quint64 bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    put32(bytes, static_cast<quint32>(bits));
    put32(bytes, static_cast<quint32>(bits >> 32));
}

QByteArray record(unsigned id, const QByteArray& data) {
    QByteArray bytes;
    put16(bytes, id);
    put16(bytes, static_cast<unsigned>(data.size()));
    return bytes + data;
}

QByteArray bof(unsigned kind) {
    QByteArray data;
    put16(data, 0x0600);
    put16(data, kind);
    data.append(QByteArray(12, '\0'));
    return record(0x0809, data);
}

// A cell record's start: row, column (both 0-based) and cell format.
QByteArray at(unsigned row, unsigned column, unsigned xf = 0) {
    QByteArray data;
    put16(data, row);
    put16(data, column);
    put16(data, xf);
    return data;
}

// An 8-bit string with its character count and flag byte.
QByteArray narrow(const QByteArray& text) {
    QByteArray data;
    put16(data, static_cast<unsigned>(text.size()));
    data.append('\0');
    return data + text;
}

QByteArray formula(unsigned row, unsigned column, const QByteArray& result,
                   const QByteArray& tokens = QByteArray("\x1E\x00\x00", 3)) {
    QByteArray data = at(row, column) + result;
    put16(data, 0);
    put32(data, 0);
    put16(data, static_cast<unsigned>(tokens.size()));
    return record(0x0006, data + tokens);
}

QByteArray special(char type, char value) {
    return QByteArray(1, type) + '\0' + value + QByteArray(3, '\0') + "\xFF\xFF";
}

// A workbook stream: the globals' records, the sheet's name pointing at the sheet, the cells.
QByteArray workbook(const QByteArray& globals, const QByteArray& cells) {
    QByteArray stream = bof(0x0005) + globals;
    QByteArray boundSheet;
    put32(boundSheet, static_cast<quint32>(stream.size() + 4 + 9 + 4));
    boundSheet += QByteArray("\0\0\1\0A", 5);
    stream += record(0x0085, boundSheet) + record(0x000A, {});
    return stream + bof(0x0010) + cells + record(0x000A, {});
}

Sheet read(const QByteArray& stream) {
    return readFirstWorksheet({reinterpret_cast<const std::uint8_t*>(stream.constData()),
                               static_cast<std::size_t>(stream.size())},
                              45006, 7);
}

const Cell* find(const Sheet& sheet, std::uint32_t row, std::uint32_t column) {
    const Cell* found = nullptr;
    for (const Cell& cell : sheet.cells) {
        if (cell.row == row && cell.column == column) {
            found = &cell;
        }
    }
    return found;
}

TEST(BiffRecords, SharedStringsGoOnOverContinueRecordsWithTheirOwnWidth) {
    // "Ab" in 8 bits, then "Вг" in 16 bits in the continuation; the next string starts the
    // second continuation without a flag byte and carries a formatting run.
    QByteArray sst;
    put32(sst, 2);
    put32(sst, 2);
    put16(sst, 4);
    sst += QByteArray("\0Ab", 3);
    QByteArray first("\x01", 1);
    put16(first, 0x0412);
    put16(first, 0x0433);
    QByteArray second;
    put16(second, 1);
    second += QByteArray("\x08\x01\x00z", 4);
    put32(second, 0);
    const QByteArray globals = record(0x00FC, sst) + record(0x003C, first) + record(0x003C, second);
    QByteArray cells;
    for (unsigned i = 0; i < 2; ++i) {
        QByteArray data = at(i, 0);
        put32(data, i);
        cells += record(0x00FD, data);
    }
    const Sheet sheet = read(workbook(globals, cells));
    ASSERT_EQ(sheet.status, Status::Read);
    EXPECT_EQ(find(sheet, 1, 1)->text, "AbВг");
    EXPECT_EQ(find(sheet, 2, 1)->text, "z");
}

TEST(BiffRecords, CellRecordsGiveTheirValues) {
    QByteArray rk = at(0, 0);
    put32(rk, (1234u << 2) | 3u); // 12.34
    QByteArray mulrk;
    put16(mulrk, 1);
    put16(mulrk, 1);
    put16(mulrk, 0);
    put32(mulrk, (static_cast<quint32>(-7) << 2) | 2u);
    put16(mulrk, 0);
    put32(mulrk, 0x40120000u); // 4.5, the high bits of a double
    put16(mulrk, 2);
    QByteArray number = at(2, 0);
    putNumber(number, 0.1 + 0.2);
    QByteArray label = at(3, 0) + narrow("=1+1");
    QByteArray boolean = at(4, 0) + QByteArray("\x01\x00", 2);
    QByteArray error = at(4, 1) + QByteArray("\x2A\x01", 2);
    QByteArray text;
    put16(text, 3);
    text += QByteArray("\0!ok", 4);
    QByteArray resultNumber;
    putNumber(resultNumber, 16);
    const QByteArray cells = record(0x027E, rk) + record(0x00BD, mulrk) + record(0x0203, number) +
                             record(0x0204, label) + record(0x0205, boolean) +
                             record(0x0205, error) + record(0x0201, at(5, 0)) +
                             formula(6, 0, special(0, 0)) + record(0x0207, text) +
                             formula(6, 1, special(1, 1)) + formula(6, 2, special(2, 7)) +
                             formula(6, 3, resultNumber) + formula(7, 0, special(3, 0));
    const Sheet sheet = read(workbook({}, cells));
    ASSERT_EQ(sheet.status, Status::Read);
    const struct {
        std::uint32_t row, column;
        CellKind kind;
        double number;
        std::string text;
    } expected[] = {
        {1, 1, CellKind::Number, 12.34, ""}, {2, 2, CellKind::Number, -7, ""},
        {2, 3, CellKind::Number, 4.5, ""},   {3, 1, CellKind::Number, 0.1 + 0.2, ""},
        {4, 1, CellKind::Text, 0, "=1+1"},   {5, 1, CellKind::Boolean, 1, ""},
        {5, 2, CellKind::Error, 0, "#N/A"},  {7, 1, CellKind::Text, 0, "!ok"},
        {7, 2, CellKind::Boolean, 1, ""},    {7, 3, CellKind::Error, 0, "#DIV/0!"},
        {7, 4, CellKind::Number, 16, ""},    {8, 1, CellKind::Text, 0, ""},
    };
    for (const auto& want : expected) {
        const Cell* cell = find(sheet, want.row, want.column);
        ASSERT_NE(cell, nullptr) << want.row << ',' << want.column;
        EXPECT_EQ(cell->kind, want.kind) << want.row << ',' << want.column;
        EXPECT_DOUBLE_EQ(cell->number, want.number) << want.row << ',' << want.column;
        EXPECT_EQ(cell->text, want.text) << want.row << ',' << want.column;
    }
    EXPECT_EQ(find(sheet, 6, 1), nullptr) << "a blank cell holds no value";
    EXPECT_EQ(sheet.lastRow, 8u);
    EXPECT_EQ(sheet.lastColumn, 4u);
}

TEST(BiffRecords, DatesFollowTheCellFormatAndThe1904System) {
    QByteArray dateMode;
    put16(dateMode, 1);
    QByteArray custom;
    put16(custom, 164);
    custom += narrow("[$-409]dd/mm/yyyy");
    QByteArray quoted;
    put16(quoted, 165);
    quoted += narrow("0.0\"dmy\"");
    auto xf = [](unsigned format) {
        QByteArray data;
        put16(data, 0);
        put16(data, format);
        return record(0x00E0, data + QByteArray(16, '\0'));
    };
    const QByteArray globals = record(0x0022, dateMode) + record(0x041E, custom) +
                               record(0x041E, quoted) + xf(0) + xf(14) + xf(164) + xf(165);
    QByteArray cells;
    for (unsigned column = 0; column < 4; ++column) {
        QByteArray data = at(0, column, column);
        putNumber(data, 100);
        cells += record(0x0203, data);
    }
    const Sheet sheet = read(workbook(globals, cells));
    ASSERT_EQ(sheet.status, Status::Read);
    EXPECT_EQ(find(sheet, 1, 1)->kind, CellKind::Number);
    EXPECT_EQ(find(sheet, 1, 2)->kind, CellKind::Date);
    EXPECT_DOUBLE_EQ(find(sheet, 1, 2)->number, 1562);
    EXPECT_EQ(find(sheet, 1, 3)->kind, CellKind::Date);
    EXPECT_EQ(find(sheet, 1, 4)->kind, CellKind::Number);
}

TEST(BiffRecords, TextFormulasSavedWithoutTheirTextAreWorkedOut) {
    // LibreOffice saves =CONCATENATE(A1;" !") and =A1&2 with the number 0 as the result.
    QByteArray label = at(0, 0) + narrow("Sky");
    const QByteArray reference("\x44\x00\x00\x00\xC0", 5);
    const QByteArray exclamation("\x17\x02\x00 !", 5);
    QByteArray zero;
    putNumber(zero, 0);
    const QByteArray cells =
        record(0x0204, label) +
        formula(1, 0, zero, reference + exclamation + QByteArray("\x42\x02\x50\x01", 4)) +
        formula(2, 0, zero, reference + QByteArray("\x1E\x02\x00\x08", 4)) +
        formula(3, 0, zero, QByteArray("\x1E\x00\x00", 3));
    const Sheet sheet = read(workbook({}, cells));
    ASSERT_EQ(sheet.status, Status::Read);
    EXPECT_EQ(find(sheet, 2, 1)->text, "Sky !");
    EXPECT_EQ(find(sheet, 3, 1)->text, "Sky2");
    EXPECT_EQ(find(sheet, 4, 1)->kind, CellKind::Number);
}

TEST(BiffRecords, EncryptedAndBrokenStreamsAreTold) {
    QByteArray filePass;
    put16(filePass, 1);
    const QByteArray good = workbook({}, record(0x0204, at(0, 0) + narrow("a")));
    QByteArray cut = good;
    cut.chop(6);
    QByteArray badIndex = at(0, 0);
    put32(badIndex, 5);
    const struct {
        QByteArray stream;
        Status status;
    } cases[] = {
        {good, Status::Read},
        {workbook(record(0x002F, filePass), {}), Status::Protected},
        {cut, Status::Malformed},
        {workbook({}, record(0x00FD, badIndex)), Status::Malformed},
        {QByteArray("\x09\x08\x04\x00\x00\x05\x05\x00", 8), Status::Malformed},
        {{}, Status::Malformed},
    };
    for (const auto& [stream, status] : cases) {
        EXPECT_EQ(read(stream).status, status) << stream.toHex().toStdString();
    }
}

} // namespace
} // namespace corvanteller::biff
