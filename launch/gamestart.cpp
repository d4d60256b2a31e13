// SPDX-License-Identifier: GPL-3.0-or-later
#include "gamestart.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#else
#include "installation/steamlibrary.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#endif

#ifdef Q_OS_WIN

// As the command processor's start does: the shell runs the program (asking
// for elevation where its manifest wants it) in the launcher's folder, with
// no arguments, and returns once it is running; no window of the shell's
// tells of a failure, the launcher's box does.
GameStart startGame(const QString &executable)
{
    const QString program = QDir::toNativeSeparators(QFileInfo(executable).absoluteFilePath());
    const QString folder = QDir::toNativeSeparators(QDir::currentPath());
    SHELLEXECUTEINFOW info {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = reinterpret_cast<const wchar_t *>(program.utf16());
    info.lpDirectory = reinterpret_cast<const wchar_t *>(folder.utf16());
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return {GameStart::Started, QString()};
    // Some of the system's reasons name the program as "%1".
    QString reason = qt_error_string(int(GetLastError())).trimmed();
    reason.replace(QLatin1String("%1"), QFileInfo(executable).fileName());
    while (reason.endsWith('.'))
        reason.chop(1);
    return {GameStart::Failed, reason};
}

#else

GameStart startGame(const QString &executable)
{
    // A Windows game in a Steam library runs only through Steam (Proton).
    const SteamGame steam = findSteamGame();
    if (steam.isRecognised()) {
        if (QDesktopServices::openUrl(QUrl("steam://rungameid/" + steam.id)))
            return {GameStart::SteamAsked, QString(), true};
        return {GameStart::Failed,
                QStringLiteral("no program here takes Steam's steam:// addresses, so Steam "
                               "could not be asked to start it"),
                true};
    }
    QProcess game;
    game.setProgram(executable);
    if (game.startDetached())
        return {GameStart::Started, QString()};
    // Qt does not tell why the system refused.
    const QFileInfo file(executable);
    return {GameStart::Failed,
            file.isExecutable() ? QStringLiteral("the system would not run it as a program")
                                : QStringLiteral("it may not be run as a program")};
}

#endif
