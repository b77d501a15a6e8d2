#pragma once

#include "office/document_engine.h"

#include <QString>

#include <memory>

class QTextDocument;
class QWidget;

namespace corvanteller {

class UiServices;

// A document engine's text laid out for printing: the default serif font at 12 points, tab stops
// every 1.25 cm.
std::unique_ptr<QTextDocument> printableDocument(const QString& text);

// The printer a window hands its document engine: the UI services print the laid-out text on
// the default printer.
DocumentPrinter documentPrinter(UiServices& ui, QWidget* parent);

} // namespace corvanteller
