// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace corvanteller {

struct HelpQuestion {
    QString question;
    QString answer;
};

// One topic of the Help window: answered at once, or through its questions.
struct HelpTopic {
    QString title;
    QString answer; // only for a topic without questions
    std::vector<HelpQuestion> questions;

    bool answersDirectly() const { return questions.empty(); }
};

// The Help window's topics in the order of its topic list; fixed texts, there is no help file.
const std::vector<HelpTopic>& helpTopics();

// Appended after a line break to the answers about the commands that drive Word and Excel.
QString officeNote();

// What the Help window shows after a pick.
struct HelpPage {
    QString answerLabel;  // "Answer:", or "Specify the choice..." while a question is expected
    QString questionLine; // "Question: " and what was picked
    QString answerText;
    bool answerIsPrompt = false; // the prompt to pick a question rather than an answer
};

// A topic picked: its page, and the questions that fill the question list (none for a topic
// that answers at once, whose question list is hidden).
struct TopicPage {
    HelpPage page;
    QStringList questions;
};

// Nothing for a topic or question that does not exist.
std::optional<TopicPage> pageForTopic(int topic);
std::optional<HelpPage> pageForQuestion(int topic, int question);

} // namespace corvanteller
