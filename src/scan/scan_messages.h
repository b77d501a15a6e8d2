#pragma once

#include <QString>

namespace corvanteller {

// The message after a scan that listed more than 17,119 folders. "\n\r" is a line feed
// followed by a carriage return, as the program has always written it.
inline QString tooManyFoldersMessage() {
    return QStringLiteral(
        "Ошибка!\n\rВ выбранной папке находится очень много файлов или очень большая глубина "
        "вложенных папок (в том числе пустых). Выберите одну из вложенных папок и повторите "
        "попытку! За более подробной информацией обращайтесь к Помощи….");
}

// The error label's text after a failed scan.
inline QString scanErrorLabelText() {
    return QStringLiteral("Ошибка!!!!");
}

} // namespace corvanteller
