// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_topics.h"

#include <gtest/gtest.h>

namespace corvanteller {
namespace {

using namespace Qt::StringLiterals;

const QString mainMenu = u"Main menu (general functions of the program)"_s;

TEST(HelpTopics, EachTopicAnswersAtOnceOrOffersExactlyItsQuestions) {
    struct Case {
        int topic;
        qsizetype questions;
        QString answerLabel;
        QString questionLine;
        QString answer;
    };
    const QString prompt = u"Specify the question in the list on the right"_s;
    const Case cases[] = {
        {0, 0, u"Answer:"_s, u"Question: About program?"_s,
         u"Corvanteller find and extract information from karaoke files (*.kar)"_s},
        {1, 0, u"Answer:"_s, u"Question: How it works?"_s,
         u"Program find and extrct information about singer, authors of words and music etc."_s},
        {2, 21, u"Specify the choice..."_s, u"Question: "_s + mainMenu + u"...."_s, prompt},
        {3, 2, u"Specify the choice..."_s, u"Question: Advises...."_s, prompt},
        {4, 3, u"Specify the choice..."_s, u"Question: Internet...."_s, prompt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topic);
        const std::optional<TopicPage> page = pageForTopic(c.topic);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->questions.size(), c.questions);
        EXPECT_EQ(page->page.answerLabel, c.answerLabel);
        EXPECT_EQ(page->page.questionLine, c.questionLine);
        EXPECT_EQ(page->page.answerText, c.answer);
        EXPECT_EQ(page->page.answerIsPrompt, c.questions > 0);
    }
    const HelpPage question = *pageForQuestion(2, 1);
    EXPECT_EQ(question.answerLabel, u"Answer:"_s);
    EXPECT_EQ(question.questionLine,
              u"Question: Main menu (general functions of the program) > File > New scanning..."_s);
    EXPECT_EQ(question.answerText, u"The new scanning of kar-files begins."_s);
    EXPECT_FALSE(question.answerIsPrompt);
    EXPECT_EQ(pageForQuestion(4, 2)->questionLine, u"Question: Internet > Karaoke files"_s);
}

TEST(HelpTopics, NothingIsLookedUpForATopicOrQuestionThatDoesNotExist) {
    EXPECT_FALSE(pageForTopic(-1));
    EXPECT_FALSE(pageForTopic(6));
    const std::pair<int, int> missing[] = {{0, 0}, {1, 0}, {2, -1}, {2, 21},
                                           {3, 2}, {4, 3}, {5, 8},  {-1, 0}};
    for (const auto& [topic, question] : missing) {
        EXPECT_FALSE(pageForQuestion(topic, question)) << topic << " " << question;
    }
}

TEST(HelpTopics, TheOfficeNoteFollowsTheWordAndExcelAnswersAfterALineBreak) {
    const std::vector<HelpQuestion>& questions = helpTopics()[2].questions;
    for (std::size_t q = 0; q < questions.size(); ++q) {
        const bool aboutOffice = q == 7 || q == 8 || q == 9 || q == 11;
        EXPECT_EQ(questions[q].answer.endsWith(u'\n' + officeNote()), aboutOffice) << q;
    }
    EXPECT_EQ(questions[11].answer, u"The table exports to Ms Word\n"_s + officeNote());
}

TEST(HelpTopics, LongAnswersKeepTheirOpeningAndClosingWordsAndParagraphs) {
    struct Case {
        int topic;
        int question;
        qsizetype paragraphs;
        QString opening;
        QString closing;
    };
    const Case cases[] = {
        {2, 13, 5,
         u"Here you can execute complex renaming. In a name of a file you can add any information "
         u"(choose from the list). Also you can set various symbols between different parts of a "
         u"name of a file (dropping out list bellow)"_s,
         u"If length will be more, any error will not arise, but the symbols after 255-th will be "
         u"rejected. "_s},
        {2, 14, 4,
         u" Here you can define parameter of scanning. If you want to process large (> 8000) "
         u"amount of files check this tag."_s,
         u"Attention: after performance of the given team  The previous table (if it was already "
         u"open) will be closed!! "_s},
        {2, 15, 4, u" Here you can adjust work of program."_s,
         u" Error messages: if you view error message or not. "_s},
        {2, 16, 2,
         u" Here it is possible to adjust parameters of export of the table in Ms Excel."_s,
         u"your string (type it in the field of input)."_s},
        {3, 0, 2,
         u" At scanning follow this rulles: very many files at once do not process (it is better "
         u"separate them on some smaller groups);"_s,
         u"You should know: the program processes only files *.kar. "_s},
        {3, 1, 2, u"Don't drop, don't shake, don't overcool this program!"_s, u"Good luck!! "_s},
    };
    for (const Case& c : cases) {
        const QString& answer = helpTopics()[c.topic].questions[c.question].answer;
        EXPECT_TRUE(answer.startsWith(c.opening)) << c.topic << " " << c.question;
        EXPECT_TRUE(answer.endsWith(c.closing)) << c.topic << " " << c.question;
        EXPECT_EQ(answer.split(u'\n').size(), c.paragraphs) << c.topic << " " << c.question;
    }
}

} // namespace
} // namespace corvanteller
