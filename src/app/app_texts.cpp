// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_texts.h"

#include <QCoreApplication>

#include <array>
#include <cstring>
#include <utility>

namespace corvanteller::appTexts {

namespace {

// clang-format off
const std::pair<const char*, const char*> captions[] = {
    {"fileMenu", QT_TRANSLATE_NOOP("App", "&File")},
    {"newScanningAction", QT_TRANSLATE_NOOP("App", "&New scanning...")},
    {"openListAction", QT_TRANSLATE_NOOP("App", "&Open Corvanteller list...")},
    {"openTextListAction", QT_TRANSLATE_NOOP("App", "Open list in &text format...")},
    {"saveListAction", QT_TRANSLATE_NOOP("App", "&Save list")},
    {"saveListAsAction", QT_TRANSLATE_NOOP("App", "Save list &as...")},
    {"saveAsTextAction", QT_TRANSLATE_NOOP("App", "Save as te&xt...")},
    {"saveAsWordAction", QT_TRANSLATE_NOOP("App", "Save as Ms &Word document...")},
    {"printFromWordAction", QT_TRANSLATE_NOOP("App", "&Print from Ms Word (text)")},
    {"printToPdfAction", QT_TRANSLATE_NOOP("App", "Print to P&DF...")},
    {"exportMenu", QT_TRANSLATE_NOOP("App", "Expo&rt")},
    {"exportTextAction", QT_TRANSLATE_NOOP("App", "Tex&t")},
    {"exportExcelAction", QT_TRANSLATE_NOOP("App", "Ms &Excel")},
    {"saveWorkbookAsAction", QT_TRANSLATE_NOOP("App", "Save workbook as...")},
    {"exportWordAction", QT_TRANSLATE_NOOP("App", "&Ms Word")},
    {"importExcelAction", QT_TRANSLATE_NOOP("App", "&Import from Excel file")},
    {"renameMenu", QT_TRANSLATE_NOOP("App", "Rena&me files")},
    {"renameFromNameColumnAction", QT_TRANSLATE_NOOP("App", "&From column of name (file)")},
    {"complexRenamingAction", QT_TRANSLATE_NOOP("App", "&Complex renaming...")},
    {"undoRenamingAction", QT_TRANSLATE_NOOP("App", "&Undo last renaming")},
    {"exitAction", QT_TRANSLATE_NOOP("App", "&Exit")},
    {"settingsMenu", QT_TRANSLATE_NOOP("App", "&Settings")},
    {"scanParametersAction", QT_TRANSLATE_NOOP("App", "&Parameters of scanning")},
    {"generalSettingsAction", QT_TRANSLATE_NOOP("App", "&General settings")},
    {"tableMenu", QT_TRANSLATE_NOOP("App", "&Table")},
    {"addRowAction", QT_TRANSLATE_NOOP("App", "&Add row")},
    {"exportToTextAction", QT_TRANSLATE_NOOP("App", "&Export to text")},
    {"findAction", QT_TRANSLATE_NOOP("App", "&Find...")},
    {"undoTableAction", QT_TRANSLATE_NOOP("App", "&Undo")},
    {"redoTableAction", QT_TRANSLATE_NOOP("App", "&Redo")},
    {"filterAction", QT_TRANSLATE_NOOP("App", "Fi&lter...")},
    {"markDuplicatesAction", QT_TRANSLATE_NOOP("App", "Mark &duplicates")},
    {"markIdenticalFilesAction", QT_TRANSLATE_NOOP("App", "Mark &identical files")},
    {"removeCheckedAction", QT_TRANSLATE_NOOP("App", "Remove &checked rows from the table")},
    {"sortMenu", QT_TRANSLATE_NOOP("App", "&Sort by")},
    {"writeTextsAction", QT_TRANSLATE_NOOP("App", "&Write texts into files...")},
    {"undoTextWritingAction", QT_TRANSLATE_NOOP("App", "Undo last te&xt writing")},
    {"helpMenu", QT_TRANSLATE_NOOP("App", "&Help")},
    {"aboutMenu", QT_TRANSLATE_NOOP("App", "&About")},
    {"informationAction", QT_TRANSLATE_NOOP("App", "&Information")},
    {"promptAction", QT_TRANSLATE_NOOP("App", "&Prompt")},
    {"helpAction", QT_TRANSLATE_NOOP("App", "&Corvanteller help")},
    {"popupNewScanningAction", QT_TRANSLATE_NOOP("App", "&New scanning...")},
    {"popupHelpAction", QT_TRANSLATE_NOOP("App", "Corvanteller &help")},
    {"checkSelectedAction", QT_TRANSLATE_NOOP("App", "&Check selected rows")},
    {"uncheckSelectedAction", QT_TRANSLATE_NOOP("App", "&Uncheck selected rows")},
    {"copyRowsAction", QT_TRANSLATE_NOOP("App", "Copy &rows")},
    {"copyFullPathAction", QT_TRANSLATE_NOOP("App", "Copy full &path")},
    {"openContainingFolderAction", QT_TRANSLATE_NOOP("App", "&Open containing folder")},
    {"removeSelectedRowsAction", QT_TRANSLATE_NOOP("App", "Remove rows from the &table")},
};

// The start window's menus, whose entries other than scanning, opening, importing and the
// settings stay disabled.
const std::pair<const char*, const char*> startCaptions[] = {
    {"fileMenu", QT_TRANSLATE_NOOP("App", "&File")},
    {"startScanningAction", QT_TRANSLATE_NOOP("App", "Start scanning...")},
    {"openListAction", QT_TRANSLATE_NOOP("App", "Open Corvanteller list...")},
    {"openTextListAction", QT_TRANSLATE_NOOP("App", "Open list in text format")},
    {"saveListAction", QT_TRANSLATE_NOOP("App", "Save")},
    {"saveListAsAction", QT_TRANSLATE_NOOP("App", "Save list as...")},
    {"saveAsTextAction", QT_TRANSLATE_NOOP("App", "Save as text...")},
    {"saveAsWordAction", QT_TRANSLATE_NOOP("App", "Save as Ms Word document...")},
    {"exportAction", QT_TRANSLATE_NOOP("App", "Export")},
    {"importExcelAction", QT_TRANSLATE_NOOP("App", "Import from Excel file")},
    {"renameMenu", QT_TRANSLATE_NOOP("App", "Rename files")},
    {"renameFromNameColumnAction", QT_TRANSLATE_NOOP("App", "From column of name (file)")},
    {"complexRenamingAction", QT_TRANSLATE_NOOP("App", "Dif...")},
    {"exitAction", QT_TRANSLATE_NOOP("App", "Exit")},
    {"settingsMenu", QT_TRANSLATE_NOOP("App", "&Settings")},
    {"scanParametersAction", QT_TRANSLATE_NOOP("App", "Parameters of scanning")},
    {"generalSettingsAction", QT_TRANSLATE_NOOP("App", "General settings")},
    {"helpMenu", QT_TRANSLATE_NOOP("App", "&Help")},
    {"aboutMenu", QT_TRANSLATE_NOOP("App", "About")},
    {"informationAction", QT_TRANSLATE_NOOP("App", "Information")},
    {"promptAction", QT_TRANSLATE_NOOP("App", "Prompt")},
    {"helpAction", QT_TRANSLATE_NOOP("App", "Corvanteller help")},
};

const std::array<const char*, 7> sortCaptions = {
    QT_TRANSLATE_NOOP("App", "&Number (#)"),
    QT_TRANSLATE_NOOP("App", "Name of &file"),
    QT_TRANSLATE_NOOP("App", "&Way"),
    QT_TRANSLATE_NOOP("App", "&The executor and/or the name of songs"),
    QT_TRANSLATE_NOOP("App", "&D"),
    QT_TRANSLATE_NOOP("App", "&E"),
    QT_TRANSLATE_NOOP("App", "&Made..."),
};
// clang-format on

template <std::size_t count>
QString captionIn(const std::pair<const char*, const char*> (&table)[count], const char* name) {
    for (const auto& [commandName, text] : table) {
        if (std::strcmp(commandName, name) == 0) {
            return QCoreApplication::translate("App", text);
        }
    }
    Q_ASSERT_X(false, "appTexts::caption", name);
    return QString::fromLatin1(name);
}

} // namespace

QString caption(const char* name) {
    return captionIn(captions, name);
}

QString startCaption(const char* name) {
    return captionIn(startCaptions, name);
}

QString sortCaption(int column) {
    return QCoreApplication::translate("App", sortCaptions.at(static_cast<std::size_t>(column)));
}

QString programTitle() {
    return QCoreApplication::translate("App", "Corvanteller");
}

QString checkAll() {
    return QCoreApplication::translate("App", "Check all");
}

QString checkAllHint() {
    return QCoreApplication::translate("App", "Check all files");
}

QString greeting() {
    return QCoreApplication::translate("App", "From Russia -- with love!");
}

QString greetingHint() {
    return QCoreApplication::translate("App", ":-)");
}

QString start() {
    return QCoreApplication::translate("App", "Start");
}

QString startHint() {
    return QCoreApplication::translate("App", "Let's start...");
}

QString stop() {
    return QCoreApplication::translate("App", "Stop");
}

QString wait() {
    return QCoreApplication::translate("App", "Wait...");
}

QString unknownStartOption(const QString& option) {
    return QCoreApplication::translate("App", "Unknown option \"%1\". Corvanteller opens a list "
                                              "file (*.sgl) or a folder named on its command line.")
        .arg(option);
}

QString oneStartOperand() {
    return QCoreApplication::translate(
        "App", "Corvanteller opens one list file (*.sgl) or one folder at a time.");
}

QString noStartOperand(const QString& given) {
    return QCoreApplication::translate("App", "There is no file or folder \"%1\".").arg(given);
}

QString listOpenFilter() {
    return QCoreApplication::translate("App",
                                       "List files (Corvanteller)|*.sgl|All files (*.*)|*.*");
}

QString listSaveFilter() {
    return QCoreApplication::translate("App", "List files (Corvanteller)|*.sgl|");
}

} // namespace corvanteller::appTexts
