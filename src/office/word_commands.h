// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "office/document_engine.h"

#include <QString>
#include <QStringList>

namespace corvanteller {

// The steps of the Word commands on a document engine. A window runs one command at a time
// inside EngineCommand<DocumentEngine> (office/engine_command.h), so that the command starts
// with an empty engine and a failure leaves no document behind, and does its own steps (the
// text view shown or hidden, the save dialog) between these.

// Step A: a new document holding exactly the text.
void newDocumentWithText(DocumentEngine& engine, const QString& text);
// Step B: the document printed, then closed with the alerts off, and the alerts back on.
// False when nothing was printed.
bool printAndDiscard(DocumentEngine& engine, const DocumentPrinter& print);
// The end of "&Ms Word": the document handed over to the desktop's program. The files that no
// program showed.
QStringList showInWordProcessor(DocumentEngine& engine, const DesktopOpener& openWithDesktop);
// The end of a save: the document saved under the name and closed.
void saveAndClose(DocumentEngine& engine, const QString& path);

// The whole commands for a text at hand (the text view's, and the command-line front end's).
QStringList showText(DocumentEngine& engine, const QString& text,
                     const DesktopOpener& openWithDesktop);
void saveText(DocumentEngine& engine, const QString& text, const QString& path);
bool printText(DocumentEngine& engine, const QString& text, const DocumentPrinter& print);

// The save dialogs of both windows write Word documents, whatever the list file's or the text's
// dialog would: filter "Document Word|*.docx" in the main window, "Документ Word|*.docx" in the
// text view, default suffix "docx".
QString mainWindowWordFilter();
QString textViewWordFilter();
QString wordDefaultSuffix();

} // namespace corvanteller
