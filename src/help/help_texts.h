// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The Help, About and splash windows' texts, marked for translation in the context "Help". The
// About window's lines and the Help window's topics are marked where they are written, in
// about_texts.cpp and help_topics.cpp.
namespace corvanteller::helpTexts {

QString aboutTitle();
QString helpTitle();
QString chooseTopic();
QString specifyChoice();
QString answer();
QString ok();
QString splashTitle();
QString splashHint();

} // namespace corvanteller::helpTexts
