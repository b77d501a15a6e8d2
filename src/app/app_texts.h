// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The main window's texts, marked for translation in the context "App".
namespace corvanteller::appTexts {

// The caption of the command whose action has this object name ("saveListAction" gives
// "&Save list"); the menus' own titles by their names too ("fileMenu" gives "&File").
QString caption(const char* name);

// Table > "Sort by": the entry of each column.
QString sortCaption(int column);

QString programTitle();
QString checkAll();
QString checkAllHint();
QString stop();
QString wait();

// The file dialogs' filters of the list commands.
QString listOpenFilter();
QString listSaveFilter();

} // namespace corvanteller::appTexts
