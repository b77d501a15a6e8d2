#include "help/help_topics.h"

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

QString withOfficeNote(const QString& answer) {
    return answer + u'\n' + officeNote();
}

std::vector<HelpQuestion> mainMenuQuestions() {
    return {
        {u"About this help"_s, u"At begin the names of items of the main menu, then submenu etc"_s},
        {u"File > New scanning..."_s, u"The new scanning of kar-files begins."_s},
        {u"File > Open list file..."_s, u"Open file (*.sgl)"_s},
        {u"File > Open as text..."_s, u"Open text file"_s},
        {u"File > Save list"_s, u"The table saves (*.sgl)"_s},
        {u"File > Save list as..."_s, u"No comments :)"_s},
        {u"File > Save as text..."_s, u"Save as text (*.txt)"_s},
        {u"File > Save as Ms Word document..."_s,
         withOfficeNote(
             u"The list will be saved as Ms Word document  (here can be a pause on 10-15 "
             u"of seconds, during which Word is loading)"_s)},
        {u"File > Print from Ms Word..."_s,
         withOfficeNote(u"The table exports to Ms Word and print (here can be a pause on 10-15 of "
                        u"seconds, during which Word is loading)"_s)},
        {u"File > Export > MS Excel"_s,
         withOfficeNote(
             u"The table exports to Ms Excel (here can be a pause on 10-15 of seconds, during "
             u"which Excel is loading. If the pause appears very long, you can speed up work of "
             u"the program, if in  Settings of export to Excel you switch off work with colour). "
             u"Settings of export you can set in the main menu Settings > General settings, "
             u"bookmark Export to Excel."_s)},
        {u"File > Export > Text"_s, u"The table to text"_s},
        {u"File > Export > Ms Word"_s, withOfficeNote(u"The table exports to Ms Word"_s)},
        {u"File > Rename files > From column of name (file)"_s,
         u"Files, which names you have changed in a column \"Name of file\", will be renamed  "
         u"(irrespective of, checked this file or not). Watch an admissibility of names of files "
         u"(else message about error will appear and the file won't be renamed)."_s},
        {u"File > Rename files > Complex renaming..."_s,
         u"Here you can execute complex renaming. In a name of a file you can add any "
         u"information (choose from the list). Also you can set various symbols between "
         u"different parts of a name of a file (dropping out list bellow). To add a part to a "
         u"name of a file check it in the list; to change the order of parts use the buttons Up "
         u"and Down on the left (the part, which is above in the list, will stand in a name the "
         u"first).\n"
         u"Except for the information from the file you can add in a name your own record (type "
         u"it in the field of input), a phrase from the list or the current date and/or time. "
         u"They are added to a name the same as other parts, in that order which you have set.\n"
         u"Attention: each new name of a file must contain at least one symbol. If some cells of "
         u"the table are empty and the name is made only from one column, the new name will turn "
         u"out empty and such file won't be renamed (message about error will appear). Add to a "
         u"name some more parts or fill empty cells before renaming.\n"
         u"Watch, that names of files did not repeat: two files in one folder can not have the "
         u"same name, therefore the second file won't be renamed. It is better to add in a name "
         u"two or three columns.\n"
         u"The length of a name of a file (together with expansion) should not exceed 255 "
         u"symbols. If length will be more, any error will not arise, but the symbols after "
         u"255-th will be rejected. "_s},
        {u"Settings > Parameters of scanning"_s,
         u" Here you can define parameter of scanning. If you want to process large (> 8000) "
         u"amount of files check this tag.\n"
         u"Check of this tag will increase an operating time of the program (sometimes several "
         u"times), and at very large amount of files can cause an error. To beginning users it "
         u"is not recommended to use this option.\n"
         u"It is better to scan files by smaller groups (for example, folder by folder), so the "
         u"work will go faster and more reliably. Also do not choose folders with very many "
         u"nested (also empty) folders: the program looks through each of them, and it takes a "
         u"lot of time.\n"
         u"Attention: after performance of the given team  The previous table (if it was already "
         u"open) will be closed!! "_s},
        {u"Settings > General settings (without Excel)"_s,
         u" Here you can adjust work of program.\n"
         u" Width column of the table: fixed - width by default;  user setting - width of each "
         u"column will be remembered (such as you it will make); on the widest row in each "
         u"column - width on the widest row in each column.\n"
         u" Text format: a conclusion of the additional information in a text format (choice "
         u"from the list and / or date and time).\n"
         u" Error messages: if you view error message or not. "_s},
        {u"Settings > General settings (Excel)"_s,
         u" Here it is possible to adjust parameters of export of the table in Ms Excel.\n"
         u"You can choose: to export numbers of rows or not, to write the text in italics, to "
         u"draw borders of cells, and also to add below the table the additional information: "
         u"date and/or time, list # 1 and/or # 2, your string (type it in the field of "
         u"input)."_s},
        {u"Table > Add row"_s,
         u"On a place of the cursor will be added one more row.\n"
         u"Will be attentive at renaming files with empty row or separate cells!!! "_s},
        {u"Table > Export to text"_s, u"Export to text "_s},
        {u"Help > About"_s,
         u"Information about program (Description, its version etc), and also to look prompt."_s},
        {u"Help > Corvanteller Help"_s, u"You look it now!! :-)"_s},
    };
}

std::vector<HelpQuestion> advisesQuestions() {
    return {
        {u"Scanning advises..."_s,
         u" At scanning follow this rulles: very many files at once do not process (it is "
         u"better separate them on some smaller groups); do not choose folders in which there "
         u"are many nested folders (the program looks through each of them, even empty, and it "
         u"takes time). It is better to collect all karaoke files in one special folder (it is "
         u"possible with subfolders) and to scan it.\n"
         u"You should know: the program processes only files *.kar. "_s},
        {u"General"_s,
         u"Don't drop, don't shake, don't overcool this program! Wipe it only with soft dry "
         u"fabric, and it will serve you long :)\n"
         u"And seriously: if you will follow the recommendations stated above, the program will "
         u"work well. Good luck!! "_s},
    };
}

// The addresses are reserved example names: shown as plain lines, never opened.
std::vector<HelpQuestion> internetQuestions() {
    return {
        {u"Site of Corvanteller"_s,
         u"Site of the program: www.corvanteller.example (alternative site: "
         u"corvanteller.example.org)\n"
         u"Here you can find new versions of the program, and also the same version of the "
         u"program, configurated under another Office. "_s},
        {u"New versions"_s,
         u"www.corvanteller.example or corvanteller.example.org. Download here!"_s},
        {u"Karaoke files"_s,
         u"Karaoke files you can download on www.karaoke-files.example (mirror: "
         u"mirror.karaoke-files.example)\n"
         u"Also You can download karaoke files from any musical site.. "_s},
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
    return u"Question: "_s + topic.title;
}

// What the program does beyond the commands the other topics describe.
std::vector<HelpQuestion> moreQuestions() {
    return {
        {u"Table > Find..."_s,
         u"Finds a text in the table (Ctrl+F). Type it in the bar under the table: the first cell "
         u"that holds it becomes the current one. Return or F3 finds the next cell, Shift+F3 the "
         u"one before; case does not count. The text view has the same bar in its Edit menu."_s},
        {u"Stop during a scan"_s,
         u"While a scan runs, the Stop button beside its progress bar, or Escape, ends it. The "
         u"files read so far stay in the table."_s},
        {u"File > Print to PDF..."_s,
         u"Writes the table's text as a PDF file where you say, as \"Print from Ms Word\" would "
         u"print it. The text view's \"Print to PDF...\" does the same with its text; a computer "
         u"without a printer can print this way."_s},
        {u"File > Rename files > Undo last renaming"_s,
         u"Puts the files of the last renaming back under their old names, after a question. "
         u"Every renaming is written in a journal as it happens, so that an undo works also "
         u"after the program was closed or the computer stopped. A file that is not where the "
         u"renaming left it is named in a message and can be put back by a later undo. The "
         u"journal keeps the last 100 renamings."_s},
        {u"The command-line program"_s,
         u"corvanteller-cli scans a folder, reads karaoke files, exports a table (a list, a "
         u"workbook, a Word document or text) and imports a workbook without any window, for "
         u"scripts. \"corvanteller-cli --help\" and \"man corvanteller-cli\" tell how. "
         u"\"corvanteller LIST.sgl\" opens a list and \"corvanteller FOLDER\" scans a folder "
         u"in the program itself."_s},
        {u"Where the settings and the journal are"_s,
         u"The settings are in ~/.config/Corvanteller/ (prop.dat and Corvanteller.conf), and the "
         u"renaming journal beside them (rename-journal.txt). Workbooks and documents handed to "
         u"other programs are kept in ~/.local/share/Corvanteller/handover/."_s},
    };
}

} // namespace

QString officeNote() {
    return u"(It is necessary, that on your computer was installed Ms Office of the appropriate "
           u"version. The version, under which was configurated program you can look in the main "
           u"menu Help > About)"_s;
}

const std::vector<HelpTopic>& helpTopics() {
    static const std::vector<HelpTopic> topics = {
        {u"About program?"_s,
         u"Corvanteller find and extract information from karaoke files (*.kar)"_s,
         {}},
        {u"How it works?"_s,
         u"Program find and extrct information about singer, authors of words and music etc."_s,
         {}},
        {u"Main menu (general functions of the program)"_s, {}, mainMenuQuestions()},
        {u"Advises"_s, {}, advisesQuestions()},
        {u"Internet"_s, {}, internetQuestions()},
        {u"What else Corvanteller can do"_s, {}, moreQuestions()},
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
        result.page = {u"Answer:"_s, questionLine(*picked), picked->answer, false};
        return result;
    }
    result.page = {u"Specify the choice..."_s, questionLine(*picked) + u"...."_s,
                   u"Specify the question in the list on the right"_s, true};
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
    return HelpPage{u"Answer:"_s, questionLine(*picked) + u" > "_s + chosen.question, chosen.answer,
                    false};
}

} // namespace corvanteller
