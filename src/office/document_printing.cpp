// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/document_printing.h"

#include "common/file_io.h"
#include "office/office_texts.h"
#include "ui/ui_services.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextOption>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int pointSize = 12;
// Tab positions are given at 96 dots per inch; the layout scales them to the printer.
constexpr qreal tabStopCentimetres = 1.25;
constexpr qreal tabStopPixels = tabStopCentimetres / 2.54 * 96;

void wrapAtPageWidth(QTextDocument& document) {
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
}

UiServices::FileDialog pdfSaveDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = officeTexts::pdfFilter();
    dialog.defaultSuffix = u"pdf"_s;
    dialog.confirmOverwrite = true;
    dialog.kind = UiServices::FileKind::Document;
    return dialog;
}

void setPrintLayout(QTextDocument& document) {
    QFont font(u"serif"_s, pointSize);
    font.setStyleHint(QFont::Serif);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(tabStopPixels);
    document.setDefaultTextOption(option);
    wrapAtPageWidth(document);
}

} // namespace

std::unique_ptr<QTextDocument> printableDocument(const QString& text) {
    auto document = std::make_unique<QTextDocument>();
    setPrintLayout(*document);
    document->setPlainText(text);
    return document;
}

std::unique_ptr<QTextDocument> pageWidthCopy(const QTextDocument& document) {
    std::unique_ptr<QTextDocument> copy(document.clone());
    wrapAtPageWidth(*copy);
    // No page size of its own: printing lays the copy out on the printer's page.
    copy->setPageSize(QSizeF());
    return copy;
}

std::unique_ptr<QTextDocument> pdfLayoutCopy(const QTextDocument& document) {
    std::unique_ptr<QTextDocument> copy = pageWidthCopy(document);
    setPrintLayout(*copy);
    return copy;
}

void writePdfFile(const QTextDocument& document, const QString& path, const QString& title) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(u"Corvanteller"_s);
        writer.setPageSize(QPageSize(QPageSize::A4));
        pdfLayoutCopy(document)->print(&writer);
    }
    writeFileAtomically(path, bytes);
}

bool printToPdf(UiServices& ui, QWidget* parent, const QTextDocument& document,
                const QString& title) {
    const QString path = ui.chooseFileToSave(parent, pdfSaveDialog());
    if (path.isEmpty()) {
        return false;
    }
    writePdfFile(document, path, title);
    return true;
}

bool printDocument(UiServices& ui, QWidget* parent, const QTextDocument& document,
                   const QString& jobName) {
    if (!ui.hasDefaultPrinter()) {
        const bool toPdf = ui.showMessageWithButton(parent, officeTexts::noDefaultPrinter(),
                                                    officeTexts::saveAsPdf());
        return toPdf && printToPdf(ui, parent, document, jobName);
    }
    return ui.print(parent, *pageWidthCopy(document), jobName);
}

DocumentPrinter documentPrinter(UiServices& ui, QWidget* parent) {
    return [&ui, parent](const QString& text, const QString& jobName) {
        return printDocument(ui, parent, *printableDocument(text), jobName);
    };
}

} // namespace corvanteller
