// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_arguments.h"

#include "app/app_texts.h"
#include "common/build_info.h"
#include "common/file_io.h"

#include <QDir>
#include <QFileInfo>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr const char* helpText =
    "Usage: corvanteller [--] [LIST.sgl | FOLDER]\n"
    "  or:  corvanteller --help | --version\n"
    "Corvanteller finds the descriptive texts inside karaoke files (*.kar) and shows them in\n"
    "an editable table. After the start window is up:\n"
    "  LIST.sgl    opens the list file, as the start window's \"Open Corvanteller list...\"\n"
    "  FOLDER      scans the folder and every folder below it, as the Start button\n"
    "  -h, --help  writes this help and exits\n"
    "  --version   writes the program's name and version and exits\n"
    "Qt's own options (-platform, -style, ...) are taken as well.\n";

// The list file's first line, behind an optional UTF-8 byte-order mark, ended by CR or LF.
bool startsWithListLine(const QString& path) {
    QByteArray head;
    try {
        head = readFileBounded(path, 32);
    } catch (const IoError&) {
        return false;
    }
    if (head.startsWith("\xEF\xBB\xBF")) {
        head.remove(0, 3);
    }
    return head.startsWith("Corvanteller file..\r") || head.startsWith("Corvanteller file..\n");
}

StartRequest refuse(const QString& message) {
    return {StartRequest::Action::Refuse, QString(), message};
}

} // namespace

std::optional<QByteArray> answerBeforeWindows(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            return QByteArray(helpText);
        }
        if (arg == "--version") {
            return QByteArray("corvanteller (") + build::programName + ") " + build::version + '\n';
        }
    }
    return std::nullopt;
}

StartRequest judgeStartArguments(const QStringList& arguments) {
    QStringList operands;
    bool optionsEnded = false;
    for (const QString& arg : arguments) {
        if (!optionsEnded && arg == "--"_L1) {
            optionsEnded = true;
        } else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
            return refuse(appTexts::unknownStartOption(arg));
        } else {
            operands.append(arg);
        }
    }
    if (operands.isEmpty()) {
        return {};
    }
    if (operands.size() > 1) {
        return refuse(appTexts::oneStartOperand());
    }
    const QString& given = operands.front();
    const QFileInfo info(given);
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (info.isDir()) {
        return {StartRequest::Action::ScanFolder, path, QString()};
    }
    if (!info.exists()) {
        return refuse(appTexts::noStartOperand(given));
    }
    // A pipe or a device named *.sgl would keep the list open waiting for good.
    if (info.isFile() &&
        (given.endsWith(".sgl"_L1, Qt::CaseInsensitive) || startsWithListLine(path))) {
        return {StartRequest::Action::OpenList, path, QString()};
    }
    return refuse(u"\"%1\" is neither a Corvanteller list (*.sgl) nor a folder."_s.arg(given));
}

} // namespace corvanteller
