// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/workbook_engine.h"

#include "common/error.h"
#include "office/office_texts.h"
#include "office/workbook_file.h"
#include "office/xlsx_writer.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

Workbook& WorkbookEngine::addWorkbook() {
    workbooks_.push_back(std::make_unique<Workbook>());
    return *workbooks_.back();
}

Workbook& WorkbookEngine::workbook(int index) {
    if (index < 1 || index > workbookCount()) {
        throw UserError(officeTexts::noWorkbook(index));
    }
    return *workbooks_[static_cast<std::size_t>(index - 1)];
}

Workbook& WorkbookEngine::open(const QString& path) {
    workbooks_.push_back(std::make_unique<Workbook>(readFirstWorksheet(path)));
    return *workbooks_.back();
}

std::vector<WorkbookHandOver> WorkbookEngine::show(const DesktopOpener& openWithDesktop) {
    std::vector<WorkbookHandOver> handOvers;
    for (const std::unique_ptr<Workbook>& book : workbooks_) {
        WorkbookHandOver handOver;
        static_cast<HandOver&>(handOver) = this->handOver(
            u"Book-XXXXXX.xlsx"_s,
            [&](const QString& path) { handOver.cutCells = writeXlsx(*book, path).cutCells; },
            openWithDesktop);
        handOvers.push_back(handOver);
    }
    quit();
    return handOvers;
}

QStringList handOverMessages(const std::vector<WorkbookHandOver>& handOvers) {
    QStringList messages;
    for (const WorkbookHandOver& handOver : handOvers) {
        if (handOver.cutCells > 0) {
            messages.append(cutCellsMessage());
        }
    }
    return messages;
}

} // namespace corvanteller
