// SPDX-License-Identifier: GPL-3.0-or-later
// corvanteller-xls-reader FILE: writes the first worksheet of an .xls file in the form that
// office/xls_output.h describes. libgsf opens the compound file and the program's own record
// layer (biff_records.h) reads the workbook stream, decrypted first when it is encrypted with
// Excel's default password (xls_decryption.h). A damaged file must not take the program
// down, so the reading runs in this separate process, with its address space limited, and the
// program waits a bounded time.
// Exit status: 0 written, 1 the file cannot be read, 2 wrong call, 4 the workbook is protected
// by a password (FILEPASS, or an encrypted .xlsx package), 5 the workbook is of Excel 5.0/95
// (BIFF5).
#include "office/biff_records.h"
#include "office/xls_decryption.h"
#include "office/xls_output_format.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <sys/resource.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// AddressSanitizer reserves terabytes of address space for its shadow memory: a build with it
// cannot run under the limit.
#if defined(__SANITIZE_ADDRESS__)
#define CORVANTELLER_LIMIT_ADDRESS_SPACE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANTELLER_LIMIT_ADDRESS_SPACE 0
#endif
#endif
#ifndef CORVANTELLER_LIMIT_ADDRESS_SPACE
#define CORVANTELLER_LIMIT_ADDRESS_SPACE 1
#endif

namespace {

constexpr rlim_t addressSpaceLimit = rlim_t(1) << 30;
constexpr std::uint32_t keptRows = 45006;
constexpr std::uint32_t keptColumns = 7;
constexpr gsf_off_t maxStreamSize = 256 * 1024 * 1024;
constexpr int exitCannotRead = 1;
constexpr int exitProtected = 4;
constexpr int exitExcel95 = 5;

// A BIFF5 stream begins with a BOF of version 0x0500.
bool isBiff5(const std::vector<std::uint8_t>& stream) {
    return stream.size() >= 8 && stream[0] == 0x09 && stream[1] == 0x08 && stream[4] == 0x00 &&
           stream[5] == 0x05;
}

template <class Number> void appendNumber(std::string& out, Number number) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    out.append(buffer.data(), result.ptr);
}

void appendCell(std::string& out, const corvanteller::biff::Cell& cell) {
    using corvanteller::biff::CellKind;
    std::string bytes;
    char kind = 't';
    switch (cell.kind) {
    case CellKind::Text:
        bytes = cell.text;
        break;
    case CellKind::Error:
        kind = 'e';
        bytes = cell.text;
        break;
    case CellKind::Boolean:
        kind = 'b';
        bytes = cell.number != 0 ? "1" : "0";
        break;
    case CellKind::Number:
    case CellKind::Date:
        kind = cell.kind == CellKind::Date ? 'd' : 'n';
        appendNumber(bytes, cell.number);
        break;
    }
    // The program takes no longer value: a longer text is cut at a whole character.
    if (bytes.size() > static_cast<std::size_t>(corvanteller::xlsOutputMaxValueBytes)) {
        std::size_t size = corvanteller::xlsOutputMaxValueBytes;
        while (size > 0 && (static_cast<unsigned char>(bytes[size]) & 0xC0) == 0x80) {
            --size;
        }
        bytes.resize(size);
    }
    out += "cell ";
    appendNumber(out, cell.row);
    out += ' ';
    appendNumber(out, cell.column);
    out += ' ';
    out += kind;
    out += ' ';
    appendNumber(out, bytes.size());
    out += '\n';
    out += bytes;
    out += '\n';
}

// The workbook stream's bytes; an empty vector when there is none.
std::vector<std::uint8_t> readStream(GsfInput* stream) {
    std::vector<std::uint8_t> bytes;
    const gsf_off_t size = gsf_input_size(stream);
    if (size <= 0 || size > maxStreamSize) {
        return bytes;
    }
    bytes.resize(static_cast<std::size_t>(size));
    if (gsf_input_read(stream, bytes.size(), bytes.data()) == nullptr) {
        bytes.clear();
    }
    return bytes;
}

int readWorkbook(GsfInfile* file, std::string& out) {
    GsfInput* stream = gsf_infile_child_by_name(file, "Workbook");
    if (stream == nullptr) {
        // Excel 5.0/95 named its stream "Book".
        if (GsfInput* book = gsf_infile_child_by_name(file, "Book")) {
            g_object_unref(book);
            return exitExcel95;
        }
        // An encrypted .xlsx is a compound file holding the encrypted package.
        GsfInput* package = gsf_infile_child_by_name(file, "EncryptedPackage");
        if (package != nullptr) {
            g_object_unref(package);
            return exitProtected;
        }
        return exitCannotRead;
    }
    std::vector<std::uint8_t> bytes = readStream(stream);
    g_object_unref(stream);
    if (isBiff5(bytes)) {
        return exitExcel95;
    }
    corvanteller::biff::Sheet sheet =
        corvanteller::biff::readFirstWorksheet(bytes, keptRows, keptColumns);
    // Excel opens a workbook encrypted with its default password without asking: so does this.
    if (sheet.status == corvanteller::biff::Status::Protected &&
        corvanteller::biff::decryptWithDefaultPassword(bytes) ==
            corvanteller::biff::Decryption::Decrypted) {
        sheet = corvanteller::biff::readFirstWorksheet(bytes, keptRows, keptColumns);
    }
    if (sheet.status == corvanteller::biff::Status::Protected) {
        return exitProtected;
    }
    if (sheet.status != corvanteller::biff::Status::Read) {
        return exitCannotRead;
    }
    out += corvanteller::xlsOutputHeader;
    out += "size ";
    appendNumber(out, sheet.lastRow);
    out += ' ';
    appendNumber(out, sheet.lastColumn);
    out += '\n';
    for (const corvanteller::biff::Cell& cell : sheet.cells) {
        appendCell(out, cell);
    }
    out += "end\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: corvanteller-xls-reader FILE\n", stderr);
        return 2;
    }
    if (CORVANTELLER_LIMIT_ADDRESS_SPACE) {
        const rlimit limit{addressSpaceLimit, addressSpaceLimit};
        setrlimit(RLIMIT_AS, &limit);
    }
    gsf_init();
    GsfInput* input = gsf_input_stdio_new(argv[1], nullptr);
    if (input == nullptr) {
        return exitCannotRead;
    }
    GsfInfile* file = gsf_infile_msole_new(input, nullptr);
    g_object_unref(input);
    if (file == nullptr) {
        return exitCannotRead;
    }
    std::string out;
    const int status = readWorkbook(file, out);
    g_object_unref(file);
    if (status != 0) {
        return status;
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        return exitCannotRead;
    }
    return 0;
}
