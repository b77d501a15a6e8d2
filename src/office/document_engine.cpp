// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/document_engine.h"

#include "common/error.h"
#include "common/file_io.h"
#include "office/docx_writer.h"
#include "office/office_texts.h"

#include <QFileInfo>

#include <utility>

namespace corvanteller {

using namespace Qt::StringLiterals;

void DocumentEngine::addDocument() {
    ++documentsAdded_;
    documents_.push_back({officeTexts::newDocumentName(documentsAdded_), QString()});
}

const DocumentEngine::Document& DocumentEngine::active() const {
    if (documents_.empty()) {
        throw UserError(officeTexts::noOpenDocument());
    }
    return documents_.back();
}

DocumentEngine::Document& DocumentEngine::active() {
    return const_cast<Document&>(std::as_const(*this).active());
}

const QString& DocumentEngine::activeName() const {
    return active().name;
}

const QString& DocumentEngine::activeText() const {
    return active().text;
}

void DocumentEngine::insertAfter(const QString& text) {
    active().text += text;
}

void DocumentEngine::saveAs(const QString& path) {
    Document& document = active();
    writeFileAtomically(path, docxBytes(document.text));
    document.name = QFileInfo(path).fileName();
}

bool DocumentEngine::printOut(const DocumentPrinter& print) {
    const Document& document = active();
    return print(document.text, document.name);
}

void DocumentEngine::closeActiveWindow() {
    active();
    documents_.pop_back();
}

std::vector<HandOver> DocumentEngine::show(const DesktopOpener& openWithDesktop) {
    std::vector<HandOver> handOvers;
    for (const Document& document : documents_) {
        const QByteArray bytes = docxBytes(document.text);
        handOvers.push_back(handOver(
            u"Document-XXXXXX.docx"_s,
            [&bytes](const QString& path) { writeFileAtomically(path, bytes); }, openWithDesktop));
    }
    reset();
    return handOvers;
}

} // namespace corvanteller
