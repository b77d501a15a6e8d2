#include "text/text_format_dialog.h"

#include "common/seams.h"
#include "text/table_text.h"
#include "text/text_view_modes.h"
#include "ui/error_guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvanteller {

using namespace Qt::StringLiterals;

TForm9::TForm9(const WindowServices& services, TextFormatOptions& options,
               const TextViewModes& modes, const Clock& clock, const QLocale& locale,
               QWidget* parent)
    : ProgramDialog(services, parent), options_(options), modes_(modes), clock_(clock),
      locale_(locale) {
    setWindowTitle(u"Settings"_s);

    CheckBox1 = new QCheckBox(u"&Add date and time"_s, this);
    CheckBox2 = new QCheckBox(u"Add next "_s, this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    // Typed text is the closing string; it never becomes an entry of the list.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    for (QStringView entry : closingStringEntries) {
        ComboBox1->addItem(entry.toString());
    }
    ComboBox1->setMinimumWidth(170);
    Button1 = new QPushButton(u"OK"_s, this);
    Button2 = new QPushButton(u"Отмена"_s, this);
    Button1->setDefault(true);

    auto* closingRow = new QHBoxLayout;
    closingRow->addWidget(CheckBox2);
    closingRow->addWidget(ComboBox1, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Button1);
    buttonRow->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckBox1);
    layout->addLayout(closingRow);
    layout->addStretch();
    layout->addLayout(buttonRow);
    setFixedSize(330, 130);

    UiServices& ui = services_.ui;
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingOptions_) {
            options_.addDateAndTime = checked;
        }
    });
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingOptions_) {
            options_.addNext = checked;
            CheckBox2Click();
        }
    });
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingOptions_) {
            options_.addNextIndex = index;
        }
    });
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!showingOptions_) {
            options_.addNextText = text;
        }
    });
    connect(Button1, &QPushButton::clicked, this, guard(this, ui, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, ui, [this] { Button2Click(); }));

    showOptions();
}

void TForm9::showOptions() {
    showingOptions_ = true;
    CheckBox1->setChecked(options_.addDateAndTime);
    CheckBox2->setChecked(options_.addNext);
    // The entry first, then the text, which may have been typed over it.
    ComboBox1->setCurrentIndex(options_.addNextIndex);
    ComboBox1->setEditText(options_.addNextText);
    ComboBox1->setEnabled(options_.addNext);
    showingOptions_ = false;
}

void TForm9::FormActivate() {
    showOptions();
    noted_ = options_;
}

void TForm9::CheckBox2Click() {
    ComboBox1->setEnabled(CheckBox2->isChecked());
}

void TForm9::Button1Click() {
    if (modes_.okAppends()) {
        const QStringList lines = appendedClosingLines(options_, clock_.now(), locale_);
        if (!lines.isEmpty()) {
            Q_EMIT linesAppended(lines);
        }
    }
    hide();
}

void TForm9::Button2Click() {
    options_ = noted_;
    showOptions();
    hide();
}

void TForm9::reject() {
    Button2Click();
}

} // namespace corvanteller
