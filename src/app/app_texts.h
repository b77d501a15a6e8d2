// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The start window's and the main window's texts, marked for translation in the context "App".
namespace corvanteller::appTexts {

// The caption of the command whose action has this object name ("saveListAction" gives
// "&Save list"); the menus' own titles by their names too ("fileMenu" gives "&File").
QString caption(const char* name);

// The same for the start window's menus, whose captions differ from the main window's.
QString startCaption(const char* name);

// Table > "Sort by": the entry of each column.
QString sortCaption(int column);

QString programTitle();
QString checkAll();
QString checkAllHint();
// The start window's greeting and Start button, with their hints.
QString greeting();
QString greetingHint();
QString start();
QString startHint();
QString stop();
QString wait();

// Why the program's command line is refused.
QString unknownStartOption(const QString& option);
QString oneStartOperand();
QString noStartOperand(const QString& given);

// The file dialogs' filters of the list commands.
QString listOpenFilter();
QString listSaveFilter();

} // namespace corvanteller::appTexts
