// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_topics.h"

#include <QCoreApplication>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

QString withOfficeNote(const QString& answer) {
    return answer + u'\n' + officeNote();
}

std::vector<HelpQuestion> mainMenuQuestions() {
    return {
        {QCoreApplication::translate("Help", "About this help"),
         QCoreApplication::translate(
             "Help", "At begin the names of items of the main menu, then submenu etc")},
        {QCoreApplication::translate("Help", "File > New scanning..."),
         QCoreApplication::translate("Help", "The new scanning of kar-files begins.")},
        {QCoreApplication::translate("Help", "File > Open list file..."),
         QCoreApplication::translate("Help", "Open file (*.sgl)")},
        {QCoreApplication::translate("Help", "File > Open as text..."),
         QCoreApplication::translate("Help", "Open text file")},
        {QCoreApplication::translate("Help", "File > Save list"),
         QCoreApplication::translate("Help", "The table saves (*.sgl)")},
        {QCoreApplication::translate("Help", "File > Save list as..."),
         QCoreApplication::translate("Help", "No comments :)")},
        {QCoreApplication::translate("Help", "File > Save as text..."),
         QCoreApplication::translate("Help", "Save as text (*.txt)")},
        {QCoreApplication::translate("Help", "File > Save as Ms Word document..."),
         withOfficeNote(QCoreApplication::translate(
             "Help", "The list will be saved as Ms Word document  (here can be a pause on 10-15 "
                     "of seconds, during which Word is loading)"))},
        {QCoreApplication::translate("Help", "File > Print from Ms Word..."),
         withOfficeNote(QCoreApplication::translate(
             "Help", "The table exports to Ms Word and print (here can be a pause on 10-15 of "
                     "seconds, during which Word is loading)"))},
        {QCoreApplication::translate("Help", "File > Export > MS Excel"),
         withOfficeNote(QCoreApplication::translate(
             "Help",
             "The table exports to Ms Excel (here can be a pause on 10-15 of seconds, during "
             "which Excel is loading. If the pause appears very long, you can speed up work of "
             "the program, if in  Settings of export to Excel you switch off work with colour). "
             "Settings of export you can set in the main menu Settings > General settings, "
             "bookmark Export to Excel."))},
        {QCoreApplication::translate("Help", "File > Export > Text"),
         QCoreApplication::translate("Help", "The table to text")},
        {QCoreApplication::translate("Help", "File > Export > Ms Word"),
         withOfficeNote(QCoreApplication::translate("Help", "The table exports to Ms Word"))},
        {QCoreApplication::translate("Help", "File > Rename files > From column of name (file)"),
         QCoreApplication::translate(
             "Help",
             "Files, which names you have changed in a column \"Name of file\", will be renamed  "
             "(irrespective of, checked this file or not). Watch an admissibility of names of "
             "files "
             "(else message about error will appear and the file won't be renamed).")},
        {QCoreApplication::translate("Help", "File > Rename files > Complex renaming..."),
         QCoreApplication::translate(
             "Help",
             "Here you can execute complex renaming. In a name of a file you can add any "
             "information (choose from the list). Also you can set various symbols between "
             "different parts of a name of a file (dropping out list bellow). To add a part to a "
             "name of a file check it in the list; to change the order of parts use the buttons Up "
             "and Down on the left (the part, which is above in the list, will stand in a name the "
             "first).\n"
             "Except for the information from the file you can add in a name your own record (type "
             "it in the field of input), a phrase from the list or the current date and/or time. "
             "They are added to a name the same as other parts, in that order which you have set.\n"
             "Attention: each new name of a file must contain at least one symbol. If some cells "
             "of "
             "the table are empty and the name is made only from one column, the new name will "
             "turn "
             "out empty and such file won't be renamed (message about error will appear). Add to a "
             "name some more parts or fill empty cells before renaming.\n"
             "Watch, that names of files did not repeat: two files in one folder can not have the "
             "same name, therefore the second file won't be renamed. It is better to add in a name "
             "two or three columns.\n"
             "The length of a name of a file (together with expansion) should not exceed 255 "
             "symbols. If length will be more, any error will not arise, but the symbols after "
             "255-th will be rejected. ")},
        {QCoreApplication::translate("Help", "Settings > Parameters of scanning"),
         QCoreApplication::translate(
             "Help",
             " Here you can define parameter of scanning. If you want to process large (> 8000) "
             "amount of files check this tag.\n"
             "Check of this tag will increase an operating time of the program (sometimes several "
             "times), and at very large amount of files can cause an error. To beginning users it "
             "is not recommended to use this option.\n"
             "It is better to scan files by smaller groups (for example, folder by folder), so the "
             "work will go faster and more reliably. Also do not choose folders with very many "
             "nested (also empty) folders: the program looks through each of them, and it takes a "
             "lot of time.\n"
             "Attention: after performance of the given team  The previous table (if it was "
             "already "
             "open) will be closed!! ")},
        {QCoreApplication::translate("Help", "Settings > General settings (without Excel)"),
         QCoreApplication::translate(
             "Help",
             " Here you can adjust work of program.\n"
             " Width column of the table: fixed - width by default;  user setting - width of each "
             "column will be remembered (such as you it will make); on the widest row in each "
             "column - width on the widest row in each column.\n"
             " Text format: a conclusion of the additional information in a text format (choice "
             "from the list and / or date and time).\n"
             " Error messages: if you view error message or not. ")},
        {QCoreApplication::translate("Help", "Settings > General settings (Excel)"),
         QCoreApplication::translate(
             "Help",
             " Here it is possible to adjust parameters of export of the table in Ms Excel.\n"
             "You can choose: to export numbers of rows or not, to write the text in italics, to "
             "draw borders of cells, and also to add below the table the additional information: "
             "date and/or time, list # 1 and/or # 2, your string (type it in the field of "
             "input).")},
        {QCoreApplication::translate("Help", "Table > Add row"),
         QCoreApplication::translate(
             "Help", "On a place of the cursor will be added one more row.\n"
                     "Will be attentive at renaming files with empty row or separate cells!!! ")},
        {QCoreApplication::translate("Help", "Table > Export to text"),
         QCoreApplication::translate("Help", "Export to text ")},
        {QCoreApplication::translate("Help", "Help > About"),
         QCoreApplication::translate(
             "Help",
             "Information about program (Description, its version etc), and also to look prompt.")},
        {QCoreApplication::translate("Help", "Help > Corvanteller Help"),
         QCoreApplication::translate("Help", "You look it now!! :-)")},
    };
}

std::vector<HelpQuestion> advisesQuestions() {
    return {
        {QCoreApplication::translate("Help", "Scanning advises..."),
         QCoreApplication::translate(
             "Help",
             " At scanning follow this rulles: very many files at once do not process (it is "
             "better separate them on some smaller groups); do not choose folders in which there "
             "are many nested folders (the program looks through each of them, even empty, and it "
             "takes time). It is better to collect all karaoke files in one special folder (it is "
             "possible with subfolders) and to scan it.\n"
             "You should know: the program processes only files *.kar. ")},
        {QCoreApplication::translate("Help", "General"),
         QCoreApplication::translate(
             "Help",
             "Don't drop, don't shake, don't overcool this program! Wipe it only with soft dry "
             "fabric, and it will serve you long :)\n"
             "And seriously: if you will follow the recommendations stated above, the program will "
             "work well. Good luck!! ")},
    };
}

// The addresses are reserved example names: shown as plain lines, never opened.
std::vector<HelpQuestion> internetQuestions() {
    return {
        {QCoreApplication::translate("Help", "Site of Corvanteller"),
         QCoreApplication::translate(
             "Help",
             "Site of the program: www.corvanteller.example (alternative site: "
             "corvanteller.example.org)\n"
             "Here you can find new versions of the program, and also the same version of the "
             "program, configurated under another Office. ")},
        {QCoreApplication::translate("Help", "New versions"),
         QCoreApplication::translate(
             "Help", "www.corvanteller.example or corvanteller.example.org. Download here!")},
        {QCoreApplication::translate("Help", "Karaoke files"),
         QCoreApplication::translate(
             "Help", "Karaoke files you can download on www.karaoke-files.example (mirror: "
                     "mirror.karaoke-files.example)\n"
                     "Also You can download karaoke files from any musical site.. ")},
    };
}

const HelpTopic* topicAt(int topic) {
    const std::vector<HelpTopic>& topics = helpTopics();
    if (topic < 0 || static_cast<std::size_t>(topic) >= topics.size()) {
        return nullptr;
    }
    return &topics[static_cast<std::size_t>(topic)];
}

QString questionLine(const HelpTopic& topic) {
    return QCoreApplication::translate("Help", "Question: %1").arg(topic.title);
}

// What the program does beyond the commands the other topics describe.
std::vector<HelpQuestion> moreQuestions() {
    return {
        {QCoreApplication::translate("Help", "Table > Find..."),
         QCoreApplication::translate(
             "Help",
             "Finds a text in the table (Ctrl+F). Type it in the bar under the table: the first "
             "cell "
             "that holds it becomes the current one. Return or F3 finds the next cell, Shift+F3 "
             "the "
             "one before; case does not count. The text view has the same bar in its Edit menu.")},
        {QCoreApplication::translate("Help", "Sort, filter and undo in the table"),
         QCoreApplication::translate(
             "Help",
             "A click on a column's header sorts the table by it, a second click the other way "
             "round (also Table > Sort by). Table > Filter... (Ctrl+L) shows only the rows that "
             "hold a text; \"Mark shown\" checks them. Mark duplicates and Mark identical files "
             "check the later rows of each group. Table > Undo and Redo (Ctrl+Z, Ctrl+Y) take "
             "back every change of the table's contents until the next scan, list, import, "
             "renaming or writing of texts.")},
        {QCoreApplication::translate("Help", "Write texts into files"),
         QCoreApplication::translate(
             "Help",
             "Table > Write texts into files... writes the four texts of every row that differs "
             "from its file into the karaoke file, after a preview; the reader is asked to read "
             "the new file before it replaces the old one. Table > Undo last text writing puts "
             "the old files back byte for byte.")},
        {QCoreApplication::translate("Help", "Stop during a scan"),
         QCoreApplication::translate(
             "Help",
             "While a scan runs, the Stop button beside its progress bar, or Escape, ends it. The "
             "files read so far stay in the table.")},
        {QCoreApplication::translate("Help", "File > Print to PDF..."),
         QCoreApplication::translate(
             "Help",
             "Writes the table's text as a PDF file where you say, as \"Print from Ms Word\" would "
             "print it. The text view's \"Print to PDF...\" does the same with its text; a "
             "computer "
             "without a printer can print this way.")},
        {QCoreApplication::translate("Help", "File > Rename files > Undo last renaming"),
         QCoreApplication::translate(
             "Help",
             "Puts the files of the last renaming back under their old names, after a question. "
             "Every renaming is written in a journal as it happens, so that an undo works also "
             "after the program was closed or the computer stopped. A file that is not where the "
             "renaming left it is named in a message and can be put back by a later undo. The "
             "journal keeps the last 100 renamings.")},
        {QCoreApplication::translate("Help", "The command-line program"),
         QCoreApplication::translate(
             "Help",
             "corvanteller-cli scans a folder, reads karaoke files, exports a table (a list, a "
             "workbook, a Word document or text) and imports a workbook without any window, for "
             "scripts. \"corvanteller-cli --help\" and \"man corvanteller-cli\" tell how. "
             "\"corvanteller LIST.sgl\" opens a list and \"corvanteller FOLDER\" scans a folder "
             "in the program itself.")},
        {QCoreApplication::translate("Help", "Where the settings and the journal are"),
         QCoreApplication::translate(
             "Help",
             "The settings are in ~/.config/Corvanteller/ (prop.dat and Corvanteller.conf), and "
             "the "
             "renaming journal beside them (rename-journal.txt). Workbooks and documents handed to "
             "other programs are kept in ~/.local/share/Corvanteller/handover/.")},
    };
}

} // namespace

QString officeNote() {
    return QCoreApplication::translate(
        "Help",
        "(It is necessary, that on your computer was installed Ms Office of the appropriate "
        "version. The version, under which was configurated program you can look in the main "
        "menu Help > About)");
}

const std::vector<HelpTopic>& helpTopics() {
    static const std::vector<HelpTopic> topics = {
        {QCoreApplication::translate("Help", "About program?"),
         QCoreApplication::translate(
             "Help", "Corvanteller find and extract information from karaoke files (*.kar)"),
         {}},
        {QCoreApplication::translate("Help", "How it works?"),
         QCoreApplication::translate(
             "Help",
             "Program find and extrct information about singer, authors of words and music etc."),
         {}},
        {QCoreApplication::translate("Help", "Main menu (general functions of the program)"),
         {},
         mainMenuQuestions()},
        {QCoreApplication::translate("Help", "Advises"), {}, advisesQuestions()},
        {QCoreApplication::translate("Help", "Internet"), {}, internetQuestions()},
        {QCoreApplication::translate("Help", "What else Corvanteller can do"), {}, moreQuestions()},
    };
    return topics;
}

std::optional<TopicPage> pageForTopic(int topic) {
    const HelpTopic* picked = topicAt(topic);
    if (picked == nullptr) {
        return std::nullopt;
    }
    TopicPage result;
    if (picked->answersDirectly()) {
        result.page = {QCoreApplication::translate("Help", "Answer:"), questionLine(*picked),
                       picked->answer, false};
        return result;
    }
    result.page = {
        QCoreApplication::translate("Help", "Specify the choice..."),
        questionLine(*picked) + u"...."_s,
        QCoreApplication::translate("Help", "Specify the question in the list on the right"), true};
    for (const HelpQuestion& question : picked->questions) {
        result.questions.append(question.question);
    }
    return result;
}

std::optional<HelpPage> pageForQuestion(int topic, int question) {
    const HelpTopic* picked = topicAt(topic);
    if (picked == nullptr || question < 0 ||
        static_cast<std::size_t>(question) >= picked->questions.size()) {
        return std::nullopt;
    }
    const HelpQuestion& chosen = picked->questions[static_cast<std::size_t>(question)];
    return HelpPage{QCoreApplication::translate("Help", "Answer:"),
                    questionLine(*picked) + u" > "_s + chosen.question, chosen.answer, false};
}

} // namespace corvanteller
