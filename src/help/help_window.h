// SPDX-License-Identifier: GPL-3.0-or-later
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
class HelpWindow : public ProgramDialog {
    Q_OBJECT

public:
    static constexpr int clientWidth = 536;
    static constexpr int clientHeight = 479;

    // Always shown centred over centreOver (the start window), whoever opens it.
    HelpWindow(const WindowServices& services, QWidget* centreOver);

    // The menus' "Corvanteller help": shows the window in its last state; a shown window only
    // comes forward.
    void showHelp();

    void onActivated() override;
    void showTopicQuestions();
    void showQuestionAnswer();
    void hideHelp();

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    void showAnswer(const QString& text, const QColor& colour);
    void notePause();
    void putPauseBack();

    QLabel* chooseTopicLabel = nullptr;    // "Choose theme:"
    QListWidget* topicList = nullptr;      // the topics
    QLabel* chooseQuestionLabel = nullptr; // "Specify the choice:"
    QListWidget* questionList = nullptr;   // the questions of the topic
    QLabel* questionLabel = nullptr;       // the question line
    QLabel* answerCaptionLabel = nullptr;  // "Answer:" / "Specify the choice..."
    QPlainTextEdit* answerText = nullptr;  // the answer
    QPushButton* okButton = nullptr;       // "OK"
    LongItemHints* topicHints = nullptr;
    LongItemHints* questionHints = nullptr;

    QWidget* centreOver_;
    int shownTopic_ = -1; // the topic whose questions the question list holds
    bool pauseNoted_ = false;
    int notedPause_ = -1;
};

} // namespace corvanteller
