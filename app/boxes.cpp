// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "launch/gamesearch.h"
#include "press/messages.h"
#include "ui_zolmlauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QThread>
#include <QWindow>

#include <memory>

// What happened in the box's text, as players and guides know it; the way
// out below it. The box is a window of its own rather than the launcher's
// child, so that it keeps the platform's look instead of taking the
// launcher's style sheet (gold text on the platform's grey buttons), but it
// speaks in the launcher's font, stays over the launcher and blocks it.
void ZolmLauncher::showError(const QString &error)
{
    const messages::BoxParts parts = messages::partsOf(error);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), parts.what, QMessageBox::Ok);
    box.setInformativeText(parts.wayOut);
    box.setDefaultButton(QMessageBox::NoButton);
    box.setWindowModality(Qt::ApplicationModal);
    QFont font(ui->ChkFreecam->font().family());
    font.setPixelSize(qMax(12, ui->ChkFreecam->font().pixelSize()));
    box.setFont(font);
    if (isVisible()) {
        box.winId();
        box.windowHandle()->setTransientParent(windowHandle());
        box.adjustSize();
        box.move(frameGeometry().center() - box.rect().center());
    }
    box.exec();
}

void ZolmLauncher::tellGameNotFound(bool thenEnd)
{
    m_endAfterGameNotFound = m_endAfterGameNotFound || thenEnd;
    // Its box is on its way.
    if (m_gameSearch)
        return;
    const QString launcherFolder = QDir::currentPath();
    const auto found = std::make_shared<QStringList>();
    m_gameSearch = QThread::create([found] { *found = modFoldersInSteamLibraries(); });
    m_gameSearch->setParent(this);
    connect(m_gameSearch, &QThread::finished, this, [this, found, launcherFolder] {
        showError(messages::gameNotFound(launcherFolder, *found));
        // Only now, so that a press while the box is open opens no second one.
        m_gameSearch->deleteLater();
        m_gameSearch = nullptr;
        if (m_endAfterGameNotFound)
            QCoreApplication::exit(1);
    });
    m_gameSearch->start();
}
