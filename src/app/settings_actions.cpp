// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_actions.h"

#include "app/app_context.h"
#include "settings/settings_texts.h"
#include "ui/error_guard.h"

namespace corvanteller {

void loadSettingsAtStart(AppContext& context, QWidget* parent) {
    const LoadResult result =
        loadSettings(context.settingsPath, context.options, context.runTimes, context.clock);
    if (!result.message.isEmpty()) {
        context.ui.reportError(parent, result.message);
    }
    context.desktop = DesktopSettings::load(context.desktopSettingsPath);
    context.hints.setHintsEnabled(context.options.general.hints);
}

void saveSettingsAtClose(AppContext& context, QWidget* parent, const TableWidthsAtClose& table) {
    guarded(parent, context.ui, [&context, &table] {
        const ColumnWidthList widths =
            widthsToSave(context.options.general.columnWidthMode, table.mainWindowVisible,
                         table.widths, context.options.savedColumnWidths);
        context.runTimes = saveSettings(context.settingsPath, context.options, widths,
                                        context.runTimes, context.clock, context.random);
    });
    // The earlier saves of these settings were silent: one message says it, once.
    if (!context.desktop.save(context.desktopSettingsPath)) {
        context.ui.showMessage(parent,
                               settingsTexts::desktopSettingsNotSaved(context.desktopSettingsPath));
    }
}

} // namespace corvanteller
