// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "office/document_engine.h"

#include <QString>

#include <memory>

class QTextDocument;
class QWidget;

namespace corvanteller {

class UiServices;

// A document engine's text laid out for printing: the default serif font at 12 points, tab stops
// every 1.25 cm, lines wrapped at the page's width.
std::unique_ptr<QTextDocument> printableDocument(const QString& text);

// A copy of the document for the page: every line wraps at the page's width, at a word boundary
// where there is one and anywhere else, so that no character is cut off at the right edge.
std::unique_ptr<QTextDocument> pageWidthCopy(const QTextDocument& document);

// The document as every PDF file of the program lays it out: the print font and tab stops of
// printableDocument for any text without a font of its own, lines wrapped at the page's width.
std::unique_ptr<QTextDocument> pdfLayoutCopy(const QTextDocument& document);

// The document laid out as pdfLayoutCopy does, at the page's width (A4), as a PDF file with that
// title. IoError when the
// file cannot be written; an existing file is replaced only once the new one is complete.
void writePdfFile(const QTextDocument& document, const QString& path, const QString& title);

// "Print to PDF...": a save dialog ("PDF (*.pdf)"), then the document as a PDF file there. False
// when the dialog was cancelled.
bool printToPdf(UiServices& ui, QWidget* parent, const QTextDocument& document,
                const QString& title);

// "&Print": the document laid out at the page's width, on the default printer as one job of that
// name. Without a default printer the message says so and offers "Save as PDF...", which runs
// printToPdf. False when nothing was printed or saved.
bool printDocument(UiServices& ui, QWidget* parent, const QTextDocument& document,
                   const QString& jobName);

// The printer a window hands its document engine: printDocument with the laid-out text.
DocumentPrinter documentPrinter(UiServices& ui, QWidget* parent);

} // namespace corvanteller
