// SPDX-License-Identifier: GPL-3.0-or-later
// Times the text view on a full table of 45,002 rows: "&Export to text" from the command to
// the shown text, the main window's "Save as Ms &Word document...", "&Save..." of the text and
// "&Open..." of the saved file, and "&Print" to a PDF file, with the process's peak memory. Run by
// hand: text_view_bench [rounds] (offscreen unless QT_QPA_PLATFORM says otherwise).

#include "app/application.h"
#include "app/main_window.h"
#include "bench_timing.h"
#include "support_ui/window_child.h"
#include "text/text_view.h"
#include "ui/ui_services.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace corvanteller;
using namespace corvanteller::bench;
using namespace Qt::StringLiterals;

namespace {

// Dialogs answer with set paths; printing goes to a PDF file.
class BenchUiServices final : public UiServices {
public:
    QByteArray chooseFolder(QWidget*, const QString&) override { return {}; }
    QString chooseOpenFile(QWidget*, const FileDialog&) override { return openPath; }
    QString chooseSaveFile(QWidget*, const FileDialog&) override { return savePath; }
    SaveChoice chooseSaveFileAndFilter(QWidget*, const FileDialog&) override {
        return {savePath, {}};
    }
    void showMessage(QWidget*, const QString& text) override { report(text); }
    bool showMessageWithButton(QWidget*, const QString& text, const QString&) override {
        report(text);
        return false;
    }
    bool askYesNo(QWidget*, const QString& text) override {
        report(text);
        return false;
    }
    bool hasDefaultPrinter() override { return true; }
    bool showFailureMessage(QWidget*, const QString& text) override {
        report(text);
        return false;
    }
    void reportError(QWidget*, const QString& text) override { report(text); }
    bool openWithDesktop(const QString&) override { return false; }
    bool print(QWidget*, const QTextDocument& document, const QString& jobName) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        printer.setDocName(jobName);
        document.print(&printer);
        return true;
    }

    QString openPath;
    QString savePath;
    QString pdfPath;
    int reports = 0;

private:
    void report(const QString& text) {
        ++reports;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
};

// Rows of about 134 characters, half of them Cyrillic, like a Russian karaoke collection.
void fillStore(RowStore& store) {
    QRandomGenerator random(45002);
    const auto word = [&random](bool cyrillic, int length) {
        QString text(length, Qt::Uninitialized);
        for (QChar& ch : text) {
            ch = cyrillic ? QChar(0x0430 + random.bounded(32)) : QChar(u'a' + random.bounded(26));
        }
        return text;
    };
    for (int row = 1; row <= RowStore::maxRows; ++row) {
        const QString artist = word(true, 10);
        store.setText(SongColumn::FileName, row, artist + u" - "_s + word(false, 10) + u".kar"_s);
        store.setText(SongColumn::Folder, row, u"/home/user/Karaoke/"_s + word(true, 12) + u'/');
        store.setText(SongColumn::Title, row, word(true, 14) + u' ' + word(false, 14));
        store.setText(SongColumn::TextD, row, word(true, 12));
        store.setText(SongColumn::TextE, row, word(true, 12));
        store.setText(SongColumn::Maker, row, u"Made by "_s + word(false, 6));
    }
    store.setRowCount(RowStore::maxRows);
}

void report(const char* name, const Timing& timing, double target) {
    std::printf("%-24s min %8.1f ms  median %8.1f ms  cpu %8.1f ms  (target <= %.0f ms)%s\n", name,
                timing.min, timing.median, timing.cpuMedian, target,
                timing.median <= target ? "" : "  OVER");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    BenchUiServices ui;
    SystemClock clock;
    SystemRandom random;
    Application program(ui, clock, random, [] {});
    program.context().options.textFormat.addDateAndTime = true;
    program.context().options.textFormat.addNext = true;
    fillStore(program.context().table.startStore());
    MainWindow& main = program.mainWindow();
    main.showAsActive();
    QApplication::processEvents();
    TextView& view = main.textView();

    // From the command to the painted text; the view is hidden between rounds, so that every
    // command is a new activation.
    report("export to text (mode 1)",
           timeIt(
               rounds,
               [&] {
                   view.hide();
                   main.activateWindow();
                   QApplication::processEvents();
               },
               [&] {
                   main.findChild<QAction*>(QStringLiteral("exportToTextAction"))->trigger();
                   QApplication::processEvents();
               }),
           1000);
    const QString built = view.editorText();
    std::printf("  %lld characters in %d paragraphs\n", static_cast<long long>(built.size()),
                view.editorDocument().blockCount());

    QTemporaryDir folder;
    // "Save as Ms Word document...": the view builds the table text, which goes into a new
    // document saved as a .docx file.
    ui.savePath = folder.filePath(u"table.docx"_s);
    report("save as Word document",
           timeIt(
               rounds,
               [&] {
                   main.activateWindow();
                   QApplication::processEvents();
               },
               [&] {
                   main.findChild<QAction*>(QStringLiteral("saveAsWordAction"))->trigger();
                   QApplication::processEvents();
               }),
           1000);
    std::printf("  .docx file of %lld bytes\n", static_cast<long long>(QFile(ui.savePath).size()));

    // The Word command built the text anew, with its own time in the closing lines.
    const QString saved = view.editorText();
    // Found once, so that the rounds time the commands alone.
    QAction* saveText = child<QAction>(view, "saveTextAction");
    QAction* openText = child<QAction>(view, "openTextAction");
    QAction* print = child<QAction>(view, "printAction");
    ui.savePath = folder.filePath(u"table.txt"_s);
    report("save",
           timeIt(
               rounds, [] {}, [&] { saveText->trigger(); }),
           1000);
    std::printf("  RTF file of %lld bytes\n", static_cast<long long>(QFile(ui.savePath).size()));

    ui.openPath = ui.savePath;
    report("open",
           timeIt(
               rounds, [] {},
               [&] {
                   openText->trigger();
                   QApplication::processEvents();
               }),
           2000);
    const bool same = view.editorText() == saved;
    std::printf("  opened text %s the saved one\n", same ? "equals" : "DIFFERS FROM");

    ui.pdfPath = folder.filePath(u"table.pdf"_s);
    const Timing printed = timeIt(
        1, [] {}, [&] { print->trigger(); });
    report("print to PDF", printed, 10000);
    std::printf("  PDF file of %lld bytes\n", static_cast<long long>(QFile(ui.pdfPath).size()));
    // The same text printed by Qt alone, plain, on this machine as it is loaded now.
    QTextDocument plain(built);
    const Timing alone = timeIt(
        1, [] {}, [&] { ui.print(nullptr, plain, u"plain"_s); });
    std::printf(
        "  Qt alone, plain text: %.1f ms, cpu %.1f ms (the view takes %.2f times as long)\n",
        alone.median, alone.cpuMedian, printed.cpuMedian / alone.cpuMedian);

    const long peak = peakMemoryKb();
    std::printf("%-28s %8.1f MB\n", "peak memory (VmHWM)", static_cast<double>(peak) / 1024.0);
    return same && ui.reports == 0 ? 0 : 1;
}
