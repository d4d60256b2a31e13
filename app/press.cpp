// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "press/messages.h"
#include "press/pressrun.h"
#include "staging/fileops.h"
#include "staging/roots.h"
#include "ui_zolmlauncher.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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
    return choices;
}

void ZolmLauncher::runPress(const FilePlan &plan)
{
    if (m_press || gameCommandMissing())
        return;
    // Called from the slot of the button pressed, which names the press.
    const auto *button = qobject_cast<QAbstractButton *>(sender());
    m_press = new PressRun(plan, button ? button->text() : QString(), this);
    connect(m_press, &PressRun::progress, this, &ZolmLauncher::showPressProgress);
    connect(m_press, &PressRun::finished, this, &ZolmLauncher::endPress);
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
    const PressReport report = m_press->report();
    m_press->deleteLater();
    m_press = nullptr;
    m_progressDelay->stop();
    ui->PressPanel->hide();
    QGuiApplication::restoreOverrideCursor();
    setControlsEnabled(true);
    if (m_closeWhenPressEnds) {
        close();
        if (m_endAfterPress)
            QCoreApplication::exit(1);
        return;
    }
    for (const QString &error : report.errors)
        showError(error);
    // After a failed step the window stays open, so that the player can free
    // space or close the game and press again; started for one press, the
    // launcher ends and says so in its status.
    if (!report.stopped)
        launchGame();
    else if (m_endAfterPress)
        QCoreApplication::exit(1);
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
    if (!isExistingFile(gameExecutable)) {
        showError(messages::gameNotFound());
        QCoreApplication::exit(1);
    } else if (!button || button->isHidden()) {
        showError(messages::noSuchButton(button ? button->text() : m_startButton));
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
    showError(messages::gameCommandNotFound(m_gameCommand.arguments().first()));
    if (m_endAfterPress)
        QCoreApplication::exit(1);
    return true;
}

// What happened in the box's text, as players and guides know it; the way
// out below it.
void ZolmLauncher::showError(const QString &error)
{
    const messages::BoxParts parts = messages::partsOf(error);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), parts.what, QMessageBox::Ok,
                    this);
    box.setInformativeText(parts.wayOut);
    box.setDefaultButton(QMessageBox::NoButton);
    box.exec();
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
