// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/complex_rename_dialog.h"

#include "rename/rename_journal.h"
#include "rename/rename_preview_window.h"
#include "rename/rename_runs.h"
#include "rename/rename_texts.h"
#include "settings/general_settings_dialog.h"
#include "settings/options.h"
#include "table/table_session.h"
#include "ui/error_guard.h"
#include "ui/ui_services.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

const QString forbiddenCharacters = u"\\/:*?\"<>|"_s;

// Parts are told apart by their captions, whatever place they stand in.
std::optional<NamePart> partOfCaption(const QString& caption) {
    for (std::size_t i = 0; i < renameTexts::partCount(); ++i) {
        if (renameTexts::partCaption(i) == caption) {
            return static_cast<NamePart>(i);
        }
    }
    return std::nullopt;
}

std::size_t at(int position) {
    return static_cast<std::size_t>(position);
}

// A combo box list that opens as a list under the box, so that it keeps to its visible-items
// limit.
class ListPopupStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

ComplexRenameDialog::ComplexRenameDialog(const WindowServices& services, Options& options,
                                         TableSession& table, const Clock& clock,
                                         const QString& settingsPath, QWidget* parent)
    : ProgramDialog(services, parent), options_(options), table_(table), clock_(clock),
      settingsPath_(settingsPath) {
    setWindowTitle(renameTexts::dialogTitle());
    setFixedSize(clientWidth, clientHeight);
    buildControls();
    connectControls();
    showOptions();
    preview_ = new RenamePreviewWindow(this);
    // As when the dialog is made: the (still empty) warning line gets its normal look later.
    warningTimer->start();
}

void ComplexRenameDialog::buildControls() {
    instructionLabel = new QLabel(renameTexts::instruction(), this);
    instructionLabel->setObjectName(u"instructionLabel"_s);
    instructionLabel->setGeometry(8, 6, 592, 18);
    QPalette instruction = instructionLabel->palette();
    instruction.setColor(QPalette::WindowText, Qt::blue);
    instructionLabel->setPalette(instruction);

    moveUpButton = new QPushButton(renameTexts::moveUp(), this);
    moveUpButton->setObjectName(u"moveUpButton"_s);
    moveUpButton->setGeometry(8, 60, 60, 26);
    moveUpButton->setToolTip(renameTexts::moveUpHint());
    moveDownButton = new QPushButton(renameTexts::moveDown(), this);
    moveDownButton->setObjectName(u"moveDownButton"_s);
    moveDownButton->setGeometry(8, 94, 60, 26);
    moveDownButton->setToolTip(renameTexts::moveDownHint());

    namePartsList = new QListWidget(this);
    namePartsList->setObjectName(u"namePartsList"_s);
    namePartsList->setGeometry(76, 30, 220, 164);
    for (std::size_t part = 0; part < renameTexts::partCount(); ++part) {
        auto* item = new QListWidgetItem(renameTexts::partCaption(part), namePartsList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    partDescription = new QPlainTextEdit(this);
    partDescription->setObjectName(u"partDescription"_s);
    partDescription->setGeometry(304, 30, 296, 92);
    partDescription->setReadOnly(true);

    customStringEdit = new QLineEdit(this);
    customStringEdit->setObjectName(u"customStringEdit"_s);
    customStringEdit->setGeometry(304, 132, 296, 24);

    wordListComboBox = new QComboBox(this);
    wordListComboBox->setObjectName(u"wordListComboBox"_s);
    wordListComboBox->setGeometry(304, 132, 296, 24);
    for (const QStringView entry : renameWordListEntries) {
        wordListComboBox->addItem(entry.toString());
    }
    // Styles that open the list like a menu show every entry, whatever the limit says.
    auto* listPopupStyle = new ListPopupStyle;
    listPopupStyle->setParent(wordListComboBox);
    wordListComboBox->setStyle(listPopupStyle);
    wordListComboBox->setMaxVisibleItems(10);

    whatAddedGroup = new RadioGroupBox(
        renameTexts::whatWillBeAdded(),
        {renameTexts::addDate(), renameTexts::addTime(), renameTexts::addDateAndTime()}, this);
    whatAddedGroup->setObjectName(u"whatAddedGroup"_s);
    whatAddedGroup->setGeometry(304, 128, 296, 90);

    separatorLabel = new QLabel(renameTexts::betweenComponents(), this);
    separatorLabel->setObjectName(u"separatorLabel"_s);
    separatorLabel->setGeometry(8, 200, 220, 18);
    separatorComboBox = new QComboBox(this);
    separatorComboBox->setObjectName(u"separatorComboBox"_s);
    separatorComboBox->setGeometry(8, 218, 220, 24);
    for (std::size_t separator = 0; separator < renameSeparators.size(); ++separator) {
        separatorComboBox->addItem(renameTexts::separatorCaption(separator));
    }

    longNamesRemarkLabel = new QLabel(renameTexts::longNamesRemark(), this);
    longNamesRemarkLabel->setObjectName(u"longNamesRemarkLabel"_s);
    longNamesRemarkLabel->setGeometry(240, 212, 360, 36);
    longNamesRemarkLabel->setWordWrap(true);

    whatFilesGroup = new RadioGroupBox(renameTexts::whatFiles(),
                                       {renameTexts::allFiles(), renameTexts::onlyChecked()}, this);
    whatFilesGroup->setObjectName(u"whatFilesGroup"_s);
    whatFilesGroup->setGeometry(8, 248, 220, 74);

    previewButton = new QPushButton(renameTexts::preview(), this);
    previewButton->setObjectName(u"previewButton"_s);
    previewButton->setGeometry(250, 276, 106, 28);
    startRenamingButton = new QPushButton(renameTexts::startRenaming(), this);
    startRenamingButton->setObjectName(u"startRenamingButton"_s);
    startRenamingButton->setGeometry(364, 276, 116, 28);
    cancelButton = new QPushButton(renameTexts::cancel(), this);
    cancelButton->setObjectName(u"cancelButton"_s);
    cancelButton->setGeometry(488, 276, 112, 28);

    warningLabel = new QLabel(this);
    warningLabel->setObjectName(u"warningLabel"_s);
    warningLabel->setGeometry(8, 326, 592, 18);
    warningLabel->setAutoFillBackground(true);

    warningTimer = new QTimer(this);
    warningTimer->setObjectName(u"warningTimer"_s);
    warningTimer->setSingleShot(true);
    warningTimer->setInterval(warningMs);
}

void ComplexRenameDialog::connectControls() {
    UiServices& ui = services_.ui;
    RenamingOptions& renaming = options_.renaming;

    connect(namePartsList, &QListWidget::currentRowChanged, this,
            guard(this, ui, [this] { showSelectedPart(); }));
    connect(namePartsList, &QListWidget::itemChanged, this,
            guard(this, ui, [this, &renaming](QListWidgetItem* item) {
                if (showingOptions_) {
                    return;
                }
                const int position = namePartsList->row(item);
                if (position >= 0 && at(position) < renaming.nameParts.size()) {
                    renaming.nameParts[at(position)] = item->checkState() == Qt::Checked;
                }
                showSelectedPart();
            }));
    connect(moveUpButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { moveSelectedUp(); }));
    connect(moveDownButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { moveSelectedDown(); }));
    connect(startRenamingButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { startRenaming(); }));
    connect(cancelButton, &QPushButton::clicked, this,
            guard(this, ui, [this] { cancelRenaming(); }));
    connect(previewButton, &QPushButton::clicked, this, guard(this, ui, [this] { showPreview(); }));
    connect(customStringEdit, &QLineEdit::textChanged, this,
            guard(this, ui, [this](const QString& text) { onCustomStringChanged(text); }));
    connect(warningTimer, &QTimer::timeout, this,
            guard(this, ui, [this] { restoreWarningLook(); }));

    connect(wordListComboBox, &QComboBox::currentIndexChanged, this, [this, &renaming](int index) {
        if (!showingOptions_) {
            renaming.wordListIndex = index;
        }
    });
    connect(separatorComboBox, &QComboBox::currentIndexChanged, this, [this, &renaming](int index) {
        if (!showingOptions_) {
            renaming.separatorIndex = index;
        }
    });
    connect(whatAddedGroup->buttons, &QButtonGroup::idToggled, this,
            [this, &renaming](int id, bool checked) {
                if (!showingOptions_ && checked) {
                    renaming.dateChoice = static_cast<DateTimeChoice>(id);
                }
            });
    connect(whatFilesGroup->buttons, &QButtonGroup::idToggled, this,
            [this, &renaming](int id, bool checked) {
                if (!showingOptions_ && checked) {
                    renaming.whatFiles = static_cast<WhatFiles>(id);
                }
            });
}

void ComplexRenameDialog::showOptions() {
    const RenamingOptions& renaming = options_.renaming;
    showingOptions_ = true;
    for (int position = 0; position < namePartsList->count(); ++position) {
        QListWidgetItem* item = namePartsList->item(position);
        item->setText(
            renameTexts::partCaption(static_cast<std::size_t>(renaming.partOrder[at(position)])));
        item->setCheckState(renaming.nameParts[at(position)] ? Qt::Checked : Qt::Unchecked);
    }
    customStringEdit->setText(renaming.yourString);
    wordListComboBox->setCurrentIndex(renaming.wordListIndex);
    separatorComboBox->setCurrentIndex(renaming.separatorIndex);
    whatAddedGroup->setItemIndex(static_cast<int>(renaming.dateChoice));
    whatFilesGroup->setItemIndex(static_cast<int>(renaming.whatFiles));
    showingOptions_ = false;
    if (namePartsList->currentRow() >= 0) {
        showItem(namePartsList->currentRow());
    }
}

void ComplexRenameDialog::onActivated() {
    showOptions();
    namePartsList->setCurrentRow(0);
    showItem(0);
}

void ComplexRenameDialog::showSelectedPart() {
    showItem(namePartsList->currentRow());
}

void ComplexRenameDialog::showItem(int position) {
    moveUpButton->setEnabled(position != 0);
    moveDownButton->setEnabled(position != namePartsList->count() - 1);
    QListWidgetItem* item = namePartsList->item(position);
    const std::optional<NamePart> part =
        item != nullptr ? partOfCaption(item->text()) : std::nullopt;
    const bool checked = item != nullptr && item->checkState() == Qt::Checked;
    partDescription->setPlainText(
        part ? renameTexts::partDescription(static_cast<std::size_t>(*part)) : QString());

    const bool string = part == NamePart::YourString;
    const bool wordList = part == NamePart::ChooseFromList;
    const bool dateTime = part == NamePart::DateAndTime;
    customStringEdit->setVisible(string);
    wordListComboBox->setVisible(wordList);
    whatAddedGroup->setVisible(dateTime);
    if (string) {
        customStringEdit->setEnabled(checked);
        if (checked) {
            customStringEdit->setFocus();
        }
    }
    if (wordList) {
        wordListComboBox->setEnabled(checked);
    }
    if (dateTime) {
        whatAddedGroup->setEnabled(checked);
    }
}

void ComplexRenameDialog::moveSelectedUp() {
    moveSelected(-1);
}

void ComplexRenameDialog::moveSelectedDown() {
    moveSelected(+1);
}

void ComplexRenameDialog::moveSelected(int step) {
    QListWidgetItem* selected = namePartsList->currentItem();
    if (selected == nullptr || !selected->isSelected()) {
        return;
    }
    const int from = namePartsList->row(selected);
    const int to = from + step;
    if (to < 0 || to >= namePartsList->count()) {
        return;
    }
    RenamingOptions& renaming = options_.renaming;
    std::swap(renaming.partOrder[at(from)], renaming.partOrder[at(to)]);
    std::swap(renaming.nameParts[at(from)], renaming.nameParts[at(to)]);
    showOptions();
    namePartsList->setCurrentRow(to);
    showItem(to);
}

void ComplexRenameDialog::onCustomStringChanged(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    int caret = customStringEdit->cursorPosition();
    const int typedCaret = caret;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (forbiddenCharacters.contains(text[i])) {
            if (i < typedCaret) {
                --caret;
            }
        } else {
            kept.append(text[i]);
        }
    }
    if (kept.size() != text.size()) {
        // Sets the text again, which comes back here and finds nothing more to take out.
        customStringEdit->setText(kept);
        customStringEdit->setCursorPosition(caret);
        showWarning();
        return;
    }
    if (!showingOptions_) {
        options_.renaming.yourString = text;
    }
}

void ComplexRenameDialog::showWarning() {
    warningLabel->setText(renameTexts::forbiddenCharactersWarning());
    QPalette warning = warningLabel->palette();
    warning.setColor(QPalette::WindowText, Qt::yellow);
    warning.setColor(QPalette::Window, Qt::red);
    warningLabel->setPalette(warning);
    warningTimer->start();
}

void ComplexRenameDialog::restoreWarningLook() {
    warningTimer->stop();
    QPalette normal = warningLabel->palette();
    normal.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    normal.setColor(QPalette::Window, palette().color(QPalette::Button));
    warningLabel->setPalette(normal);
    warningLabel->clear();
}

void ComplexRenameDialog::startRenaming() {
    const RenamingOptions& renaming = options_.renaming;
    if (std::none_of(renaming.nameParts.begin(), renaming.nameParts.end(),
                     [](bool checked) { return checked; })) {
        services_.ui.showMessage(this, noPartCheckedMessage());
        return;
    }
    Q_EMIT tableAboutToBeRead();
    RenameServices run{
        systemFileSystem(),
        renameJournalPath(settingsPath_),
        options_.general.errorMessages,
        [this](const QString& text) {
            return services_.ui.showFailureMessage(this, text) ? MessageReply::NoMoreMessages
                                                               : MessageReply::Continue;
        },
        [this](const QString& question) { return services_.ui.askYesNo(this, question); },
        &clock_};
    const RenameRunResult result = runComplexRename(table_, renaming, clock_, run);
    if (!result.notice.isEmpty()) {
        services_.ui.showMessage(this, result.notice);
    }
    if (!result.started) {
        return;
    }
    preview_->hide();
    hide();
    Q_EMIT mainWindowWanted();
}

void ComplexRenameDialog::cancelRenaming() {
    preview_->hide();
    Q_EMIT mainWindowWanted();
    hide();
}

void ComplexRenameDialog::showPreview() {
    Q_EMIT tableAboutToBeRead();
    preview_->showRows(previewComplexRename(table_, options_.renaming, clock_, systemFileSystem()));
}

} // namespace corvanteller
