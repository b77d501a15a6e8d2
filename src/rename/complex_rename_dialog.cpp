#include "rename/complex_rename_dialog.h"

#include "rename/rename_journal.h"
#include "rename/rename_preview_window.h"
#include "rename/rename_runs.h"
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

// The description of each name part, indexed by NamePart.
const std::array<QString, 8> partDescriptions = {
    u"To the new name of a file will be added it present name"_s,
    u"Contents of the third column of your table will be added to the new name of a file  (for "
    u"each file). Name of a composition and / or a name of the executor usually exist there"_s,
    u"Contents of the fourth column of your table will be added to the new name of a file  (for "
    u"each file). Usually, but not always, here there is a surname and name of the author of "
    u"words songs."_s,
    u"Contents of the fifth column of your table will be added to the new name of a file  (for "
    u"each file). Usually, but not always, here there is a surname and name of the author of "
    u"music songs here."_s,
    u"Contents of the sixth column of your table will be added to the new name of a file  (for "
    u"each file). Usually here there is a name of the program, with which help the given file "
    u"was created.  Also any advertising information (site, e-mail etc.) can exist here. "_s,
    u"The string  which you enter below will be added to names of all new files. "_s,
    u"Item which you choose from the list will be added to names of all new files "_s,
    u"The date and / or time  will be added to names of all new files"_s,
};

// Parts are told apart by their captions, whatever place they stand in.
std::optional<NamePart> partOfCaption(const QString& caption) {
    for (std::size_t i = 0; i < renameNamePartCaptions.size(); ++i) {
        if (renameNamePartCaptions[i] == caption) {
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

TForm6::TForm6(const WindowServices& services, Options& options, TableSession& table,
               const Clock& clock, const QString& settingsPath, QWidget* parent)
    : ProgramDialog(services, parent), options_(options), table_(table), clock_(clock),
      settingsPath_(settingsPath) {
    setWindowTitle(u"Complex rename of files from your table"_s);
    setFixedSize(clientWidth, clientHeight);
    buildControls();
    connectControls();
    showOptions();
    preview_ = new RenamePreviewWindow(this);
    // As when the dialog is made: the (still empty) warning line gets its normal look later.
    Timer1->start();
}

void TForm6::buildControls() {
    Label1 = new QLabel(
        u"Choose parts of new names of your files will consist and in what order they will follow"_s,
        this);
    Label1->setGeometry(8, 6, 592, 18);
    QPalette instruction = Label1->palette();
    instruction.setColor(QPalette::WindowText, Qt::blue);
    Label1->setPalette(instruction);

    Button1 = new QPushButton(u"Up"_s, this);
    Button1->setGeometry(8, 60, 60, 26);
    Button1->setToolTip(u"Переместить строку на один пункт вверх"_s);
    Button2 = new QPushButton(u"Down"_s, this);
    Button2->setGeometry(8, 94, 60, 26);
    Button2->setToolTip(u"Переместить строку на один пункт вниз"_s);

    viberi = new QListWidget(this);
    viberi->setGeometry(76, 30, 220, 164);
    for (const QStringView caption : renameNamePartCaptions) {
        auto* item = new QListWidgetItem(caption.toString(), viberi);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(304, 30, 296, 92);
    Memo1->setReadOnly(true);

    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(304, 132, 296, 24);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setGeometry(304, 132, 296, 24);
    for (const QStringView entry : renameWordListEntries) {
        ComboBox1->addItem(entry.toString());
    }
    // Styles that open the list like a menu show every entry, whatever the limit says.
    auto* listPopupStyle = new ListPopupStyle;
    listPopupStyle->setParent(ComboBox1);
    ComboBox1->setStyle(listPopupStyle);
    ComboBox1->setMaxVisibleItems(10);

    RadioGroup1 = new RadioGroupBox(u"What will be added"_s,
                                    {u"Date"_s, u"Time"_s, u"Date and time"_s}, this);
    RadioGroup1->setGeometry(304, 128, 296, 90);

    Label2 = new QLabel(u"Between components of name"_s, this);
    Label2->setGeometry(8, 200, 220, 18);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setGeometry(8, 218, 220, 24);
    for (const SeparatorEntry& entry : renameSeparatorEntries) {
        ComboBox2->addItem(entry.caption.toString());
    }

    Label3 = new QLabel(u"The remark: if the name of file in a result will turn out more than 255 "
                        u"symbols, all superfluous symbols will be rejected. "_s,
                        this);
    Label3->setGeometry(240, 212, 360, 36);
    Label3->setWordWrap(true);

    RadioGroup2 = new RadioGroupBox(u"What files"_s, {u"All"_s, u"Only checked"_s}, this);
    RadioGroup2->setGeometry(8, 248, 220, 74);

    Button5 = new QPushButton(u"Preview"_s, this);
    Button5->setGeometry(250, 276, 106, 28);
    Button3 = new QPushButton(u"Start renaming"_s, this);
    Button3->setGeometry(364, 276, 116, 28);
    Button4 = new QPushButton(u"Cancel"_s, this);
    Button4->setGeometry(488, 276, 112, 28);

    Label4 = new QLabel(this);
    Label4->setGeometry(8, 326, 592, 18);
    Label4->setAutoFillBackground(true);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(warningMs);
}

void TForm6::connectControls() {
    UiServices& ui = services_.ui;
    RenamingOptions& renaming = options_.renaming;

    connect(viberi, &QListWidget::currentRowChanged, this,
            guard(this, ui, [this] { viberiClick(); }));
    connect(viberi, &QListWidget::itemChanged, this,
            guard(this, ui, [this, &renaming](QListWidgetItem* item) {
                if (showingOptions_) {
                    return;
                }
                const int position = viberi->row(item);
                if (position >= 0 && at(position) < renaming.nameParts.size()) {
                    renaming.nameParts[at(position)] = item->checkState() == Qt::Checked;
                }
                viberiClick();
            }));
    connect(Button1, &QPushButton::clicked, this, guard(this, ui, [this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guard(this, ui, [this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guard(this, ui, [this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, guard(this, ui, [this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, guard(this, ui, [this] { Button5Click(); }));
    connect(Edit1, &QLineEdit::textChanged, this,
            guard(this, ui, [this](const QString& text) { Edit1Change(text); }));
    connect(Timer1, &QTimer::timeout, this, guard(this, ui, [this] { Timer1Timer(); }));

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this, &renaming](int index) {
        if (!showingOptions_) {
            renaming.wordListIndex = index;
        }
    });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this, [this, &renaming](int index) {
        if (!showingOptions_) {
            renaming.separatorIndex = index;
        }
    });
    connect(RadioGroup1->buttons, &QButtonGroup::idToggled, this,
            [this, &renaming](int id, bool checked) {
                if (!showingOptions_ && checked) {
                    renaming.dateChoice = static_cast<DateTimeChoice>(id);
                }
            });
    connect(RadioGroup2->buttons, &QButtonGroup::idToggled, this,
            [this, &renaming](int id, bool checked) {
                if (!showingOptions_ && checked) {
                    renaming.whatFiles = static_cast<WhatFiles>(id);
                }
            });
}

void TForm6::showOptions() {
    const RenamingOptions& renaming = options_.renaming;
    showingOptions_ = true;
    for (int position = 0; position < viberi->count(); ++position) {
        QListWidgetItem* item = viberi->item(position);
        item->setText(
            renameNamePartCaptions[static_cast<std::size_t>(renaming.partOrder[at(position)])]
                .toString());
        item->setCheckState(renaming.nameParts[at(position)] ? Qt::Checked : Qt::Unchecked);
    }
    Edit1->setText(renaming.yourString);
    ComboBox1->setCurrentIndex(renaming.wordListIndex);
    ComboBox2->setCurrentIndex(renaming.separatorIndex);
    RadioGroup1->setItemIndex(static_cast<int>(renaming.dateChoice));
    RadioGroup2->setItemIndex(static_cast<int>(renaming.whatFiles));
    showingOptions_ = false;
    if (viberi->currentRow() >= 0) {
        showItem(viberi->currentRow());
    }
}

void TForm6::FormActivate() {
    showOptions();
    viberi->setCurrentRow(0);
    showItem(0);
}

void TForm6::viberiClick() {
    showItem(viberi->currentRow());
}

void TForm6::showItem(int position) {
    Button1->setEnabled(position != 0);
    Button2->setEnabled(position != viberi->count() - 1);
    QListWidgetItem* item = viberi->item(position);
    const std::optional<NamePart> part =
        item != nullptr ? partOfCaption(item->text()) : std::nullopt;
    const bool checked = item != nullptr && item->checkState() == Qt::Checked;
    Memo1->setPlainText(part ? partDescriptions[static_cast<std::size_t>(*part)] : QString());

    const bool string = part == NamePart::YourString;
    const bool wordList = part == NamePart::ChooseFromList;
    const bool dateTime = part == NamePart::DateAndTime;
    Edit1->setVisible(string);
    ComboBox1->setVisible(wordList);
    RadioGroup1->setVisible(dateTime);
    if (string) {
        Edit1->setEnabled(checked);
        if (checked) {
            Edit1->setFocus();
        }
    }
    if (wordList) {
        ComboBox1->setEnabled(checked);
    }
    if (dateTime) {
        RadioGroup1->setEnabled(checked);
    }
}

void TForm6::Button1Click() {
    moveSelected(-1);
}

void TForm6::Button2Click() {
    moveSelected(+1);
}

void TForm6::moveSelected(int step) {
    QListWidgetItem* selected = viberi->currentItem();
    if (selected == nullptr || !selected->isSelected()) {
        return;
    }
    const int from = viberi->row(selected);
    const int to = from + step;
    if (to < 0 || to >= viberi->count()) {
        return;
    }
    RenamingOptions& renaming = options_.renaming;
    std::swap(renaming.partOrder[at(from)], renaming.partOrder[at(to)]);
    std::swap(renaming.nameParts[at(from)], renaming.nameParts[at(to)]);
    showOptions();
    viberi->setCurrentRow(to);
    showItem(to);
}

void TForm6::Edit1Change(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    int caret = Edit1->cursorPosition();
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
        Edit1->setText(kept);
        Edit1->setCursorPosition(caret);
        showWarning();
        return;
    }
    if (!showingOptions_) {
        options_.renaming.yourString = text;
    }
}

void TForm6::showWarning() {
    Label4->setText(u"Characters \\/:*?\"<>| aren't be able to enter name of catalogy!"_s);
    QPalette warning = Label4->palette();
    warning.setColor(QPalette::WindowText, Qt::yellow);
    warning.setColor(QPalette::Window, Qt::red);
    Label4->setPalette(warning);
    Timer1->start();
}

void TForm6::Timer1Timer() {
    Timer1->stop();
    QPalette normal = Label4->palette();
    normal.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    normal.setColor(QPalette::Window, palette().color(QPalette::Button));
    Label4->setPalette(normal);
    Label4->clear();
}

void TForm6::Button3Click() {
    const RenamingOptions& renaming = options_.renaming;
    if (std::none_of(renaming.nameParts.begin(), renaming.nameParts.end(),
                     [](bool checked) { return checked; })) {
        services_.ui.showMessage(this, noPartCheckedMessage());
        return;
    }
    Q_EMIT tableAboutToBeRead();
    RenameServices run{systemFileSystem(),
                       renameJournalPath(settingsPath_),
                       options_.general.errorMessages,
                       [this](const QString& text) {
                           return services_.ui.showFailureMessage(this, text)
                                      ? MessageReply::NoMoreMessages
                                      : MessageReply::Continue;
                       },
                       {},
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

void TForm6::Button4Click() {
    preview_->hide();
    Q_EMIT mainWindowWanted();
    hide();
}

void TForm6::Button5Click() {
    Q_EMIT tableAboutToBeRead();
    preview_->showRows(previewComplexRename(table_, options_.renaming, clock_, systemFileSystem()));
}

} // namespace corvanteller
