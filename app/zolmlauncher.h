#pragma once

#include "staging/filestep.h"
#include "staging/pressinputs.h"

#include <QStringList>
#include <QWidget>

class PressRun;
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

    // gamescripts/: false when the file cannot be written.
    static QStringList userScriptPackList(const QString &mode);
    static bool writeUserScript(const QString &mode);
    static FileStep applyPreferences(bool forceLandUnitIds, const PressChoices &choices);
    static bool replaceInPreferences(const QString &before, const QString &after);

    // app/ and launch/
    PressChoices readChoices() const;
    // Applies the steps off the window's thread with every control disabled,
    // shows what went wrong, and starts the game unless a step failed or the
    // window was closed meanwhile.
    void runPress(const FilePlan &plan);
    bool pressRunning() const { return m_press != nullptr; }
    void launchGame();
    void saveSettings();

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

    void showPressProgress(const QString &file, qint64 done, qint64 total);
    void showPressPanel();
    void showPressFile();
    void endPress();
    void setControlsEnabled(bool enabled);

    Ui_ZolmLauncher *ui;
    PressRun *m_press = nullptr;
    QTimer *m_progressDelay;
    bool m_closeWhenPressEnds = false;
    QString m_pressFile; // what the progress line says, before it is shortened to fit
};
