// SPDX-License-Identifier: GPL-3.0-or-later
// office_fuzz_seeds xlsx|xls-output OUTDIR: writes the first inputs of xlsx_reader_fuzz
// (workbooks) or of xls_output_fuzz (the .xls helper's answers) into OUTDIR. The workbooks'
// entries are stored, not deflated, so that mutations reach the XML.
// office_fuzz_seeds biff FILE.xls... OUTDIR: the workbook streams of the files, the first
// inputs of biff_records_fuzz.
#include "office/workbook.h"
#include "office/xlsx_writer.h"
#include "office/zip_archive.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

bool writeSeed(const QString& folder, const QString& name, const QByteArray& bytes) {
    QFile file(QDir(folder).filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The workbook as the program writes it, its entries stored.
QByteArray storedXlsx(const Workbook& book) {
    QTemporaryDir folder;
    const QString path = folder.filePath(u"seed.xlsx"_s);
    writeXlsx(book, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray written = file.readAll();
    const ZipReader zip(written);
    std::vector<ZipEntry> entries;
    for (const char* name :
         {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
          "xl/worksheets/sheet1.xml", "xl/sharedStrings.xml", "xl/styles.xml"}) {
        const std::optional<std::uint64_t> entry = zip.find(name);
        if (!entry) {
            continue;
        }
        QByteArray content;
        zip.read(*entry, [&content](QByteArrayView piece) {
            content += piece;
            return true;
        });
        entries.push_back({name, content});
    }
    return zipArchive(entries, ZipCompression::Stored);
}

QByteArray handWritten(const QByteArray& sheetData, const QByteArray& strings, bool prefixed) {
    const QByteArray ns = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const QByteArray prefix = prefixed ? "x:" : "";
    const QByteArray declaration =
        prefixed ? QByteArray("xmlns:x=\"" + ns + "\"") : QByteArray("xmlns=\"" + ns + "\"");
    std::vector<ZipEntry> entries = {
        {"_rels/.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml",
         "<" + prefix + "workbook " + declaration +
             R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><)" +
             prefix + "sheets><" + prefix + R"(sheet name="S" sheetId="1" r:id="rId1"/></)" +
             prefix + "sheets></" + prefix + "workbook>"},
        {"xl/_rels/workbook.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="/xl/sharedStrings.xml"/></Relationships>)"},
        {"xl/worksheets/sheet1.xml", "<" + prefix + "worksheet " + declaration + "><" + prefix +
                                         "sheetData>" + sheetData + "</" + prefix + "sheetData></" +
                                         prefix + "worksheet>"},
        {"xl/sharedStrings.xml",
         "<" + prefix + "sst " + declaration + ">" + strings + "</" + prefix + "sst>"},
    };
    return zipArchive(entries, ZipCompression::Stored);
}

// The "Workbook" stream of an .xls file; nothing when it cannot be read.
QByteArray workbookStream(const char* path) {
    QByteArray bytes;
    GsfInput* input = gsf_input_stdio_new(path, nullptr);
    GsfInfile* file = input != nullptr ? gsf_infile_msole_new(input, nullptr) : nullptr;
    GsfInput* stream = file != nullptr ? gsf_infile_child_by_name(file, "Workbook") : nullptr;
    if (stream != nullptr) {
        bytes.resize(static_cast<qsizetype>(gsf_input_size(stream)));
        if (gsf_input_read(stream, static_cast<std::size_t>(bytes.size()),
                           reinterpret_cast<guint8*>(bytes.data())) == nullptr) {
            bytes.clear();
        }
        g_object_unref(stream);
    }
    if (file != nullptr) {
        g_object_unref(file);
    }
    if (input != nullptr) {
        g_object_unref(input);
    }
    return bytes;
}

int writeStreams(int argc, char** argv) {
    const QString folder = QString::fromLocal8Bit(argv[argc - 1]);
    if (!QDir().mkpath(folder)) {
        std::fputs("office_fuzz_seeds: cannot make the folder\n", stderr);
        return 1;
    }
    gsf_init();
    for (int i = 2; i < argc - 1; ++i) {
        const QByteArray stream = workbookStream(argv[i]);
        if (stream.isEmpty() || !writeSeed(folder, u"stream-"_s + QString::number(i), stream)) {
            std::fprintf(stderr, "office_fuzz_seeds: cannot take the stream of %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && QByteArray(argv[1]) == "biff") {
        return writeStreams(argc, argv);
    }
    const QByteArray kind = argc == 3 ? QByteArray(argv[1]) : QByteArray();
    if (kind != "xlsx" && kind != "xls-output") {
        std::fputs("usage: office_fuzz_seeds xlsx|xls-output OUTDIR\n"
                   "       office_fuzz_seeds biff FILE.xls... OUTDIR\n",
                   stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder)) {
        std::fputs("office_fuzz_seeds: cannot make the folder\n", stderr);
        return 1;
    }

    Workbook exported;
    Worksheet& sheet = exported.worksheet(1);
    sheet.range(u"A1"_s, u"G3"_s)
        .setValues(
            {{u"#"_s, u"Name of file"_s, u"Way"_s, u"The executor"_s, u"D"_s, u"E"_s, u"Made..."_s},
             {u"1"_s, u"a.kar"_s, u"/m/"_s, u"Песня"_s, u"=1+1"_s, u"01"_s, u"x\x01y"_s},
             {u"V 2"_s, u"b.kar"_s, u"/m/"_s, u"_x0041_"_s, QString(), u"3/4"_s, u"z"_s}});
    sheet.cells(4, 2).setValue(CellValue::ofNumber(12.5));
    sheet.cells(5, 3).setValue(CellValue::ofBoolean(true));
    sheet.range(u"A1"_s, u"G1"_s).setFontBold(true);
    Workbook empty;

    const QByteArray strings = R"(<si><t>plain</t></si><si><r><t>run </t></r><r><t>two</t></r>)"
                               R"(<rPh><t>ph</t></rPh></si><si><t>A_x000D_B</t></si>)";
    const QByteArray cells =
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c></row>)"
        R"(<row><c><v>12.5</v></c><c t="b"><v>1</v></c><c t="e"><v>#N/A</v></c>)"
        R"(<c t="str"><f>A1</f><v>f</v></c><c t="inlineStr"><is><t>in</t></is></c></row>)"
        R"(<row r="45006"><c r="G45006" t="s"><v>2</v></c><c r="XFD45006"><v>1</v></c></row>)";

    const bool written =
        kind == "xlsx"
            ? writeSeed(folder, u"exported.xlsx"_s, storedXlsx(exported)) &&
                  writeSeed(folder, u"empty.xlsx"_s, storedXlsx(empty)) &&
                  writeSeed(folder, u"values.xlsx"_s, handWritten(cells, strings, false)) &&
                  writeSeed(folder, u"prefixed.xlsx"_s, handWritten(cells, strings, true))
            : writeSeed(folder, u"empty"_s, "corvanteller-xls-reader 1\nsize 0 0\nend\n") &&
                  writeSeed(folder, u"cells"_s,
                            "corvanteller-xls-reader 1\nsize 45010 300\n"
                            "cell 1 1 t 1\n#\ncell 1 2 t 12\nName of file\n"
                            "cell 2 1 n 1\n1\ncell 2 2 t 5\na.kar\ncell 3 1 n 4\n12.5\n"
                            "cell 45006 7 t 6\n\xD0\x9F\xD0\xB5\xD1\x81\nend\n");
    if (!written) {
        std::fputs("office_fuzz_seeds: cannot write the seeds\n", stderr);
        return 1;
    }
    return 0;
}
