#include "gamestart.h"

#ifdef Q_OS_WIN
#include <cstdlib>
#else
#include <QProcess>
#endif

void startGame(const QString &executable)
{
#ifdef Q_OS_WIN
    // The command processor's start returns as soon as the game is running.
    const QByteArray command = QString("start " + executable).toUtf8();
    std::system(command.constData());
#else
    QProcess::startDetached(executable, {});
#endif
}
