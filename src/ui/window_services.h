// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvanteller {

class FormActivations;
class HintController;
class UiServices;

// What every window of the program is handed besides its own data: the dialogs and messages
// seam, the activation bookkeeping that all windows share, and the application's hints.
struct WindowServices {
    UiServices& ui;
    FormActivations& activations;
    HintController& hints;
};

} // namespace corvanteller
