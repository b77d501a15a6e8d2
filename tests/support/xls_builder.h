// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
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
    // Encrypted under the password as Excel encrypts: RC4 keyed by MD5, or RC4 CryptoAPI keyed
    // by SHA-1 (128-bit keys, Excel's default).
    enum class Encryption { Rc4, CryptoApi };
    XlsBuilder& encrypted(Encryption encryption, const QString& password);
    // A chart sheet before the worksheet, as Excel's F11 makes.
    XlsBuilder& withChartSheetFirst();
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
    std::optional<Encryption> encryption_;
    QString encryptionPassword_;
    bool chartFirst_ = false;
    bool emptyString_ = false;
};

} // namespace corvanteller::test
