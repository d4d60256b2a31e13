// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "installation/listing.h"
#include "installation/roots.h"
#include "keyboardfocus.h"
#include "looks.h"
#include "press/executor.h"
#include "press/pressrun.h"
#include "staging/fileops.h"
#include "staging/pseudorandom.h"
#include "stylesheets.h"
#include "ui_zolmlauncher.h"

#include <QDateTime>
#include <QDir>
#include <QLayout>
#include <QThread>
#include <QTimer>

namespace {

void showControlsForModFolders(Ui_ZolmLauncher *ui)
{
    ui->ButtonClassic->setVisible(QDir(version84Root + QLatin1String("Classic")).exists());
    ui->ButtonHardcore->setVisible(QDir(version84Root + QLatin1String("Hardcore")).exists());
    ui->ChkNoUI->setVisible(QDir(uiRoot + QLatin1String("Remove")).exists());
    ui->ComboUI->setVisible(QDir(uiRoot + QLatin1String("Resize")).exists());
    ui->ComboTheme->setVisible(QDir(uiRoot + QLatin1String("Theme")).exists());
    ui->SPC1805->setVisible(QDir(campaignRoot() + "1805").exists());
    ui->SPCbava->setVisible(QDir(campaignRoot() + "Bavaria").exists());
    ui->SPCotto->setVisible(QDir(campaignRoot() + "Ottoman").exists());
    ui->SPCwurt->setVisible(QDir(campaignRoot() + "Wurttemberg").exists());
    ui->ButtonVanilla->setVisible(QDir(backupRoot).exists());
    ui->ChkWindowed->hide();
}

} // namespace

ZolmLauncher::ZolmLauncher(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui_ZolmLauncher)
{
    ui->setupUi(this);
    seedPseudoRandom(static_cast<uint>(QDateTime::currentMSecsSinceEpoch() / 1000));
    registerFont();

    drawBackground();
    setStyleSheet(windowStyleSheet(m_shrink));
    ui->PressPanel->setStyleSheet(pressPanelStyleSheet());
    showControlsForModFolders(ui);
    setControlFonts(ui, m_shrink);
    for (QLayout *layout : findChildren<QLayout *>())
        m_layouts.push_back({layout, layout->contentsMargins(), layout->spacing()});
    restoreSettings();

    // A launcher killed while it put files in place left them for this one;
    // what it found is told before the command line's press starts. A
    // launcher unpacked in the wrong folder says so as soon as it shows.
    // Outside the game's folders nothing is set right: "../" is not the mod's.
    const Box found = isExistingFile(gameExecutable) ? finishInterruptedPress() : Box();
    QTimer::singleShot(0, this, [this, found] {
        if (!found.isEmpty())
            showError(found);
        if (isExistingFile(gameExecutable))
            pressStartButton();
        else
            tellGameNotFound(!m_startButton.isEmpty());
    });
    new KeyboardFocus(this);

    ui->PressPanel->hide();
    m_progressDelay = new QTimer(this);
    m_progressDelay->setSingleShot(true);
    connect(m_progressDelay, &QTimer::timeout, this, &ZolmLauncher::showPressPanel);
}

ZolmLauncher::~ZolmLauncher()
{
    // Lets the file being copied finish before the window it reports to goes.
    delete m_press;
    if (m_gameSearch)
        m_gameSearch->wait();
    delete ui;
}
