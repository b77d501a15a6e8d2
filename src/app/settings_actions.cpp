#include "app/settings_actions.h"

#include "app/app_context.h"
#include "app/error_guard.h"
#include "settings/general_settings_dialog.h"
#include "table/main_window.h"

namespace corvanteller {

void loadSettingsAtStart(AppContext& context, QWidget* parent) {
    const LoadResult result =
        loadSettings(context.settingsPath, context.options, context.runTimes, context.clock);
    if (!result.message.isEmpty()) {
        context.ui.reportError(parent, result.message);
    }
    if (context.setHintsEnabled) {
        context.setHintsEnabled(context.options.general.hints);
    }
}

void saveSettingsAtClose(AppContext& context, QWidget* parent) {
    guarded(parent, context.ui, [&context] {
        const bool mainVisible = context.mainWindow != nullptr && context.mainWindow->isVisible();
        const std::array<int, 7> tableWidths = context.mainWindow != nullptr
                                                   ? context.mainWindow->columnWidths()
                                                   : context.options.savedColumnWidths;
        const std::array<int, 7> widths =
            widthsToSave(context.options.general.columnWidthMode, mainVisible, tableWidths,
                         context.options.savedColumnWidths);
        context.runTimes = saveSettings(context.settingsPath, context.options, widths,
                                        context.runTimes, context.clock, context.random);
    });
}

void endProgramFromMainWindow(AppContext& context, QWidget* parent) {
    saveSettingsAtClose(context, parent);
    context.quit();
}

void showGeneralSettings(AppContext& context, QWidget* opener) {
    context.generalSettings->showFor(opener);
}

} // namespace corvanteller
