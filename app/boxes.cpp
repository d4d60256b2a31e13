// SPDX-License-Identifier: GPL-3.0-or-later
#include "zolmlauncher.h"

#include "launch/gamesearch.h"
#include "ui_zolmlauncher.h"
#include "windowtexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <QWindow>

#include <memory>
#include <mutex>

namespace {

// A box of its own rather than the launcher's child, so that it keeps the
// platform's look instead of taking the launcher's style sheet (gold text on
// the platform's grey buttons). It still stays over the launcher, blocks it
// and opens over its middle, where Qt would have put a child.
class ErrorBox : public QMessageBox
{
public:
    ErrorBox(QWidget *over, const QString &what)
        : QMessageBox(QMessageBox::Critical, QStringLiteral("Error"), what, QMessageBox::Ok)
        , m_over(over)
    {
        // Paths and names from disk, never markup.
        setTextFormat(Qt::PlainText);
        setWindowModality(Qt::ApplicationModal);
        if (!over->isVisible())
            return;
        winId();
        windowHandle()->setTransientParent(over->windowHandle());
    }

protected:
    // The box takes its size only as it shows.
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        if (m_over->isVisible())
            move(m_over->frameGeometry().center() - rect().center());
    }

private:
    QWidget *m_over;
};

} // namespace

// What happened in the box's text, as players and guides know it; the way
// out below it; in the launcher's font.
void ZolmLauncher::showError(const Box &error)
{
    ErrorBox box(this, error.what);
    box.setInformativeText(error.wayOut);
    if (auto *wayOut = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        wayOut->setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::NoButton);
    QFont font(ui->ChkFreecam->font().family());
    font.setPixelSize(qMax(12, ui->ChkFreecam->font().pixelSize()));
    box.setFont(font);
    box.exec();
}

void ZolmLauncher::tellGameNotFound(bool thenEnd)
{
    m_endAfterGameNotFound = m_endAfterGameNotFound || thenEnd;
    // Its box is on its way.
    if (m_gameSearch)
        return;
    const QString launcherFolder = QDir::currentPath();
    // Handed over under a lock: Qt's queued signal is no barrier the
    // thread checker can see.
    struct Found
    {
        std::mutex mutex;
        QStringList modFolders;
    };
    const auto found = std::make_shared<Found>();
    m_gameSearch = QThread::create([found] {
        const QStringList modFolders = modFoldersInSteamLibraries();
        const std::lock_guard<std::mutex> lock(found->mutex);
        found->modFolders = modFolders;
    });
    m_gameSearch->setParent(this);
    connect(m_gameSearch, &QThread::finished, this, [this, found, launcherFolder] {
        QStringList modFolders;
        {
            const std::lock_guard<std::mutex> lock(found->mutex);
            modFolders = found->modFolders;
        }
        showError(windowTexts::gameNotFound(launcherFolder, modFolders));
        // Only now, so that a press while the box is open opens no second one.
        m_gameSearch->deleteLater();
        m_gameSearch = nullptr;
        if (m_endAfterGameNotFound)
            QCoreApplication::exit(1);
    });
    m_gameSearch->start();
}
