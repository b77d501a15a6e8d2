// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace corvanteller::test {

// What a written .xlsx file says about one cell's look, read from its styles part.
struct XlsxCellStyle {
    QString horizontal; // "right", "center", "left" or empty
    QString fontColour; // "FF0000FF" (ARGB) or empty
    bool bold = false;
    bool italic = false;
    QString fillColour;  // the solid fill's colour or empty
    QStringList borders; // "left thin FFFF0000", ... for each drawn edge, in the order left,
                         // right, top, bottom
};

// Reads the sheet and styles parts of a workbook that this program wrote.
class XlsxInspector {
public:
    explicit XlsxInspector(const QByteArray& file);

    bool ok() const { return ok_; }
    // Cell styles by address ("B3"); a cell that the sheet does not name has none.
    bool hasCell(const QString& address) const { return cellStyles_.contains(address); }
    XlsxCellStyle style(const QString& address) const;
    // Column widths as written, by 1-based column.
    double columnWidth(int column) const;
    QString sheetName() const { return sheetName_; }
    // The sheet's filter range ("A1:G4") and the rows frozen above its pane.
    QString autoFilter() const { return autoFilter_; }
    int frozenRows() const { return frozenRows_; }
    int formatCount() const { return static_cast<int>(xfs_.size()); }

private:
    struct Xf {
        int font = 0;
        int fill = 0;
        int border = 0;
        QString horizontal;
    };
    struct Font {
        QString colour;
        bool bold = false;
        bool italic = false;
    };

    bool ok_ = false;
    QHash<QString, int> cellStyles_;
    QList<Xf> xfs_;
    QList<Font> fonts_;
    QStringList fills_;
    QList<QStringList> borders_;
    QList<std::tuple<int, int, double>> columns_;
    QString sheetName_;
    QString autoFilter_;
    int frozenRows_ = 0;
};

} // namespace corvanteller::test
