// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_format_dialog.h"

#include "common/seams.h"
#include "text/table_text.h"
#include "text/text_texts.h"
#include "text/text_view_modes.h"
#include "ui/error_guard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvanteller {

using namespace Qt::StringLiterals;

TextFormatDialog::TextFormatDialog(const WindowServices& services, TextFormatOptions& options,
                                   const TextViewModes& modes, const Clock& clock,
                                   const QLocale& locale, QWidget* parent)
    : ProgramDialog(services, parent), options_(options), modes_(modes), clock_(clock),
      locale_(locale) {
    setWindowTitle(textTexts::formatTitle());

    addDateTimeCheckBox = new QCheckBox(textTexts::addDateAndTime(), this);
    addDateTimeCheckBox->setObjectName(QStringLiteral("addDateTimeCheckBox"));
    addNextCheckBox = new QCheckBox(textTexts::addNext(), this);
    addNextCheckBox->setObjectName(QStringLiteral("addNextCheckBox"));
    closingStringComboBox = new QComboBox(this);
    closingStringComboBox->setObjectName(QStringLiteral("closingStringComboBox"));
    closingStringComboBox->setEditable(true);
    // Typed text is the closing string; it never becomes an entry of the list.
    closingStringComboBox->setInsertPolicy(QComboBox::NoInsert);
    for (QStringView entry : closingStringEntries) {
        closingStringComboBox->addItem(entry.toString());
    }
    closingStringComboBox->setMinimumWidth(170);
    okButton = new QPushButton(textTexts::ok(), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton = new QPushButton(textTexts::cancel(), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    okButton->setDefault(true);

    auto* closingRow = new QHBoxLayout;
    closingRow->addWidget(addNextCheckBox);
    closingRow->addWidget(closingStringComboBox, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(addDateTimeCheckBox);
    layout->addLayout(closingRow);
    layout->addStretch();
    layout->addLayout(buttonRow);
    setFixedSize(330, 130);

    UiServices& ui = services_.ui;
    connect(addDateTimeCheckBox, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingOptions_) {
            options_.addDateAndTime = checked;
        }
    });
    connect(addNextCheckBox, &QCheckBox::toggled, this, [this](bool checked) {
        if (!showingOptions_) {
            options_.addNext = checked;
            onAddNextClicked();
        }
    });
    connect(closingStringComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!showingOptions_) {
            options_.addNextIndex = index;
        }
    });
    connect(closingStringComboBox, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!showingOptions_) {
            options_.addNextText = text;
        }
    });
    connect(okButton, &QPushButton::clicked, this, guard(this, ui, [this] { acceptSettings(); }));
    connect(cancelButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { cancelSettings(); }));

    showOptions();
}

void TextFormatDialog::showOptions() {
    showingOptions_ = true;
    addDateTimeCheckBox->setChecked(options_.addDateAndTime);
    addNextCheckBox->setChecked(options_.addNext);
    // The entry first, then the text, which may have been typed over it.
    closingStringComboBox->setCurrentIndex(options_.addNextIndex);
    closingStringComboBox->setEditText(options_.addNextText);
    closingStringComboBox->setEnabled(options_.addNext);
    showingOptions_ = false;
}

void TextFormatDialog::onActivated() {
    showOptions();
    noted_ = options_;
}

void TextFormatDialog::onAddNextClicked() {
    closingStringComboBox->setEnabled(addNextCheckBox->isChecked());
}

void TextFormatDialog::acceptSettings() {
    if (modes_.okAppends()) {
        const QStringList lines = appendedClosingLines(options_, clock_.now(), locale_);
        if (!lines.isEmpty()) {
            Q_EMIT linesAppended(lines);
        }
    }
    hide();
}

void TextFormatDialog::cancelSettings() {
    options_ = noted_;
    showOptions();
    hide();
}

void TextFormatDialog::reject() {
    cancelSettings();
}

} // namespace corvanteller
