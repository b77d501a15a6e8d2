#pragma once

#include <QByteArray>
#include <QString>

#include <variant>
#include <vector>

namespace corvanteller::test {

// Builds an .xls file as spreadsheet programs write them: a BIFF8 workbook stream (globals with
// the shared string table and one worksheet) in a compound file of 4096-byte sectors. Its
// stream is longer than a sector, so it never lies in the compound file's mini stream.
class XlsBuilder {
public:
    // Cells are 1-based. Texts go through the shared string table.
    XlsBuilder& text(int row, int column, const QString& text);
    XlsBuilder& number(int row, int column, double number);
    // The worksheet's DIMENSION counts; by default one past the last cell.
    XlsBuilder& dimensions(int rows, int columns);
    // A FILEPASS record: the workbook is obfuscated with a password.
    XlsBuilder& withPassword();
    // An empty string in the shared string table, which no cell uses.
    XlsBuilder& withEmptySharedString();

    // The workbook stream alone and the whole file.
    QByteArray workbookStream() const;
    QByteArray bytes() const;
    // A compound file holding one stream of a sector or more (an encrypted .xlsx package is
    // one holding "EncryptedPackage").
    static QByteArray compoundFile(const QString& streamName, const QByteArray& stream);

private:
    struct Cell {
        int row;
        int column;
        std::variant<QString, double> value;
    };

    std::vector<Cell> cells_;
    int rows_ = -1;
    int columns_ = -1;
    bool password_ = false;
    bool emptyString_ = false;
};

} // namespace corvanteller::test
