// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_arguments.h"

#include "common/build_info.h"
#include "support/temp_tree.h"

#include <QDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace corvanteller {
namespace {

using test::TempTree;
using namespace Qt::StringLiterals;
using Action = StartRequest::Action;

std::optional<QByteArray> answer(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"corvanteller"};
    argv.insert(argv.end(), args);
    return answerBeforeWindows(static_cast<int>(argv.size()), argv.data());
}

TEST(ProgramArguments, HelpAndVersionAreAnsweredBeforeAnyWindow) {
    EXPECT_EQ(answer({"--version"}),
              "corvanteller (Corvanteller) " + QByteArray(build::version) + '\n');
    EXPECT_EQ(answer({"songs.sgl", "--version"}),
              "corvanteller (Corvanteller) " + QByteArray(build::version) + '\n');
    for (const char* help : {"--help", "-h"}) {
        const std::optional<QByteArray> text = answer({help});
        ASSERT_TRUE(text.has_value());
        EXPECT_TRUE(text->startsWith("Usage: corvanteller ")) << text->constData();
    }
    EXPECT_FALSE(answer({}).has_value());
    EXPECT_FALSE(answer({"songs.sgl"}).has_value());
    EXPECT_FALSE(answer({"--", "--version"}).has_value());
}

class StartArguments : public ::testing::Test {
protected:
    void SetUp() override {
        tree.writeFile("songs.sgl", "Corvanteller file..\r\n1\r\n7\r\nRussia\r\n");
        tree.writeFile("SHOUTED.SGL", "anything");
        tree.writeFile("damaged.sgl", "Corvanteller file.\r\n");
        tree.writeFile("renamed-list", "Corvanteller file..\n1\n7\nRussia\n");
        tree.writeFile("utf8-list", "\xEF\xBB\xBF"
                                    "Corvanteller file..\r\n1\r\n7\r\n");
        tree.writeFile("longer-first-line", "Corvanteller file...\r\n1\r\n7\r\n");
        tree.writeFile("notes.txt", "Corvanteller file..");
        tree.writeFile("-dash.sgl", "Corvanteller file..\r\n");
        tree.makeFolder("music");
        tree.makeFolder("folder.sgl");
        ASSERT_EQ(::mkfifo(tree.path("pipe.sgl").constData(), 0600), 0);
    }

    QString at(const QString& name) const { return tree.root() + u'/' + name; }

    TempTree tree;
};

TEST_F(StartArguments, ListFilesFoldersAndTheRest) {
    struct Case {
        QStringList arguments;
        Action action;
        QString path;    // for OpenList and ScanFolder
        QString message; // for Refuse
    };
    const Case cases[] = {
        {{}, Action::Nothing, {}, {}},
        {{at(u"songs.sgl"_s)}, Action::OpenList, at(u"songs.sgl"_s), {}},
        // The list open itself judges an .sgl by its first line and says what is wrong.
        {{at(u"SHOUTED.SGL"_s)}, Action::OpenList, at(u"SHOUTED.SGL"_s), {}},
        {{at(u"damaged.sgl"_s)}, Action::OpenList, at(u"damaged.sgl"_s), {}},
        // Without the suffix the first line decides, as the MIME entry's magic does.
        {{at(u"renamed-list"_s)}, Action::OpenList, at(u"renamed-list"_s), {}},
        {{at(u"utf8-list"_s)}, Action::OpenList, at(u"utf8-list"_s), {}},
        {{at(u"longer-first-line"_s)},
         Action::Refuse,
         {},
         u"\"%1\" is neither a Corvanteller list (*.sgl) nor a folder."_s.arg(
             at(u"longer-first-line"_s))},
        {{at(u"notes.txt"_s)},
         Action::Refuse,
         {},
         u"\"%1\" is neither a Corvanteller list (*.sgl) nor a folder."_s.arg(at(u"notes.txt"_s))},
        // A pipe is never opened: reading it would wait for a writer for good.
        {{at(u"pipe.sgl"_s)},
         Action::Refuse,
         {},
         u"\"%1\" is neither a Corvanteller list (*.sgl) nor a folder."_s.arg(at(u"pipe.sgl"_s))},
        {{at(u"music"_s)}, Action::ScanFolder, at(u"music"_s), {}},
        {{at(u"music/"_s)}, Action::ScanFolder, at(u"music"_s), {}},
        {{at(u"music/../music/."_s)}, Action::ScanFolder, at(u"music"_s), {}},
        {{at(u"folder.sgl"_s)}, Action::ScanFolder, at(u"folder.sgl"_s), {}},
        {{u"--"_s, at(u"-dash.sgl"_s)}, Action::OpenList, at(u"-dash.sgl"_s), {}},
        {{at(u"missing.sgl"_s)},
         Action::Refuse,
         {},
         u"There is no file or folder \"%1\"."_s.arg(at(u"missing.sgl"_s))},
        {{at(u"songs.sgl"_s), at(u"music"_s)},
         Action::Refuse,
         {},
         u"Corvanteller opens one list file (*.sgl) or one folder at a time."_s},
        {{u"--sort"_s, at(u"songs.sgl"_s)},
         Action::Refuse,
         {},
         u"Unknown option \"--sort\". Corvanteller opens a list file (*.sgl) or a folder named "
         u"on its command line."_s},
    };
    for (const Case& c : cases) {
        const StartRequest request = judgeStartArguments(c.arguments);
        const std::string name = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(request.action, c.action) << name;
        EXPECT_EQ(request.path, c.path) << name;
        EXPECT_EQ(request.message, c.message) << name;
    }
}

TEST_F(StartArguments, RelativePathsAreTakenFromTheWorkingFolder) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tree.root()));
    const StartRequest list = judgeStartArguments({u"songs.sgl"_s});
    const StartRequest folder = judgeStartArguments({u"."_s});
    QDir::setCurrent(before);
    EXPECT_EQ(list.action, Action::OpenList);
    EXPECT_EQ(list.path, QDir(tree.root()).canonicalPath() + u"/songs.sgl"_s);
    EXPECT_EQ(folder.action, Action::ScanFolder);
    EXPECT_EQ(folder.path, QDir(tree.root()).canonicalPath());
}

} // namespace
} // namespace corvanteller
