// SPDX-License-Identifier: GPL-3.0-or-later
// The window's step for the player's preferences: which keys each choice
// changes.
#include "app/zolmlauncher.h"
#include "installation/roots.h"
#include "preferences.h"

std::optional<QByteArray> ZolmLauncher::replaceInPreferences(const QByteArray &original,
                                                             const QString &before,
                                                             const QString &after)
{
    return replacedInPreferences(original, before, after);
}

FileStep ZolmLauncher::applyPreferences(bool forceLandUnitIds, const PressChoices &choices)
{
    FileStep step {FileStep::EditPreferences,
                   QString(),
                   gameScriptsFolder() + "preferences.script.txt",
                   {},
                   {}};
    const QLatin1String camera("default_camera_type ");
    if (choices.freeCamera) {
        step.replacements << qMakePair(camera + "0;", camera + "2;");
        step.replacements << qMakePair(camera + "1;", camera + "2;");
    } else {
        step.replacements << qMakePair(camera + "2;", camera + "0;");
    }

    // Screenshot mode hides the cards and order buttons; Hardcore battles
    // always use the land unit ids.
    const auto turn = [&step](QLatin1String key, bool on) {
        step.replacements << qMakePair(key + (on ? "0" : "2"), key + (on ? "2" : "0"));
    };
    turn(QLatin1String("ui_land_unit_ids "), choices.screenshotMode || forceLandUnitIds);
    turn(QLatin1String("ui_card_mode "), choices.screenshotMode);
    turn(QLatin1String("ui_order_button_mode "), choices.screenshotMode);
    return step;
}
