// SPDX-License-Identifier: GPL-3.0-or-later
#include "platformfallback.h"

#include <QByteArrayList>
#include <QtGui/qtgui-config.h>

namespace {
const char variable[] = "QT_QPA_PLATFORM";
}

QByteArray addOwnPlatformAsFallback()
{
    const QByteArray choice = qgetenv(variable);
    const QByteArray own = QT_QPA_DEFAULT_PLATFORM_NAME;
    // Qt tries the platforms of a list in turn; each may carry options.
    bool listed = false;
    for (const QByteArray &platform : choice.split(';'))
        listed = listed || platform.split(':').constFirst() == own;
    if (!choice.isEmpty() && !listed)
        qputenv(variable, choice + ';' + own);
    return choice;
}

void restorePlatformChoice(const QByteArray &choice)
{
    if (!choice.isEmpty())
        qputenv(variable, choice);
}
