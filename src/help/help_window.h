#pragma once

#include "ui/program_dialog.h"

class QColor;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace corvanteller {

class LongItemHints;

// The Help window ("Help"): topics on the left; a topic answers at once or offers its
// questions on the right. Created once; it keeps its topic, questions and answer while hidden.
class THelp : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 536;
    static constexpr int clientHeight = 479;

    // Always shown centred over centreOver (the start window), whoever opens it.
    THelp(const WindowServices& services, QWidget* centreOver);

    QLabel* Label1 = nullptr;        // "Choose theme:"
    QListWidget* ListBox1 = nullptr; // the topics
    QLabel* Label2 = nullptr;        // "Specify the choice:"
    QListWidget* ListBox2 = nullptr; // the questions of the topic
    QLabel* Label3 = nullptr;        // the question line
    QLabel* Label4 = nullptr;        // "Answer:" / "Specify the choice..."
    QPlainTextEdit* Memo1 = nullptr; // the answer
    QPushButton* Button1 = nullptr;  // "OK"
    LongItemHints* topicHints = nullptr;
    LongItemHints* questionHints = nullptr;

    // The menus' "Corvanteller help": shows the window in its last state; a shown window only
    // comes forward.
    void showHelp();

    void FormActivate() override;
    void ListBox1Click();
    void ListBox2Click();
    void Button1Click();

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void showAnswer(const QString& text, const QColor& colour);
    void notePause();
    void putPauseBack();

    QWidget* centreOver_;
    int shownTopic_ = -1; // the topic whose questions the question list holds
    bool pauseNoted_ = false;
    int notedPause_ = -1;
};

} // namespace corvanteller
