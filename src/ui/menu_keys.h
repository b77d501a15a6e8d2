// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenuBar;

namespace corvanteller {

// Lets the keyboard reach a menu bar on every desktop style: Alt pressed and released alone
// marks the first menu title (the arrows and Return go on from there) and F10 opens the first
// menu. Alt with a title's underlined letter opens that menu in any case.
void reachMenusByKeyboard(QMenuBar& menuBar);

} // namespace corvanteller
