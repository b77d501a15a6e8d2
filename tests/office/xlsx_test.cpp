// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/cell_text.h"
#include "office/workbook.h"
#include "office/workbook_file.h"
#include "office/workbook_reading.h"
#include "office/xlsx_reader.h"
#include "office/xlsx_writer.h"
#include "office/zip_archive.h"

#include "common/error.h"
#include "xlsx_inspect.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

QByteArray readBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

// Writes the workbook and reads the file's first worksheet back.
struct RoundTrip {
    explicit RoundTrip(const Workbook& book) {
        path = folder.filePath(u"book.xlsx"_s);
        report = writeXlsx(book, path);
        bytes = readBytes(path);
        sheet = readXlsxFirstWorksheet(bytes);
    }
    QTemporaryDir folder;
    QString path;
    XlsxWriteReport report;
    QByteArray bytes;
    std::unique_ptr<Worksheet> sheet;
};

constexpr auto mainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// A package of hand-written parts, stored so that the test controls every byte.
struct Package {
    QByteArray workbook =
        R"(<workbook xmlns=")" + QByteArray(mainNs) +
        R"(" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    QByteArray workbookRels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
        R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
        R"(</Relationships>)";
    QByteArray rootRels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
        R"(</Relationships>)";
    QByteArray sheetData; // inside <sheetData>
    QByteArray sharedStrings;
    QByteArray styles; // inside <styleSheet>
    QByteArray sheetPath = "xl/worksheets/sheet1.xml";
    QByteArray sheetNamespace = mainNs;

    QByteArray sheetXml() const {
        return R"(<worksheet xmlns=")" + sheetNamespace + R"("><sheetData>)" + sheetData +
               "</sheetData></worksheet>";
    }
    QByteArray bytes() const {
        std::vector<ZipEntry> entries = {{"_rels/.rels", rootRels},
                                         {"xl/workbook.xml", workbook},
                                         {"xl/_rels/workbook.xml.rels", workbookRels},
                                         {sheetPath, sheetXml()}};
        if (!sharedStrings.isEmpty()) {
            entries.push_back({"xl/sharedStrings.xml", R"(<sst xmlns=")" + QByteArray(mainNs) +
                                                           R"(">)" + sharedStrings + "</sst>"});
        }
        if (!styles.isEmpty()) {
            entries.push_back({"xl/styles.xml", R"(<styleSheet xmlns=")" + QByteArray(mainNs) +
                                                    R"(">)" + styles + "</styleSheet>"});
            entries[2].content.replace(
                "</Relationships>",
                R"(<Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)");
        }
        return zipArchive(entries, ZipCompression::Stored);
    }
};

QString readError(const QByteArray& bytes) {
    try {
        readXlsxFirstWorksheet(bytes);
    } catch (const UserError& error) {
        return error.text();
    }
    return u"(read)"_s;
}

TEST(XlsxTest, TextsStayTextsThroughAWrittenFile) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.setName(u"Список караоке файлов"_s);
    const QStringList texts = {u"=1+1"_s,
                               u"01"_s,
                               u"3/4"_s,
                               u"a\x01z"_s,
                               u"Песня <&> \"x\""_s,
                               u"TRUE"_s,
                               u"tab\there"_s,
                               u"_x0041_ stays"_s,
                               u"b "_s + QChar(0xFFFE) + u" song.kar"_s,
                               QChar(0xFFFF) + u"\x0B_x005F_"_s};
    for (int i = 0; i < texts.size(); ++i) {
        sheet.cells(i + 1, 1).setValues({{texts[i]}});
    }
    sheet.cells(1, 2).setValue(CellValue::ofNumber(12.5));
    sheet.cells(2, 2).setValue(CellValue::ofBoolean(false));

    const RoundTrip trip(book);
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(trip.sheet->value(i + 1, 1).kind(), CellValue::Kind::Text) << i;
        EXPECT_EQ(trip.sheet->value(i + 1, 1).text(), texts[i]) << i;
    }
    EXPECT_EQ(trip.sheet->value(1, 2).text(), u"12.5"_s);
    EXPECT_EQ(trip.sheet->value(2, 2).text(), u"FALSE"_s);
    EXPECT_EQ(trip.sheet->lastUsedCell(), (CellPosition{static_cast<int>(texts.size()), 2}));
    EXPECT_EQ(test::XlsxInspector(trip.bytes).sheetName(), u"Список караоке файлов"_s);
    EXPECT_EQ(trip.report.cutCells, 0);
}

TEST(XlsxTest, TooLongTextsAreCutAndCounted) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.cells(1, 1).setValues({{QString(40000, u'я')}});
    // A pair of surrogates straddling the limit is not split.
    sheet.cells(2, 1).setValues({{QString(maxCellTextLength - 1, u'a') + u"😀"_s + u"b"_s}});
    sheet.cells(3, 1).setValues({{QString(maxCellTextLength, u'c')}});
    const RoundTrip trip(book);
    EXPECT_EQ(trip.report.cutCells, 2);
    EXPECT_EQ(trip.sheet->value(1, 1).text(), QString(maxCellTextLength, u'я'));
    EXPECT_EQ(trip.sheet->value(2, 1).text(), QString(maxCellTextLength - 1, u'a'));
    EXPECT_EQ(trip.sheet->value(3, 1).text().size(), maxCellTextLength);
}

TEST(XlsxTest, WidthsAndSharedFormatsAreWritten) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.columns().setHorizontalAlignment(excel::alignRight);
    sheet.columns().setColumnWidth(14);
    sheet.range(u"B1"_s, u"B1"_s).setColumnWidth(300);
    for (int row = 1; row <= 200; ++row) {
        sheet.range(row, 1, row, 3).setValues({{u"x"_s, u"y"_s, u"z"_s}});
        sheet.range(row, 1, row, 3).setFontBold(true);
    }
    sheet.cells(5, 5).setInteriorColourIndex(6);
    const RoundTrip trip(book);
    const test::XlsxInspector styles(trip.bytes);
    ASSERT_TRUE(styles.ok());
    EXPECT_NEAR(styles.columnWidth(1), 14, 1);
    EXPECT_NEAR(styles.columnWidth(2), 255, 1) << "the library would write 300 as its default";
    EXPECT_NEAR(styles.columnWidth(16384), 14, 1);
    EXPECT_LE(styles.formatCount(), 4) << "formats are shared by what they say";
    EXPECT_TRUE(styles.style(u"C200"_s).bold);
    EXPECT_EQ(styles.style(u"C200"_s).horizontal, u"right"_s);
    EXPECT_TRUE(styles.hasCell(u"E5"_s)) << "a cell with a format alone is written blank";
    EXPECT_EQ(styles.style(u"E5"_s).fillColour, u"FFFFFF00"_s);
    EXPECT_EQ(trip.sheet->lastUsedCell(), (CellPosition{200, 3}));
}

TEST(XlsxTest, AValueOfThePlainFormatShowsItsColumnsFormat) {
    Workbook book;
    Worksheet& sheet = book.worksheet(1);
    sheet.columns().setFontBold(true);
    sheet.cells(1, 1).setValues({{u"plain"_s}});
    sheet.cells(1, 1).setFontBold(false);
    sheet.cells(2, 1).setFontBold(false);
    const test::XlsxInspector styles(RoundTrip(book).bytes);
    ASSERT_TRUE(styles.ok());
    EXPECT_TRUE(styles.style(u"A1"_s).bold) << "the columns' format reaches the written cells";
    EXPECT_FALSE(styles.hasCell(u"A2"_s)) << "a plain blank cell is not written";
}

TEST(XlsxTest, AnUnwritableFileEndsWithTheLibrarysText) {
    QTemporaryDir folder;
    try {
        writeXlsx(Workbook(), folder.filePath(u"missing/book.xlsx"_s));
        FAIL() << "written";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"Error creating output xlsx file. Usually a permissions error."_s);
    }
    try {
        writeXlsx(Workbook(), u"/dev/full"_s);
        FAIL() << "written to a full disk";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"Disk full: /dev/full"_s);
    }
    EXPECT_FALSE(QFile::exists(folder.filePath(u"missing/book.xlsx"_s)));
}

TEST(XlsxTest, ReadsEveryKindOfValue) {
    Package package;
    package.sharedStrings = R"(<si><t>plain</t></si>)"
                            R"(<si><r><t>run </t></r><r><rPr><b/></rPr><t>joined</t></r>)"
                            R"(<rPh sb="0" eb="1"><t>phonetic</t></rPh></si>)"
                            R"(<si><t>A_x000D_B_x0009_</t></si>)";
    package.sheetData =
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c></row>)"
        R"(<row r="2"><c r="A2"><v>12</v></c><c r="B2" t="n"><v>12.5</v></c><c r="C2" t="b"><v>1</v></c>)"
        R"(<c r="D2" t="b"><v>0</v></c><c r="E2" t="e"><v>#DIV/0!</v></c>)"
        R"(<c r="F2" t="str"><f>A1</f><v>formula text</v></c><c r="G2" t="inlineStr"><is><t>inline</t></is></c></row>)"
        R"(<row><c><v>1</v></c><c/><c><v>3</v></c></row>)"
        R"(<row r="5"><c r="B5" s="3"/></row>)";
    const std::unique_ptr<Worksheet> sheet = readXlsxFirstWorksheet(package.bytes());
    const QStringList expected[] = {
        {u"plain"_s, u"run joined"_s, u"A\rB\t"_s},
        {u"12"_s, u"12.5"_s, u"TRUE"_s, u"FALSE"_s, u"#DIV/0!"_s, u"formula text"_s, u"inline"_s},
        {u"1"_s, QString(), u"3"_s},
    };
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= expected[row - 1].size(); ++column) {
            EXPECT_EQ(sheet->value(row, column).text(), expected[row - 1][column - 1])
                << row << ',' << column;
        }
    }
    EXPECT_EQ(sheet->value(2, 5).kind(), CellValue::Kind::Error);
    EXPECT_EQ(sheet->lastUsedCell(), (CellPosition{3, 7})) << "a cell without a value is unused";
}

// Times of day also in the 1904 date system, elapsed times, ISO dates, as the sheet shows them.
TEST(XlsxTest, NumbersReadAsTheirFormatsShowThem) {
    Package package;
    package.workbook.replace("<sheets>", R"(<workbookPr date1904="1"/><sheets>)");
    package.styles =
        R"(<numFmts><numFmt numFmtId="164" formatCode="hh:mm:ss"/><numFmt numFmtId="165" formatCode="[mm]:ss"/></numFmts>)"
        R"(<cellXfs><xf numFmtId="0"/><xf numFmtId="164"/><xf numFmtId="46"/><xf numFmtId="165"/><xf numFmtId="14"/></cellXfs>)";
    package.sheetData =
        R"(<row r="1"><c r="A1" s="1"><v>0.75</v></c><c r="B1" s="2"><v>1.5</v></c><c r="C1" s="3"><v>1.5</v></c>)"
        R"(<c r="D1" s="4"><v>1</v></c><c r="E1" t="d"><v>2023-12-31T23:05:09</v></c>)"
        R"(<c r="F1" t="d" s="4"><v>1900-01-01</v></c><c r="G1" t="d"><v>soon</v></c></row>)";
    const std::unique_ptr<Worksheet> sheet = readXlsxFirstWorksheet(package.bytes());
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QString expected[] = {
        u"18:00:00"_s,   u"36:00:00"_s, u"2160:00"_s, u"02.01.1904"_s, u"31.12.2023 23:05:09"_s,
        u"01.01.1900"_s, u"soon"_s};
    for (int column = 1; column <= 7; ++column) {
        EXPECT_EQ(cellText(sheet->value(1, column), russian), expected[column - 1]) << column;
    }
}

TEST(XlsxTest, ReadsPrefixedStrictAndRelocatedPackages) {
    Package prefixed;
    prefixed.workbook.replace("<workbook xmlns=", "<x:workbook xmlns:x=");
    prefixed.workbook.replace("<sheets><sheet ", "<x:sheets><x:sheet ");
    prefixed.workbook.replace("</sheets></workbook>", "</x:sheets></x:workbook>");
    prefixed.sheetData = R"(<row r="1"><c r="A1" t="inlineStr"><is><t>x</t></is></c></row>)";
    Package relocated = prefixed;
    relocated.sheetPath = "xl/sheets/first.xml";
    relocated.workbookRels.replace("Target=\"worksheets/sheet1.xml\"",
                                   "Target=\"/xl/sheets/first.xml\"");
    Package strict;
    const QByteArray strictNs = "http://purl.oclc.org/ooxml/spreadsheetml/main";
    strict.workbook.replace(mainNs, strictNs);
    strict.workbook.replace("http://schemas.openxmlformats.org/officeDocument/2006/relationships",
                            "http://purl.oclc.org/ooxml/officeDocument/relationships");
    strict.workbookRels.replace(
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet",
        "http://purl.oclc.org/ooxml/officeDocument/relationships/worksheet");
    strict.sheetNamespace = strictNs;
    strict.sheetData = R"(<row r="1"><c r="A1"><v>7</v></c></row>)";
    Package moved = strict;
    moved.rootRels.replace("Target=\"xl/workbook.xml\"", "Target=\"book/../xl/workbook.xml\"");
    Package charted = prefixed;
    charted.workbook.replace("<x:sheet ",
                             R"(<x:sheet name="Chart" sheetId="2" r:id="rId7"/><x:sheet )");
    charted.workbookRels.replace(
        "</Relationships>",
        R"(<Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet" Target="chartsheets/sheet1.xml"/></Relationships>)");

    const std::pair<const Package*, QString> cases[] = {{&prefixed, u"x"_s},
                                                        {&relocated, u"x"_s},
                                                        {&strict, u"7"_s},
                                                        {&moved, u"7"_s},
                                                        {&charted, u"x"_s}};
    for (const auto& [package, text] : cases) {
        const std::unique_ptr<Worksheet> sheet = readXlsxFirstWorksheet(package->bytes());
        EXPECT_EQ(sheet->value(1, 1).text(), text);
        EXPECT_EQ(sheet->lastUsedCell(), (CellPosition{1, 1}));
    }
}

TEST(XlsxTest, KeepsColumnsAToGOfTheFirst45006RowsAndCountsTheRest) {
    Package package;
    package.sheetData =
        R"(<row r="45006"><c r="G45006"><v>1</v></c><c r="H45006"><v>2</v></c></row>)"
        R"(<row r="45007"><c r="A45007"><v>3</v></c></row>)"
        R"(<row r="1048576"><c r="XFD1048576" t="b"><v>1</v></c></row>)";
    const std::unique_ptr<Worksheet> sheet = readXlsxFirstWorksheet(package.bytes());
    EXPECT_EQ(sheet->value(45006, 7).text(), u"1"_s);
    EXPECT_FALSE(sheet->hasCell(45006, 8));
    EXPECT_FALSE(sheet->hasCell(45007, 1));
    EXPECT_EQ(sheet->lastUsedCell(), (CellPosition{1048576, 16384}));
}

TEST(XlsxTest, MalformedPackagesCannotBeRead) {
    const QString cannotRead = cannotReadWorkbookMessage();
    auto withSheetData = [](const QByteArray& data) {
        Package package;
        package.sheetData = data;
        return package.bytes();
    };
    Package noSheet;
    noSheet.workbook = R"(<workbook xmlns=")" + QByteArray(mainNs) + R"("><sheets/></workbook>)";
    Package missingStrings;
    missingStrings.sheetData = R"(<row><c t="s"><v>0</v></c></row>)";
    Package shortStrings = missingStrings;
    shortStrings.sheetData = R"(<row><c t="s"><v>1</v></c></row>)";
    shortStrings.sharedStrings = "<si><t>only one</t></si>";
    Package doctype;
    doctype.sheetData = R"(<row><c><v>1</v></c></row>)";
    const QByteArray withDoctype = doctype.bytes();

    const std::pair<QByteArray, const char*> cases[] = {
        {"not a zip at all", "no archive"},
        {withSheetData(R"(<row><c r="XFE1"><v>1</v></c></row>)"), "column beyond XFD"},
        {withSheetData(R"(<row><c r="A1048577"><v>1</v></c></row>)"), "row beyond 1048576"},
        {withSheetData(R"(<row r="0"><c><v>1</v></c></row>)"), "row 0"},
        {withSheetData(R"(<row><c r="A1"><v>1x</v></c></row>)"), "a bad number"},
        {withSheetData(R"(<row><c r="A1" t="b"><v>2</v></c></row>)"), "a bad boolean"},
        {withSheetData(R"(<row><c r="A1" t="q"><v>2</v></c></row>)"), "an unknown type"},
        {withSheetData(R"(<row><c r="A1"><v>1</v></row>)"), "broken XML"},
        {withSheetData(R"(<row><c r="B2"><row/><v>1</v></c></row>)"), "a row inside a cell"},
        {withSheetData(R"(<row><c r="B2"><row r="3"/><v>1</v></c></row>)"),
         "a numbered row inside a cell"},
        {withSheetData(R"(<row><c r="B4"><v>1</v></c></row><row r="5"><c r="open"/></row>)"),
         "an empty cell naming no cell, after a value"},
        {noSheet.bytes(), "no sheet"},
        {missingStrings.bytes(), "no shared strings part"},
        {shortStrings.bytes(), "a string index beyond the table"},
    };
    for (const auto& [bytes, what] : cases) {
        EXPECT_EQ(readError(bytes), cannotRead) << what;
    }
}

// Changes the sizes the central directory declares for the entry.
QByteArray withDeclaredSize(QByteArray zip, const QByteArray& name, quint32 size, bool both) {
    qsizetype entry = zip.indexOf("PK\x01\x02");
    while (entry >= 0) {
        const int nameLength = static_cast<unsigned char>(zip[entry + 28]) |
                               static_cast<unsigned char>(zip[entry + 29]) << 8;
        if (zip.mid(entry + 46, nameLength) == name) {
            for (int i = 0; i < 4; ++i) {
                zip[entry + 24 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
                if (both) {
                    zip[entry + 20 + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
                }
            }
            return zip;
        }
        entry = zip.indexOf("PK\x01\x02", entry + 4);
    }
    ADD_FAILURE() << "no entry " << name.toStdString();
    return zip;
}

TEST(XlsxTest, DeclaredSizesAreTrustedOnlyToLimitTheReading) {
    Package package;
    package.sheetData = R"(<row><c r="A1"><v>1</v></c></row>)";
    const QByteArray bytes = package.bytes();
    EXPECT_EQ(readError(withDeclaredSize(bytes, "xl/worksheets/sheet1.xml", 300u << 20, true)),
              workbookTooLargeMessage());
    EXPECT_EQ(readError(withDeclaredSize(bytes, "xl/worksheets/sheet1.xml", 40, true)),
              cannotReadWorkbookMessage())
        << "a part cut at its declared size is broken XML";
}

TEST(XlsxTest, FilesAreRecognisedByContent) {
    QTemporaryDir folder;
    const QString named = folder.filePath(u"book.xlsx"_s);
    QFile file(named);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("name,value\n1,2\n");
    file.close();
    try {
        readFirstWorksheet(named);
        FAIL() << "read";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"This file is not an Excel workbook."_s);
    }
    try {
        readFirstWorksheet(folder.filePath(u"none.xlsx"_s));
        FAIL() << "read";
    } catch (const UserError& error) {
        EXPECT_EQ(error.text(), u"File not found"_s);
    }
    const QString renamed = folder.filePath(u"book.dat"_s);
    writeXlsx(Workbook(), renamed);
    EXPECT_EQ(workbookFileKind(renamed), WorkbookFileKind::Xlsx);
    EXPECT_EQ(readFirstWorksheet(renamed)->lastUsedCell(), CellPosition{});
}

} // namespace
} // namespace corvanteller
