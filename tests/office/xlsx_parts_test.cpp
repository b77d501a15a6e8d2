// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/excel_export.h"
#include "office/workbook.h"
#include "office/workbook_engine.h"
#include "office/xlsx_writer.h"
#include "office/zip_archive.h"

#include "common/error.h"
#include "kar/row_store.h"
#include "settings/options.h"
#include "table/song_table_model.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

// Every part of the file, unzipped, by name in the archive's order; the time the file was made
// left out.
std::vector<ZipEntry> parts(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const ZipReader reader(bytes);
    std::vector<ZipEntry> entries;
    for (const QByteArray& name : reader.names()) {
        ZipEntry& entry = entries.emplace_back(ZipEntry{name, {}});
        EXPECT_TRUE(reader.read(*reader.find(name), [&](QByteArrayView piece) {
            entry.content.append(piece);
            return true;
        }));
        static const QRegularExpression madeAt(u"\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ"_s);
        entry.content = QString::fromUtf8(entry.content).replace(madeAt, u"TIME"_s).toUtf8();
    }
    return entries;
}

void expectSameParts(const Workbook& book, const char* what) {
    QTemporaryDir folder;
    const QString own = folder.filePath(u"own.xlsx"_s);
    const QString library = folder.filePath(u"library.xlsx"_s);
    EXPECT_EQ(writeXlsx(book, own).cutCells, writeXlsxThroughLibrary(book, library).cutCells);
    const std::vector<ZipEntry> ownParts = parts(own);
    const std::vector<ZipEntry> libraryParts = parts(library);
    ASSERT_EQ(ownParts.size(), libraryParts.size()) << what;
    for (std::size_t part = 0; part < ownParts.size(); ++part) {
        EXPECT_EQ(ownParts[part].name, libraryParts[part].name) << what;
        EXPECT_EQ(ownParts[part].content.toStdString(), libraryParts[part].content.toStdString())
            << what << ": " << ownParts[part].name.toStdString();
    }
}

// Escapes, whitespace the library keeps, NUL, Cyrillic, surrogate pairs, texts that are cut.
const QStringList awkwardTexts =
    u"a & b < c > d \"quoted\" 'single'|\x01start\x1f end\x7f|line\r\nnext\tcell\n| leading|"
    u"trailing |\ttab|\rcarriage|\x0bvertical\f|_x0041_ looks escaped|Сделано Петровым, ёЁ №|"
    u"\u00a0no-break\u00a0|\U0001F3A4 микрофон|=1+2|0012"_s.split(u'|') +
    QStringList{QString(QChar(0)) + u"after nul"_s, QString(QChar(0)), QString(40000, u'ж'),
                QString(32766, u'x') + u"\U0001F3A4"_s};

Workbook sheetOf(const std::function<void(Worksheet&)>& fill) {
    Workbook book;
    fill(book.worksheet(1));
    return book;
}

TEST(XlsxPartsTest, TheOwnRowsAreTheLibrarysBytes) {
    expectSameParts(Workbook(), "empty");
    expectSameParts(sheetOf([](Worksheet& sheet) { sheet.columns().setFontBold(true); }),
                    "column formats only");
    expectSameParts(sheetOf([](Worksheet& sheet) {
                        int row = 2;
                        for (const QString& text : awkwardTexts) {
                            sheet.setValue(row++, 3, CellValue::ofText(text));
                        }
                    }),
                    "awkward texts");
    expectSameParts(sheetOf([](Worksheet& sheet) {
                        sheet.columns().setFontItalic(true);
                        sheet.range(1, 2, 3, 4).setColumnWidth(30);
                        sheet.freezeTopRows(1);
                        sheet.setAutoFilter(3, 4);
                        sheet.setValue(1, 1, CellValue::ofNumber(1.5));
                        sheet.setValue(1, 28, CellValue::ofNumber(0.1 + 0.2));
                        sheet.setValue(2, 2, CellValue::ofBoolean(true));
                        sheet.setValue(2, 3, CellValue::ofError(u"#N/A"_s));
                        sheet.setValue(3, 4, CellValue::ofDate(46000.25));
                        sheet.cells(3, 5).setFontBold(true);
                        sheet.cells(4, 1).setFontBold(false);
                        sheet.cells(5, 2).setValue(CellValue::ofText(u"plain"_s));
                        sheet.cells(5, 2).setFontBold(false);
                        sheet.cells(6, 3).setInteriorColourIndex(6);
                        sheet.cells(6, 3).setInteriorPattern(1);
                        sheet.setValue(7, 16384, CellValue::ofNumber(-1e300));
                    }),
                    "kinds and formats");
}

TEST(XlsxPartsTest, AnExportedTableIsTheLibrarysBytes) {
    RowStore store;
    for (int row = 1; row <= 40; ++row) {
        for (int column = 1; column <= 6; ++column) {
            const QString& awkward = awkwardTexts[(row + column) % awkwardTexts.size()];
            store.setText(column, row, row % 3 == 0 ? QString() : awkward.left(300));
        }
    }
    store.setRowCount(40);
    SongTableModel model;
    model.rebuildFrom(store);
    ExcelOptions options;
    options.addString = true;
    options.stringToAdd = u"Karaoke & <co>"_s;
    for (const bool plain : {false, true}) {
        options.colourAllFill = options.colourAllText = options.italic = options.numberOfRow =
            !plain;
        options.bordersDrawn = plain ? BordersDrawn::Horizontal : BordersDrawn::All;
        WorkbookEngine engine;
        ASSERT_TRUE(buildExportWorkbook(engine, model, options, QDateTime::currentDateTime(),
                                        QLocale::c()));
        expectSameParts(engine.workbook(1), plain ? "plain export" : "coloured export");
    }
}

TEST(XlsxPartsTest, ATextTooLongForTheLibraryAfterItsEscapesFailsAsBefore) {
    const Workbook book = sheetOf([](Worksheet& sheet) {
        sheet.setValue(1, 1, CellValue::ofText(QString(32766, u'x') + u"\x01"_s));
    });
    QTemporaryDir folder;
    for (const auto write : {&writeXlsx, &writeXlsxThroughLibrary}) {
        try {
            write(book, folder.filePath(u"long.xlsx"_s));
            ADD_FAILURE() << "written";
        } catch (const UserError& error) {
            EXPECT_EQ(error.text(), u"String exceeds Excel's limit of 32,767 characters."_s);
        }
    }
}

} // namespace
} // namespace corvanteller
