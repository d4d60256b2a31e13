// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "installation/listing.h"
#include "installation/roots.h"
#include "press/lastpress.h"
#include "press/pressrun.h"
#include "staging/pseudorandom.h"
#include "staging/theme.h"
#include "ui_zolmlauncher.h"
#include "windowtexts.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// The choices as the report of the last press lists them, the theme drawn
// for the random one included.
QStringList describeChoices(const PressChoices &choices, const FilePlan &plan)
{
    const QString size = choices.uiSize < 0 ? QStringLiteral("none chosen")
        : choices.uiSize == 0               ? QStringLiteral("No custom UI")
                                            : choices.uiSizePack;
    const QString staged = stagedTheme(plan);
    QString theme
        = !choices.themeSelectorShown ? QStringLiteral("no list of themes") : choices.themeName;
    if (choices.themeSelectorShown && choices.themeIndex == 0)
        theme += staged.isEmpty() ? QStringLiteral(", none drawn")
                                  : QStringLiteral(", drawn: %1").arg(staged);
    else if (staged.isEmpty())
        theme += QStringLiteral(", not staged");
    else if (staged != choices.themeName)
        theme += QStringLiteral(", staged: %1").arg(staged);
    return {QStringLiteral("Interface size: %1").arg(size), QStringLiteral("Theme: %1").arg(theme),
            QStringLiteral("Free camera: %1").arg(onOff(choices.freeCamera)),
            QStringLiteral("Screenshot mode: %1").arg(onOff(choices.screenshotMode))};
}

} // namespace

PressChoices ZolmLauncher::readChoices() const
{
    PressChoices choices;
    choices.uiSize = ui->ComboUI->currentIndex();
    if (choices.uiSize > 0)
        choices.uiSizePack = ui->ComboUI->itemData(choices.uiSize, Qt::UserRole).toString();
    choices.screenshotMode = ui->ChkNoUI->isChecked();
    choices.freeCamera = ui->ChkFreecam->isChecked();
    choices.themeSelectorShown = !ui->ComboTheme->isHidden();
    choices.themeIndex = ui->ComboTheme->currentIndex();
    choices.themeName = ui->ComboTheme->currentText();
    choices.draws = {drawPseudoRandom(), drawPseudoRandom()};
    return choices;
}

void ZolmLauncher::runPress(const std::function<FilePlan()> &plan, const PressChoices &choices)
{
    if (m_press || gameCommandMissing())
        return;
    // Outside the game's folders "../../" is some other folder of the player's.
    if (!isExistingFile(gameExecutable)) {
        tellGameNotFound(true);
        return;
    }
    // Called from the slot of the button pressed, which names the press.
    const auto *button = qobject_cast<QAbstractButton *>(sender());
    m_press
        = new PressRun({plan, button ? button->text() : QString(),
                        [choices](const FilePlan &made) { return describeChoices(choices, made); }},
                       this);
    connect(m_press, &PressRun::progress, this, &ZolmLauncher::showPressProgress);
    connect(m_press, &PressRun::ended, this, &ZolmLauncher::endPress);
    connect(m_press, &PressRun::finished, this, &ZolmLauncher::pressFinished);
    setControlsEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    ui->PressFile->clear();
    m_pressFile.clear();
    ui->PressBar->setValue(0);
    // A short press shows no progress: it would only flicker.
    m_progressDelay->start(500);
    m_press->start();
}

void ZolmLauncher::showPressProgress(const QString &file, qint64 done, qint64 total)
{
    m_pressFile = QStringLiteral("Copying %1").arg(file);
    showPressFile();
    ui->PressBar->setValue(total > 0 ? int(done * ui->PressBar->maximum() / total) : 0);
    if (!m_progressDelay->isActive())
        showPressPanel();
}

void ZolmLauncher::showPressPanel()
{
    if (m_pressFile.isEmpty() || !ui->PressPanel->isHidden())
        return;
    ui->PressPanel->show();
    layout()->activate();
    showPressFile();
}

void ZolmLauncher::showPressFile()
{
    // A long name is shortened in the middle rather than widening the panel;
    // the panel's width is known once it is laid out.
    if (ui->PressPanel->isHidden()) {
        ui->PressFile->setText(m_pressFile);
        return;
    }
    const QFontMetrics metrics(ui->PressFile->font());
    ui->PressFile->setText(
        metrics.elidedText(m_pressFile, Qt::ElideMiddle, ui->PressFile->contentsRect().width()));
}

void ZolmLauncher::endPress()
{
    const QPointer<PressRun> press = m_press;
    const PressReport report = press->report();
    m_progressDelay->stop();
    ui->PressPanel->hide();
    QGuiApplication::restoreOverrideCursor();
    // The window closes for good once the press has finished.
    if (m_closeWhenPressEnds) {
        press->goOn();
        if (!report.stopped)
            addToLastPress(QStringLiteral("The game was not started: the window was closed."));
        if (m_endAfterPress)
            QCoreApplication::exit(1);
        return;
    }
    // What is left of the press waits for the game's start, but not for the
    // player reading boxes.
    if (!report.errors.isEmpty())
        press->goOn();
    for (const Box &error : report.errors)
        showError(error);
    // After a failed step the window stays open, so that the player can free
    // space or close the game and press again; started for one press, the
    // launcher ends and says so in its status.
    if (!report.stopped)
        launchGame();
    else if (m_endAfterPress)
        QCoreApplication::exit(1);
    if (press)
        press->goOn();
}

// The press has deleted the old files too, which it does while the game
// starts: only now may another press begin.
void ZolmLauncher::pressFinished()
{
    m_press->deleteLater();
    m_press = nullptr;
    setControlsEnabled(true);
    if (m_closeWhenPressEnds)
        close();
}

void ZolmLauncher::pressOnStart(const QString &buttonName)
{
    m_startButton = buttonName;
    m_endAfterPress = true;
}

void ZolmLauncher::pressStartButton()
{
    if (m_startButton.isEmpty())
        return;
    auto *button = findChild<QPushButton *>(m_startButton);
    if (!button || button->isHidden()) {
        showError(windowTexts::noSuchButton(button ? button->text() : m_startButton));
        QCoreApplication::exit(1);
    } else {
        button->click();
    }
}

// Checked before a press, so that a mistyped launch option changes no file.
bool ZolmLauncher::gameCommandMissing()
{
    if (m_gameCommand.isEmpty() || m_gameCommand.programFound())
        return false;
    showError(windowTexts::gameCommandNotFound(m_gameCommand.arguments().first()));
    if (m_endAfterPress)
        QCoreApplication::exit(1);
    return true;
}

void ZolmLauncher::closeEvent(QCloseEvent *event)
{
    if (!m_press) {
        QWidget::closeEvent(event);
        return;
    }
    // The file being copied is finished or rolled back, nothing after it is
    // done and the game is not started; the window goes at once and closes
    // for good when the press ends.
    m_press->requestStop();
    m_closeWhenPressEnds = true;
    hide();
    event->ignore();
}

void ZolmLauncher::setControlsEnabled(bool enabled)
{
    for (QWidget *control : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (control != ui->PressPanel)
            control->setEnabled(enabled);
    }
}
