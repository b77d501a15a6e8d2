#include "settings/general_settings_dialog.h"

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

const QString greeting =
    u"Hello to you!! Всем приветики!! Москва (Россия), Moscow (Russia)!!!  СУПЕР!!! "
    u"Всех девушек с восьмым марта (с наступающем или прошедшем -- не знаю, "
    u"какое сейчас у Вас число)!!! А написано это 05.03.2003г.  :-) !!!!"_s;

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

TForm10::TForm10(const WindowServices& services, Options& options, QWidget* parent)
    : ProgramDialog(services, parent), options_(options) {
    setWindowTitle(u"General settings"_s);
    setFixedSize(566, 403);

    PageControl1 = new QTabWidget(this);
    createGeneralPage();
    createTextFormatPage();
    createExcelPage();
    createMessagesPage();
    createScanningPage();

    Button1 = new QPushButton(u"OK"_s, this);
    Button2 = new QPushButton(u"Cancel"_s, this);
    Button3 = new QPushButton(u"&Default settings"_s, this);
    Button1->setDefault(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(Button3);
    buttonRow->addStretch();
    buttonRow->addWidget(Button1);
    buttonRow->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(PageControl1);
    layout->addLayout(buttonRow);

    connectControls();
    showOptions();
    updateEnabledStates();
}

void TForm10::createGeneralPage() {
    TabSheet1 = new QWidget;
    RadioGroup1 = new RadioGroupBox(
        u"Width of columns of the table"_s,
        {u"Fixed width (default)"_s, u"User settings"_s, u"On the widest line in a column"_s},
        TabSheet1);
    CheckBox1 = new QCheckBox(u"Hints"_s, TabSheet1);

    auto* page = new QVBoxLayout(TabSheet1);
    RadioGroup1->setMinimumWidth(260);
    page->addWidget(RadioGroup1, 0, Qt::AlignLeft);
    page->addSpacing(8);
    page->addWidget(CheckBox1);
    page->addStretch();
    PageControl1->addTab(TabSheet1, u"General"_s);
}

void TForm10::createTextFormatPage() {
    TabSheet2 = new QWidget;
    Button4 = new QPushButton(u"Settings..."_s, TabSheet2);
    Label1 = new QLabel(TabSheet2);
    Label1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Label1->installEventFilter(this);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(Button4);
    buttonRow->addStretch();
    auto* page = new QVBoxLayout(TabSheet2);
    page->addLayout(buttonRow);
    page->addWidget(Label1, 1);
    PageControl1->addTab(TabSheet2, u"Text format"_s);
}

void TForm10::createExcelPage() {
    TabSheet3 = new QWidget;
    CheckBox2 = new QCheckBox(u"&Number of row"_s, TabSheet3);
    CheckBox3 = new QCheckBox(u"Italic"_s, TabSheet3);
    QFont italicFont(u"Times New Roman"_s);
    italicFont.setStyleHint(QFont::Serif);
    italicFont.setItalic(true);
    CheckBox3->setFont(italicFont);
    CheckBox4 = new QCheckBox(u"Colour headings (text)"_s, TabSheet3);
    CheckBox5 = new QCheckBox(u"Colour headings (borders)"_s, TabSheet3);
    CheckBox6 = new QCheckBox(u"Colour headings (fill)"_s, TabSheet3);
    CheckBox7 = new QCheckBox(u"Colour all table (text)"_s, TabSheet3);
    CheckBox8 = new QCheckBox(u"Colour all table (borders)"_s, TabSheet3);
    CheckBox9 = new QCheckBox(u"&Colour all table (fill)"_s, TabSheet3);
    RadioGroup2 = new RadioGroupBox(u"What borders will be drawn"_s,
                                    {u"Vertical"_s, u"Horizontal"_s, u"All"_s}, TabSheet3);
    CheckBox10 = new QCheckBox(u"&Wide of columns on the widest line in a column"_s, TabSheet3);
    CheckBox11 = new QCheckBox(u"Названия колонок"_s, TabSheet3);
    CheckBox11->setVisible(false);
    CheckBox12 = new QCheckBox(u"Add date and/or time"_s, TabSheet3);
    RadioGroup3 = new RadioGroupBox(u"What will be added"_s,
                                    {u"Date"_s, u"Time"_s, u"Date and time"_s}, TabSheet3);
    CheckBox13 = new QCheckBox(u"Choose from list #1"_s, TabSheet3);
    ComboBox1 = makeFixedList(entryTexts(excelList1Entries), TabSheet3);
    CheckBox14 = new QCheckBox(u"Choose from list #2"_s, TabSheet3);
    ComboBox2 = makeFixedList(entryTexts(excelList2Entries), TabSheet3);
    CheckBox15 = new QCheckBox(u"Add this string"_s, TabSheet3);
    Edit1 = new QLineEdit(TabSheet3);

    auto* tableColumn = new QVBoxLayout;
    tableColumn->setSpacing(3);
    tableColumn->addWidget(CheckBox2);
    tableColumn->addLayout(indented(CheckBox3));
    tableColumn->addWidget(CheckBox4);
    tableColumn->addWidget(CheckBox5);
    tableColumn->addWidget(CheckBox6);
    tableColumn->addWidget(CheckBox7);
    tableColumn->addWidget(CheckBox8);
    tableColumn->addLayout(indented(RadioGroup2));
    tableColumn->addWidget(CheckBox9);
    tableColumn->addStretch();

    auto* additionColumn = new QGridLayout;
    additionColumn->setVerticalSpacing(6);
    additionColumn->setColumnStretch(1, 1);
    additionColumn->addWidget(CheckBox12, 0, 0, 1, 2);
    additionColumn->addLayout(indented(RadioGroup3), 1, 0, 1, 2);
    additionColumn->addWidget(CheckBox13, 2, 0);
    additionColumn->addWidget(ComboBox1, 2, 1);
    additionColumn->addWidget(CheckBox14, 3, 0);
    additionColumn->addWidget(ComboBox2, 3, 1);
    additionColumn->addWidget(CheckBox15, 4, 0);
    additionColumn->addWidget(Edit1, 4, 1);
    additionColumn->setRowStretch(5, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(tableColumn);
    columns->addSpacing(12);
    columns->addLayout(additionColumn, 1);

    auto* page = new QVBoxLayout(TabSheet3);
    page->addLayout(columns, 1);
    page->addWidget(CheckBox10);
    page->addWidget(CheckBox11);
    PageControl1->addTab(TabSheet3, u"Export to Excel"_s);
}

void TForm10::createMessagesPage() {
    TabSheet4 = new QWidget;
    CheckBox16 = new QCheckBox(u"Messages about errors"_s, TabSheet4);
    auto* page = new QVBoxLayout(TabSheet4);
    page->addWidget(CheckBox16);
    page->addStretch();
    PageControl1->addTab(TabSheet4, u"Messages about errors"_s);
}

void TForm10::createScanningPage() {
    TabSheet5 = new QWidget;
    Label2 = new QLabel(u"You can choose scanning settings"_s, TabSheet5);
    Button5 = new QPushButton(u"Settings..."_s, TabSheet5);
    auto* row = new QHBoxLayout;
    row->addWidget(Label2);
    row->addSpacing(12);
    row->addWidget(Button5);
    row->addStretch();
    auto* page = new QVBoxLayout(TabSheet5);
    page->addLayout(row);
    page->addStretch();
    PageControl1->addTab(TabSheet5, u"Scanning"_s);
}

void TForm10::connectControls() {
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

    connect(CheckBox1, &QCheckBox::toggled, this, guard(this, ui, [this](bool checked) {
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
    bindGroup(RadioGroup1, options.general.columnWidthMode);
    bindGroup(RadioGroup2, options.excel.bordersDrawn);
    bindGroup(RadioGroup3, options.excel.whatAdded);

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
    bindList(ComboBox1, options.excel.list1Index, options.excel.list1Text);
    bindList(ComboBox2, options.excel.list2Index, options.excel.list2Text);

    connect(Edit1, &QLineEdit::textChanged, this, guard(this, ui, [this](const QString& text) {
                if (!showingOptions_) {
                    options_.excel.stringToAdd = text;
                }
            }));

    connect(Button1, &QPushButton::clicked, this, guard(this, ui, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, ui, [this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, ui, [this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, guard(this, ui, [this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, guard(this, ui, [this] { Button5Click(); }));
}

std::vector<std::pair<QCheckBox*, bool*>> TForm10::optionBoxes() {
    Options& options = options_;
    ExcelOptions& excel = options.excel;
    return {{CheckBox2, &excel.numberOfRow},
            {CheckBox3, &excel.italic},
            {CheckBox4, &excel.colourHeadingsText},
            {CheckBox5, &excel.colourHeadingsBorders},
            {CheckBox6, &excel.colourHeadingsFill},
            {CheckBox7, &excel.colourAllText},
            {CheckBox8, &excel.colourAllBorders},
            {CheckBox9, &excel.colourAllFill},
            {CheckBox10, &excel.wideColumns},
            {CheckBox11, &excel.columnNames},
            {CheckBox12, &excel.addDateTime},
            {CheckBox13, &excel.chooseList1},
            {CheckBox14, &excel.chooseList2},
            {CheckBox15, &excel.addString},
            {CheckBox16, &options.general.errorMessages}};
}

void TForm10::showOptions() {
    const Options& options = options_;
    const ExcelOptions& excel = options.excel;
    showingOptions_ = true;

    RadioGroup1->setItemIndex(static_cast<int>(options.general.columnWidthMode));
    CheckBox1->setChecked(options.general.hints);

    for (const auto& [box, option] : optionBoxes()) {
        box->setChecked(*option);
    }
    RadioGroup2->setItemIndex(static_cast<int>(excel.bordersDrawn));
    RadioGroup3->setItemIndex(static_cast<int>(excel.whatAdded));
    // The entry first, then the text, which may have been typed over it.
    ComboBox1->setCurrentIndex(excel.list1Index);
    ComboBox1->setEditText(excel.list1Text);
    ComboBox2->setCurrentIndex(excel.list2Index);
    ComboBox2->setEditText(excel.list2Text);
    Edit1->setText(excel.stringToAdd);

    showingOptions_ = false;
}

void TForm10::updateEnabledStates() {
    const ExcelOptions& excel = options_.excel;
    CheckBox3->setEnabled(excel.numberOfRow);
    RadioGroup2->setEnabled(excel.colourAllBorders);
    RadioGroup3->setEnabled(excel.addDateTime);
    ComboBox1->setEnabled(excel.chooseList1);
    ComboBox2->setEnabled(excel.chooseList2);
    Edit1->setEnabled(excel.addString);
}

void TForm10::putBack(const Options& noted) {
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

void TForm10::showOptionsInOtherDialogs() {
    // The scanning-parameters dialog may be open beside this one; its OK must not keep an
    // option that this dialog has just changed under it.
    Q_EMIT optionsPutBack();
}

bool TForm10::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label1->rect().contains(mouse->position().toPoint())) {
            guarded(this, services_.ui, [this] { Label1Click(); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm10::FormActivate() {
    // Others may have changed the options since the last opening (the settings file, another
    // dialog, "&Default settings").
    showOptions();
    noted_ = options_;
    updateEnabledStates();
    textAreaClicks_ = 0;
}

void TForm10::Button1Click() {
    hide();
}

void TForm10::Button2Click() {
    putBack(noted_);
    showOptions();
    updateEnabledStates();
    showOptionsInOtherDialogs();
    hide();
}

void TForm10::reject() {
    Button2Click();
}

void TForm10::Button3Click() {
    applyDefaultSettings(options_);
    showOptions();
    updateEnabledStates();
    showOptionsInOtherDialogs();
    services_.hints.setHintsEnabled(options_.general.hints);
    hide();
}

void TForm10::Button4Click() {
    Q_EMIT textFormatSettingsRequested();
}

void TForm10::Button5Click() {
    Q_EMIT scanningSettingsRequested();
}

void TForm10::Label1Click() {
    ++textAreaClicks_;
    if (textAreaClicks_ == textAreaClicksForGreeting) {
        services_.ui.showMessage(this, greeting);
    }
}

} // namespace corvanteller
