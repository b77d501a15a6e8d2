#include "office/document_printing.h"

#include "ui/ui_services.h"

#include <QTextDocument>
#include <QTextOption>

namespace corvanteller {
namespace {

constexpr int pointSize = 12;
// Tab positions are given at 96 dots per inch; the layout scales them to the printer.
constexpr qreal tabStopCentimetres = 1.25;
constexpr qreal tabStopPixels = tabStopCentimetres / 2.54 * 96;

} // namespace

std::unique_ptr<QTextDocument> printableDocument(const QString& text) {
    auto document = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("serif"), pointSize);
    font.setStyleHint(QFont::Serif);
    document->setDefaultFont(font);
    QTextOption option = document->defaultTextOption();
    option.setTabStopDistance(tabStopPixels);
    document->setDefaultTextOption(option);
    document->setPlainText(text);
    return document;
}

DocumentPrinter documentPrinter(UiServices& ui, QWidget* parent) {
    return [&ui, parent](const QString& text, const QString& jobName) {
        const std::unique_ptr<QTextDocument> document = printableDocument(text);
        return ui.print(parent, *document, jobName);
    };
}

} // namespace corvanteller
