// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/general_settings_dialog.h"

#include "settings/settings_texts.h"
#include "ui/error_guard.h"
#include "ui/hint_controller.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int textAreaClicksForGreeting = 12;

template <std::size_t N> QStringList entryTexts(const std::array<QStringView, N>& entries) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(N));
    for (QStringView entry : entries) {
        texts.append(entry.toString());
    }
    return texts;
}

QComboBox* makeFixedList(const QStringList& entries, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setEditable(true);
    // Typed text is the list's text; it never becomes an entry of the list.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(entries);
    list->setMaxVisibleItems(12);
    return list;
}

// A control that depends on a check box sits a little to the right of it.
QHBoxLayout* indented(QWidget* control) {
    auto* row = new QHBoxLayout;
    row->addSpacing(20);
    row->addWidget(control);
    return row;
}

} // namespace

RadioGroupBox::RadioGroupBox(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    for (qsizetype i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        buttons->addButton(button, static_cast<int>(i));
        layout->addWidget(button);
    }
}

int RadioGroupBox::itemIndex() const {
    return buttons->checkedId();
}

void RadioGroupBox::setItemIndex(int index) {
    if (QAbstractButton* button = buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // No choice: the group must let go of its checked button first.
    if (QAbstractButton* checked = buttons->checkedButton()) {
        buttons->setExclusive(false);
        checked->setChecked(false);
        buttons->setExclusive(true);
    }
}

QRadioButton* RadioGroupBox::item(int index) const {
    return static_cast<QRadioButton*>(buttons->button(index));
}

int RadioGroupBox::itemCount() const {
    return static_cast<int>(buttons->buttons().size());
}

GeneralSettingsDialog::GeneralSettingsDialog(const WindowServices& services, Options& options,
                                             DesktopSettings& desktop, const QString& desktopPath,
                                             QWidget* parent)
    : ProgramDialog(services, parent), options_(options), desktop_(desktop),
      desktopPath_(desktopPath) {
    setWindowTitle(settingsTexts::dialogTitle());
    setFixedSize(566, 403);

    pageTabs = new QTabWidget(this);
    createGeneralPage();
    createTextFormatPage();
    createExcelPage();
    createMessagesPage();
    createScanningPage();

    okButton = new QPushButton(settingsTexts::ok(), this);
    cancelButton = new QPushButton(settingsTexts::cancel(), this);
    defaultSettingsButton = new QPushButton(settingsTexts::defaultSettings(), this);
    okButton->setDefault(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(defaultSettingsButton);
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(pageTabs);
    layout->addLayout(buttonRow);

    nameControls();
    connectControls();
    showOptions();
    updateEnabledStates();
}

void GeneralSettingsDialog::createGeneralPage() {
    generalPage = new QWidget;
    columnWidthGroup = new RadioGroupBox(settingsTexts::columnWidthTitle(),
                                         settingsTexts::columnWidthModes(), generalPage);
    hintsCheckBox = new QCheckBox(settingsTexts::hints(), generalPage);
    keepMarksCheckBox = new QCheckBox(settingsTexts::keepMarks(), generalPage);
    keepMarksCheckBox->setObjectName(u"keepMarksCheckBox"_s);

    auto* page = new QVBoxLayout(generalPage);
    columnWidthGroup->setMinimumWidth(260);
    page->addWidget(columnWidthGroup, 0, Qt::AlignLeft);
    page->addSpacing(8);
    page->addWidget(hintsCheckBox);
    page->addWidget(keepMarksCheckBox);
    page->addStretch();
    pageTabs->addTab(generalPage, settingsTexts::generalPage());
}

void GeneralSettingsDialog::createTextFormatPage() {
    textFormatPage = new QWidget;
    textFormatSettingsButton = new QPushButton(settingsTexts::moreSettings(), textFormatPage);
    textAreaLabel = new QLabel(textFormatPage);
    textAreaLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    textAreaLabel->installEventFilter(this);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(textFormatSettingsButton);
    buttonRow->addStretch();
    auto* page = new QVBoxLayout(textFormatPage);
    page->addLayout(buttonRow);
    page->addWidget(textAreaLabel, 1);
    pageTabs->addTab(textFormatPage, settingsTexts::textFormatPage());
}

void GeneralSettingsDialog::createExcelPage() {
    excelExportPage = new QWidget;
    rowNumberCheckBox = new QCheckBox(settingsTexts::rowNumber(), excelExportPage);
    italicCheckBox = new QCheckBox(settingsTexts::italic(), excelExportPage);
    QFont italicFont(u"Times New Roman"_s);
    italicFont.setStyleHint(QFont::Serif);
    italicFont.setItalic(true);
    italicCheckBox->setFont(italicFont);
    headingsTextColourCheckBox =
        new QCheckBox(settingsTexts::headingsTextColour(), excelExportPage);
    headingsBordersCheckBox = new QCheckBox(settingsTexts::headingsBorders(), excelExportPage);
    headingsFillCheckBox = new QCheckBox(settingsTexts::headingsFill(), excelExportPage);
    tableTextColourCheckBox = new QCheckBox(settingsTexts::tableTextColour(), excelExportPage);
    tableBordersCheckBox = new QCheckBox(settingsTexts::tableBorders(), excelExportPage);
    tableFillCheckBox = new QCheckBox(settingsTexts::tableFill(), excelExportPage);
    bordersDrawnGroup = new RadioGroupBox(settingsTexts::bordersDrawnTitle(),
                                          settingsTexts::bordersDrawnChoices(), excelExportPage);
    wideColumnsCheckBox = new QCheckBox(settingsTexts::wideColumns(), excelExportPage);
    columnNamesCheckBox = new QCheckBox(settingsTexts::columnNames(), excelExportPage);
    columnNamesCheckBox->setVisible(false);
    addDateTimeCheckBox = new QCheckBox(settingsTexts::addDateTime(), excelExportPage);
    whatAddedGroup = new RadioGroupBox(settingsTexts::whatAddedTitle(),
                                       settingsTexts::whatAddedChoices(), excelExportPage);
    chooseList1CheckBox = new QCheckBox(settingsTexts::chooseList1(), excelExportPage);
    list1ComboBox = makeFixedList(entryTexts(excelList1Entries), excelExportPage);
    chooseList2CheckBox = new QCheckBox(settingsTexts::chooseList2(), excelExportPage);
    list2ComboBox = makeFixedList(entryTexts(excelList2Entries), excelExportPage);
    addStringCheckBox = new QCheckBox(settingsTexts::addString(), excelExportPage);
    addedStringEdit = new QLineEdit(excelExportPage);

    auto* tableColumn = new QVBoxLayout;
    tableColumn->setSpacing(3);
    tableColumn->addWidget(rowNumberCheckBox);
    tableColumn->addLayout(indented(italicCheckBox));
    tableColumn->addWidget(headingsTextColourCheckBox);
    tableColumn->addWidget(headingsBordersCheckBox);
    tableColumn->addWidget(headingsFillCheckBox);
    tableColumn->addWidget(tableTextColourCheckBox);
    tableColumn->addWidget(tableBordersCheckBox);
    tableColumn->addLayout(indented(bordersDrawnGroup));
    tableColumn->addWidget(tableFillCheckBox);
    tableColumn->addStretch();

    auto* additionColumn = new QGridLayout;
    additionColumn->setVerticalSpacing(6);
    additionColumn->setColumnStretch(1, 1);
    additionColumn->addWidget(addDateTimeCheckBox, 0, 0, 1, 2);
    additionColumn->addLayout(indented(whatAddedGroup), 1, 0, 1, 2);
    additionColumn->addWidget(chooseList1CheckBox, 2, 0);
    additionColumn->addWidget(list1ComboBox, 2, 1);
    additionColumn->addWidget(chooseList2CheckBox, 3, 0);
    additionColumn->addWidget(list2ComboBox, 3, 1);
    additionColumn->addWidget(addStringCheckBox, 4, 0);
    additionColumn->addWidget(addedStringEdit, 4, 1);
    additionColumn->setRowStretch(5, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(tableColumn);
    columns->addSpacing(12);
    columns->addLayout(additionColumn, 1);

    auto* page = new QVBoxLayout(excelExportPage);
    page->addLayout(columns, 1);
    page->addWidget(wideColumnsCheckBox);
    page->addWidget(columnNamesCheckBox);
    pageTabs->addTab(excelExportPage, settingsTexts::excelExportPage());
}

void GeneralSettingsDialog::createMessagesPage() {
    errorMessagesPage = new QWidget;
    errorMessagesCheckBox = new QCheckBox(settingsTexts::errorMessages(), errorMessagesPage);
    auto* page = new QVBoxLayout(errorMessagesPage);
    page->addWidget(errorMessagesCheckBox);
    page->addStretch();
    pageTabs->addTab(errorMessagesPage, settingsTexts::errorMessages());
}

void GeneralSettingsDialog::createScanningPage() {
    scanningPage = new QWidget;
    scanningSettingsLabel = new QLabel(settingsTexts::scanningSettings(), scanningPage);
    scanningSettingsButton = new QPushButton(settingsTexts::moreSettings(), scanningPage);
    auto* row = new QHBoxLayout;
    row->addWidget(scanningSettingsLabel);
    row->addSpacing(12);
    row->addWidget(scanningSettingsButton);
    row->addStretch();
    rememberTextsCheckBox = new QCheckBox(settingsTexts::rememberTexts(), scanningPage);
    auto* page = new QVBoxLayout(scanningPage);
    page->addLayout(row);
    page->addSpacing(8);
    page->addWidget(rememberTextsCheckBox);
    page->addStretch();
    pageTabs->addTab(scanningPage, settingsTexts::scanningPage());
}

void GeneralSettingsDialog::connectControls() {
    UiServices& ui = services_.ui;
    Options& options = options_;

    // Each control writes its option as it changes; showing the options writes nothing.
    const auto bind = [this, &ui](QCheckBox* box, bool& option) {
        connect(box, &QCheckBox::toggled, this, guard(this, ui, [this, &option](bool checked) {
                    if (!showingOptions_) {
                        option = checked;
                        updateEnabledStates();
                    }
                }));
    };
    for (const auto& [box, option] : optionBoxes()) {
        bind(box, *option);
    }
    bind(rememberTextsCheckBox, desktop_.rememberUnchangedTexts);
    bind(keepMarksCheckBox, desktop_.keepMarksOnSwitch);

    connect(hintsCheckBox, &QCheckBox::toggled, this, guard(this, ui, [this](bool checked) {
                if (showingOptions_) {
                    return;
                }
                options_.general.hints = checked;
                services_.hints.setHintsEnabled(checked);
            }));

    const auto bindGroup = [this, &ui]<typename Choice>(RadioGroupBox* group, Choice& option) {
        connect(group->buttons, &QButtonGroup::idToggled, this,
                guard(this, ui, [this, &option](int id, bool checked) {
                    if (!showingOptions_ && checked) {
                        option = static_cast<Choice>(id);
                    }
                }));
    };
    bindGroup(columnWidthGroup, options.general.columnWidthMode);
    bindGroup(bordersDrawnGroup, options.excel.bordersDrawn);
    bindGroup(whatAddedGroup, options.excel.whatAdded);

    const auto bindList = [this, &ui](QComboBox* list, int& index, QString& text) {
        connect(list, &QComboBox::currentIndexChanged, this,
                guard(this, ui, [this, &index](int chosen) {
                    if (!showingOptions_) {
                        index = chosen;
                    }
                }));
        connect(list, &QComboBox::editTextChanged, this,
                guard(this, ui, [this, &text](const QString& typed) {
                    if (!showingOptions_) {
                        text = typed;
                    }
                }));
    };
    bindList(list1ComboBox, options.excel.list1Index, options.excel.list1Text);
    bindList(list2ComboBox, options.excel.list2Index, options.excel.list2Text);

    connect(addedStringEdit, &QLineEdit::textChanged, this,
            guard(this, ui, [this](const QString& text) {
                if (!showingOptions_) {
                    options_.excel.stringToAdd = text;
                }
            }));

    connect(okButton, &QPushButton::clicked, this, guard(this, ui, [this] { acceptSettings(); }));
    connect(cancelButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { cancelSettings(); }));
    connect(defaultSettingsButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { restoreDefaultSettings(); }));
    connect(textFormatSettingsButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { showTextFormatSettings(); }));
    connect(scanningSettingsButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { showScanningSettings(); }));
}

std::vector<std::pair<QCheckBox*, bool*>> GeneralSettingsDialog::optionBoxes() {
    Options& options = options_;
    ExcelOptions& excel = options.excel;
    return {{rowNumberCheckBox, &excel.numberOfRow},
            {italicCheckBox, &excel.italic},
            {headingsTextColourCheckBox, &excel.colourHeadingsText},
            {headingsBordersCheckBox, &excel.colourHeadingsBorders},
            {headingsFillCheckBox, &excel.colourHeadingsFill},
            {tableTextColourCheckBox, &excel.colourAllText},
            {tableBordersCheckBox, &excel.colourAllBorders},
            {tableFillCheckBox, &excel.colourAllFill},
            {wideColumnsCheckBox, &excel.wideColumns},
            {columnNamesCheckBox, &excel.columnNames},
            {addDateTimeCheckBox, &excel.addDateTime},
            {chooseList1CheckBox, &excel.chooseList1},
            {chooseList2CheckBox, &excel.chooseList2},
            {addStringCheckBox, &excel.addString},
            {errorMessagesCheckBox, &options.general.errorMessages}};
}

void GeneralSettingsDialog::showOptions() {
    const Options& options = options_;
    const ExcelOptions& excel = options.excel;
    showingOptions_ = true;

    columnWidthGroup->setItemIndex(static_cast<int>(options.general.columnWidthMode));
    hintsCheckBox->setChecked(options.general.hints);

    for (const auto& [box, option] : optionBoxes()) {
        box->setChecked(*option);
    }
    rememberTextsCheckBox->setChecked(desktop_.rememberUnchangedTexts);
    keepMarksCheckBox->setChecked(desktop_.keepMarksOnSwitch);
    bordersDrawnGroup->setItemIndex(static_cast<int>(excel.bordersDrawn));
    whatAddedGroup->setItemIndex(static_cast<int>(excel.whatAdded));
    // The entry first, then the text, which may have been typed over it.
    list1ComboBox->setCurrentIndex(excel.list1Index);
    list1ComboBox->setEditText(excel.list1Text);
    list2ComboBox->setCurrentIndex(excel.list2Index);
    list2ComboBox->setEditText(excel.list2Text);
    addedStringEdit->setText(excel.stringToAdd);

    showingOptions_ = false;
}

void GeneralSettingsDialog::updateEnabledStates() {
    const ExcelOptions& excel = options_.excel;
    italicCheckBox->setEnabled(excel.numberOfRow);
    bordersDrawnGroup->setEnabled(excel.colourAllBorders);
    whatAddedGroup->setEnabled(excel.addDateTime);
    list1ComboBox->setEnabled(excel.chooseList1);
    list2ComboBox->setEnabled(excel.chooseList2);
    addedStringEdit->setEnabled(excel.addString);
}

void GeneralSettingsDialog::putBack(const Options& noted) {
    Options& options = options_;
    ExcelOptions& excel = options.excel;
    const ExcelOptions& notedExcel = noted.excel;
    options.general.columnWidthMode = noted.general.columnWidthMode;
    options.general.errorMessages = noted.general.errorMessages;
    options.textFormat.addDateAndTime = noted.textFormat.addDateAndTime;
    options.textFormat.addNext = noted.textFormat.addNext;
    options.scanning.plentyOfFiles = noted.scanning.plentyOfFiles;
    for (bool ExcelOptions::*box :
         {&ExcelOptions::numberOfRow, &ExcelOptions::italic, &ExcelOptions::colourHeadingsText,
          &ExcelOptions::colourHeadingsBorders, &ExcelOptions::colourAllText,
          &ExcelOptions::colourAllBorders, &ExcelOptions::wideColumns, &ExcelOptions::columnNames,
          &ExcelOptions::addDateTime, &ExcelOptions::chooseList1, &ExcelOptions::chooseList2,
          &ExcelOptions::addString}) {
        excel.*box = notedExcel.*box;
    }
    // A list's text goes back with the entry it was chosen from.
    excel.list1Index = notedExcel.list1Index;
    excel.list1Text = notedExcel.list1Text;
    excel.list2Index = notedExcel.list2Index;
    excel.list2Text = notedExcel.list2Text;
    excel.stringToAdd = notedExcel.stringToAdd;
}

void GeneralSettingsDialog::showOptionsInOtherDialogs() {
    // The scanning-parameters dialog may be open beside this one; its OK must not keep an
    // option that this dialog has just changed under it.
    Q_EMIT optionsPutBack();
}

bool GeneralSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == textAreaLabel && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            textAreaLabel->rect().contains(mouse->position().toPoint())) {
            guarded(this, services_.ui, [this] { onTextAreaClicked(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void GeneralSettingsDialog::onActivated() {
    // Others may have changed the options since the last opening (the settings file, another
    // dialog, "&Default settings").
    showOptions();
    noted_ = options_;
    notedDesktop_ = desktop_;
    updateEnabledStates();
    textAreaClicks_ = 0;
}

void GeneralSettingsDialog::acceptSettings() {
    // An unwritable file keeps the setting for this run of the program.
    desktop_.save(desktopPath_);
    hide();
}

void GeneralSettingsDialog::cancelSettings() {
    putBack(noted_);
    desktop_ = notedDesktop_;
    showOptions();
    updateEnabledStates();
    showOptionsInOtherDialogs();
    hide();
}

void GeneralSettingsDialog::reject() {
    cancelSettings();
}

void GeneralSettingsDialog::restoreDefaultSettings() {
    applyDefaultSettings(options_);
    showOptions();
    updateEnabledStates();
    showOptionsInOtherDialogs();
    services_.hints.setHintsEnabled(options_.general.hints);
    hide();
}

void GeneralSettingsDialog::showTextFormatSettings() {
    Q_EMIT textFormatSettingsRequested();
}

void GeneralSettingsDialog::showScanningSettings() {
    Q_EMIT scanningSettingsRequested();
}

void GeneralSettingsDialog::onTextAreaClicked() {
    ++textAreaClicks_;
    if (textAreaClicks_ == textAreaClicksForGreeting) {
        services_.ui.showMessage(this, settingsTexts::greeting());
    }
}

void GeneralSettingsDialog::nameControls() {
    pageTabs->setObjectName(u"pageTabs"_s);
    generalPage->setObjectName(u"generalPage"_s);
    textFormatPage->setObjectName(u"textFormatPage"_s);
    excelExportPage->setObjectName(u"excelExportPage"_s);
    errorMessagesPage->setObjectName(u"errorMessagesPage"_s);
    scanningPage->setObjectName(u"scanningPage"_s);
    columnWidthGroup->setObjectName(u"columnWidthGroup"_s);
    hintsCheckBox->setObjectName(u"hintsCheckBox"_s);
    textFormatSettingsButton->setObjectName(u"textFormatSettingsButton"_s);
    textAreaLabel->setObjectName(u"textAreaLabel"_s);
    rowNumberCheckBox->setObjectName(u"rowNumberCheckBox"_s);
    italicCheckBox->setObjectName(u"italicCheckBox"_s);
    headingsTextColourCheckBox->setObjectName(u"headingsTextColourCheckBox"_s);
    headingsBordersCheckBox->setObjectName(u"headingsBordersCheckBox"_s);
    headingsFillCheckBox->setObjectName(u"headingsFillCheckBox"_s);
    tableTextColourCheckBox->setObjectName(u"tableTextColourCheckBox"_s);
    tableBordersCheckBox->setObjectName(u"tableBordersCheckBox"_s);
    tableFillCheckBox->setObjectName(u"tableFillCheckBox"_s);
    bordersDrawnGroup->setObjectName(u"bordersDrawnGroup"_s);
    wideColumnsCheckBox->setObjectName(u"wideColumnsCheckBox"_s);
    columnNamesCheckBox->setObjectName(u"columnNamesCheckBox"_s);
    addDateTimeCheckBox->setObjectName(u"addDateTimeCheckBox"_s);
    whatAddedGroup->setObjectName(u"whatAddedGroup"_s);
    chooseList1CheckBox->setObjectName(u"chooseList1CheckBox"_s);
    list1ComboBox->setObjectName(u"list1ComboBox"_s);
    chooseList2CheckBox->setObjectName(u"chooseList2CheckBox"_s);
    list2ComboBox->setObjectName(u"list2ComboBox"_s);
    addStringCheckBox->setObjectName(u"addStringCheckBox"_s);
    addedStringEdit->setObjectName(u"addedStringEdit"_s);
    errorMessagesCheckBox->setObjectName(u"errorMessagesCheckBox"_s);
    scanningSettingsLabel->setObjectName(u"scanningSettingsLabel"_s);
    scanningSettingsButton->setObjectName(u"scanningSettingsButton"_s);
    rememberTextsCheckBox->setObjectName(u"rememberTextsCheckBox"_s);
    okButton->setObjectName(u"okButton"_s);
    cancelButton->setObjectName(u"cancelButton"_s);
    defaultSettingsButton->setObjectName(u"defaultSettingsButton"_s);
}

} // namespace corvanteller
