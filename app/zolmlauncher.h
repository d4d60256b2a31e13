// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launch/gamecommand.h"
#include "press/box.h"
#include "press/filestep.h"
#include "staging/pressinputs.h"

#include <QMargins>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class PressRun;
class QLayout;
class QThread;
class QTimer;
class Ui_ZolmLauncher;

// The launcher window. A press reads the player's choices once, works out
// from them and the mod's listing the file steps it takes (staging/,
// gamescripts/), has one executor apply them, and then starts the game
// (launch/). Only the window itself reads its controls.
class ZolmLauncher : public QWidget
{
    Q_OBJECT

public:
    explicit ZolmLauncher(QWidget *parent = nullptr);
    ~ZolmLauncher() override;

    // The window as drawn at 100 %.
    static QSize designedSize() { return QSize(700, 700); }
    // Sizes the window to its design in its screen's scale, shrunk by
    // `shrink` where even that does not fit, and draws its background for
    // that scale: at start, and for a window moved to another screen or
    // whose screen changed its scale.
    void fitToScreen(qreal shrink);
    // Moves the window back onto its screen's work area where it left it.
    void keepOnWorkArea();

    // staging/: the steps of each button, worked out without touching the disk.
    static FilePlan setupBattle(const QString &mode, const PressChoices &choices,
                                const ModListing &listing);
    static FilePlan setupCampaign(const QString &name, const PressChoices &choices,
                                  const ModListing &listing);
    static FilePlan stageTheme(const QString &targetFolder, const PressChoices &choices,
                               const ModListing &listing);
    static FilePlan restoreVanilla();
    static FileStep installUserScript(const QString &folder);
    static FileStep installTextPack(const QString &folder);
    static FilePlan removeUiAndWzPacks();

    // gamescripts/: the load list and the preferences, as steps of a press.
    static QStringList userScriptPackList(const QString &mode);
    static FileStep writeUserScript(const QString &mode);
    static FileStep applyPreferences(bool forceLandUnitIds, const PressChoices &choices);
    // The preferences' editor (gamescripts/preferences.h: replacedInPreferences).
    static std::optional<QByteArray>
    replaceInPreferences(const QByteArray &original, const QString &before, const QString &after);

    // app/ and launch/
    PressChoices readChoices() const;
    // Works the steps out and applies them off the window's thread with
    // every control disabled, shows what went wrong, and starts the game
    // unless a step failed or the window was closed meanwhile. The plan is
    // made from the mod's folders once the press has them to itself; the
    // choices it is made from go into the report of the last press. Without
    // the game around the launcher, no file is changed: a box says where the
    // launcher belongs.
    void runPress(const std::function<FilePlan()> &plan, const PressChoices &choices);
    bool pressRunning() const { return m_press != nullptr; }
    void launchGame();
    void saveSettings();

    // The command line (app/main.cpp). Presses the start button of that object
    // name once the window shows; the launcher then ends after the press, with
    // a status other than 0 unless it started the game.
    void pressOnStart(const QString &buttonName);
    // Steam's command for the game, run in place of the launcher's own start
    // of the game once the window has closed.
    void setGameCommand(const GameCommand &command) { m_gameCommand = command; }
    bool gameCommandDue() const { return m_gameCommandDue; }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Connected by name in the form; their order is the meta-object's slot order.
    void on_ButtonClassic_clicked();
    void on_ButtonHardcore_clicked();
    void on_ButtonVanilla_clicked();
    void on_SPC1805_clicked();
    void on_SPCbava_clicked();
    void on_SPCotto_clicked();
    void on_SPCwurt_clicked();
    void on_ButtonPatreon_clicked();
    void on_ButtonDiscord_clicked();
    void on_ButtonForum_clicked();
    void on_ButtonGuide_clicked();

private:
    Q_DISABLE_COPY(ZolmLauncher)

    void applyShrink(qreal shrink);
    QSize shrunkSize() const;
    void drawBackground();
    void restoreSettings();
    void showPressProgress(const QString &file, qint64 done, qint64 total);
    void showPressPanel();
    void showPressFile();
    void endPress();
    void pressFinished();
    void showError(const Box &error);
    void setControlsEnabled(bool enabled);
    void pressStartButton();
    bool gameCommandMissing();
    // Looks for the game in Steam's libraries off the window's thread, then
    // says in one box where the launcher's folder belongs; ends the launcher
    // after it where asked.
    void tellGameNotFound(bool thenEnd);

    Ui_ZolmLauncher *ui;
    PressRun *m_press = nullptr;
    QTimer *m_progressDelay;
    bool m_closeWhenPressEnds = false;
    QString m_pressFile; // what the progress line says, before it is shortened to fit
    QString m_startButton; // the button the command line presses
    bool m_endAfterPress = false;
    GameCommand m_gameCommand;
    bool m_gameCommandDue = false;
    QThread *m_gameSearch = nullptr; // while the game is looked for
    bool m_endAfterGameNotFound = false;
    qreal m_askedShrink = 1; // by the screen's fit
    qreal m_shrink = 1; // what the window's style allows
    struct DesignedLayout
    {
        QLayout *layout;
        QMargins margins;
        int spacing;
    };
    std::vector<DesignedLayout> m_layouts;
};
