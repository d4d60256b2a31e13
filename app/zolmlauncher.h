#pragma once

#include <QStringList>
#include <QWidget>

class Ui_ZolmLauncher;

// The launcher window. Every button press runs one slot to its end; the
// operations it uses are defined beside the subsystem they belong to
// (staging/, gamescripts/, launch/).
class ZolmLauncher : public QWidget
{
    Q_OBJECT

public:
    explicit ZolmLauncher(QWidget *parent = nullptr);
    ~ZolmLauncher() override;

    // staging/
    void setupBattle(const QString &mode);
    void setupCampaign(const QString &name);
    void stageTheme(const QString &targetFolder);
    void installUserScript(const QString &folder);
    void installTextPack(const QString &folder);
    void removeUiAndWzPacks();

    // gamescripts/
    QStringList userScriptPackList(const QString &mode) const;
    void writeUserScript(const QString &mode);
    void applyPreferences(bool forceLandUnitIds);
    void replaceInPreferences(const QString &before, const QString &after);

    // launch/ and app/
    void launchGame();
    void saveSettings();

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

    Ui_ZolmLauncher *ui;
};
