#include "office/workbook_engine.h"

#include "common/error.h"
#include "office/workbook_file.h"
#include "office/xlsx_writer.h"

#include <QFile>

namespace corvanteller {

using namespace Qt::StringLiterals;

Workbook& WorkbookEngine::addWorkbook() {
    workbooks_.push_back(std::make_unique<Workbook>());
    return *workbooks_.back();
}

Workbook& WorkbookEngine::workbook(int index) {
    if (index < 1 || index > workbookCount()) {
        throw UserError(u"There is no workbook %1."_s.arg(index));
    }
    return *workbooks_[static_cast<std::size_t>(index - 1)];
}

Workbook& WorkbookEngine::open(const QString& path) {
    workbooks_.push_back(std::make_unique<Workbook>(readFirstWorksheet(path)));
    return *workbooks_.back();
}

QString WorkbookEngine::handOverFolder() const {
    return handOverFolder_.isEmpty() ? defaultHandOverFolder() : handOverFolder_;
}

std::vector<WorkbookHandOver> WorkbookEngine::show(const DesktopOpener& openWithDesktop) {
    std::vector<WorkbookHandOver> handOvers;
    for (const std::unique_ptr<Workbook>& book : workbooks_) {
        WorkbookHandOver handOver;
        handOver.path = createHandOverFile(handOverFolder(), u"Book-XXXXXX.xlsx"_s);
        try {
            handOver.cutCells = writeXlsx(*book, handOver.path).cutCells;
        } catch (...) {
            // Never handed over: nothing of it may stay behind.
            QFile::remove(handOver.path);
            throw;
        }
        handOver.opened = openWithDesktop(handOver.path);
        handOvers.push_back(handOver);
    }
    quit();
    return handOvers;
}

QStringList handOverMessages(const std::vector<WorkbookHandOver>& handOvers) {
    QStringList messages;
    for (const WorkbookHandOver& handOver : handOvers) {
        if (!handOver.opened) {
            messages.append(u"No program was found to show the workbook. It was saved as "_s +
                            handOver.path);
        }
        if (handOver.cutCells > 0) {
            messages.append(cutCellsMessage());
        }
    }
    return messages;
}

} // namespace corvanteller
