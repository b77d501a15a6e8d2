#include "table/list_file_commands.h"

#include "app/app_context.h"
#include "common/file_filters.h"
#include "table/column_widths.h"
#include "table/list_file.h"
#include "table/main_window.h"

#include <QTableView>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

UiServices::FileDialog openDialog() {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(u"List files (Corvanteller)|*.sgl|All files (*.*)|*.*"_s);
    dialog.mustExist = true;
    return dialog;
}

void setFixedWidths(TForm4& window) {
    for (int column = 0; column < 7; ++column) {
        window.StringGrid1->setColumnWidth(column,
                                           fixedColumnWidths[static_cast<std::size_t>(column)]);
    }
}

// Reads the list into the main window's grid and shows what went wrong; true when the file was
// read, fully or in part.
bool readListIntoGrid(AppContext& context, QWidget* parent, const QString& path,
                      int originRowCount) {
    TForm4& window = *context.mainWindow;
    SongTableModel& model = context.table.model();
    setFixedWidths(window);
    // Resets the table first, so it stays reset when the file cannot be read.
    const ListOpenResult result = openListFile(path, model, originRowCount);
    switch (result.outcome) {
    case ListOpenResult::Outcome::Opened:
        break;
    case ListOpenResult::Outcome::NotAListFile:
    case ListOpenResult::Outcome::TooManyRows:
        context.ui.showMessage(parent, result.message);
        return false;
    case ListOpenResult::Outcome::ConversionError:
        context.ui.reportError(parent, result.message);
        break;
    }
    if (model.songCount() > 0) {
        window.StringGrid1->setCurrentIndex(model.index(0, 1));
    }
    return true;
}

} // namespace

void openListFromMainWindow(AppContext& context, QWidget* parent) {
    const QString path = context.ui.chooseOpenFile(parent, openDialog());
    if (path.isEmpty()) {
        return;
    }
    if (readListIntoGrid(context, parent, path, context.table.originStore().rowCount())) {
        copyDataRowsInto(context.table.model(), context.table.mainStore());
    }
}

bool openListFromStartWindow(AppContext& context, QWidget* parent) {
    const QString path = context.ui.chooseOpenFile(parent, openDialog());
    if (path.isEmpty()) {
        return false;
    }
    readListIntoGrid(context, parent, path, context.table.startStore().rowCount());
    return true;
}

bool saveListAs(AppContext& context, QWidget* parent) {
    UiServices::FileDialog dialog;
    dialog.filter = toQtFileFilter(u"List files (Corvanteller)|*.sgl|"_s);
    dialog.defaultSuffix = u"sgl"_s;
    dialog.confirmOverwrite = true;
    const QString path = context.ui.chooseSaveFile(parent, dialog);
    if (path.isEmpty()) {
        return false;
    }
    writeListFile(path, context.table.model());
    context.table.currentListFile = path;
    context.table.hasCurrentListFile = true;
    context.table.unsavedChanges = false;
    return true;
}

void saveList(AppContext& context, QWidget* parent) {
    TableSession& table = context.table;
    if (!table.hasCurrentListFile) {
        saveListAs(context, parent);
        return;
    }
    // The flag is cleared only once the list is safely written: a failed save must still ask
    // before the program closes.
    writeListFile(table.currentListFile, table.model());
    table.unsavedChanges = false;
}

QString tableFullMessage() {
    return u"The table cannot take more than 45002 rows: no row was added."_s;
}

} // namespace corvanteller
