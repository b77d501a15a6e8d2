// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/word_commands.h"

#include "office/engine_command.h"
#include "office/office_texts.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

void newDocumentWithText(DocumentEngine& engine, const QString& text) {
    engine.addDocument();
    engine.insertAfter(text);
}

bool printAndDiscard(DocumentEngine& engine, const DocumentPrinter& print) {
    const bool printed = engine.printOut(print);
    engine.setDisplayAlerts(false);
    engine.closeActiveWindow();
    engine.setDisplayAlerts(true);
    return printed;
}

QStringList showInWordProcessor(DocumentEngine& engine, const DesktopOpener& openWithDesktop) {
    const QStringList notShown = filesNotShown(engine.show(openWithDesktop));
    engine.activate();
    return notShown;
}

void saveAndClose(DocumentEngine& engine, const QString& path) {
    engine.saveAs(path);
    engine.closeActiveWindow();
}

QStringList showText(DocumentEngine& engine, const QString& text,
                     const DesktopOpener& openWithDesktop) {
    const EngineCommand<DocumentEngine> command(engine);
    newDocumentWithText(engine, text);
    return showInWordProcessor(engine, openWithDesktop);
}

void saveText(DocumentEngine& engine, const QString& text, const QString& path) {
    const EngineCommand<DocumentEngine> command(engine);
    newDocumentWithText(engine, text);
    saveAndClose(engine, path);
}

bool printText(DocumentEngine& engine, const QString& text, const DocumentPrinter& print) {
    const EngineCommand<DocumentEngine> command(engine);
    newDocumentWithText(engine, text);
    return printAndDiscard(engine, print);
}

QString mainWindowWordFilter() {
    return officeTexts::mainWindowWordFilter();
}

QString textViewWordFilter() {
    return officeTexts::textViewWordFilter();
}

QString wordDefaultSuffix() {
    return u"docx"_s;
}

} // namespace corvanteller
