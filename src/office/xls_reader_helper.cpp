// corvanteller-xls-reader FILE: writes the first worksheet of an .xls file in the form that
// office/xls_output.h describes. FreeXL can crash on damaged files, so the program runs it in
// this separate process, with its address space limited, and waits a bounded time.
// Exit status: 0 written, 1 the file cannot be read, 2 wrong call.
#include <freexl.h>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

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
constexpr unsigned int keptRows = 45006;
constexpr unsigned short keptColumns = 7;
constexpr std::string_view header = "corvanteller-xls-reader 1\n";

template <class Number> void appendNumber(std::string& out, Number number) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    out.append(buffer.data(), result.ptr);
}

bool hasValue(const FreeXL_CellValue& value) {
    switch (value.type) {
    case FREEXL_CELL_INT:
    case FREEXL_CELL_DOUBLE:
        return true;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return value.value.text_value != nullptr;
    default:
        return false;
    }
}

void appendCell(std::string& out, unsigned int row, unsigned short column,
                const FreeXL_CellValue& value) {
    std::string bytes;
    char kind = 'n';
    if (value.type == FREEXL_CELL_INT) {
        appendNumber(bytes, value.value.int_value);
    } else if (value.type == FREEXL_CELL_DOUBLE) {
        appendNumber(bytes, value.value.double_value);
    } else {
        kind = 't';
        bytes = value.value.text_value;
    }
    out += "cell ";
    appendNumber(out, row);
    out += ' ';
    appendNumber(out, column);
    out += ' ';
    out += kind;
    out += ' ';
    appendNumber(out, bytes.size());
    out += '\n';
    out += bytes;
    out += '\n';
}

int readFirstWorksheet(const void* handle, std::string& out) {
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) != FREEXL_OK ||
        info == FREEXL_BIFF_OBFUSCATED) {
        return 1;
    }
    unsigned int sheets = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        freexl_select_active_worksheet(handle, 0) != FREEXL_OK) {
        return 1;
    }
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
        return 1;
    }
    // The dimensions are counts that may lie beyond the last value: the last used cell comes
    // from the values themselves.
    unsigned int lastRow = 0;
    unsigned int lastColumn = 0;
    std::string cells;
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue value{};
            if (freexl_get_cell_value(handle, row, column, &value) != FREEXL_OK ||
                !hasValue(value)) {
                continue;
            }
            lastRow = std::max(lastRow, row + 1);
            lastColumn = std::max(lastColumn, static_cast<unsigned int>(column) + 1);
            if (row < keptRows && column < keptColumns) {
                appendCell(cells, row + 1, static_cast<unsigned short>(column + 1), value);
            }
        }
    }
    out.append(header);
    out += "size ";
    appendNumber(out, lastRow);
    out += ' ';
    appendNumber(out, lastColumn);
    out += '\n';
    out += cells;
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

    const void* handle = nullptr;
    const int opened = freexl_open(argv[1], &handle);
    // FreeXL has answered FREEXL_OK without a workbook (a string table holding an empty string).
    if (opened != FREEXL_OK || handle == nullptr) {
        if (handle != nullptr) {
            freexl_close(handle);
        }
        return 1;
    }
    std::string out;
    const int status = readFirstWorksheet(handle, out);
    freexl_close(handle);
    if (status != 0) {
        return status;
    }
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        return 1;
    }
    return 0;
}
