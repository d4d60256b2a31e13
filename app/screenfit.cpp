// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfit.h"

#include "windowframe.h"

#include <QGuiApplication>
#include <qpa/qplatformscreen.h>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QWidget>
#include <QWindow>

namespace {

// Below this the window's text is too small to read; a screen that small
// shows the window cut off instead.
constexpr qreal smallestScale = 0.85;

// Qt's scale on top of the screens' own, as set for the whole program.
qreal globalFactor()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1;
}

void fitScreen(QScreen *screen, const QSize &designed)
{
    const qreal own = screen->devicePixelRatio();
    // In the screen's own pixels, which Qt's scaled geometry only rounds.
    const QSize room = screen->handle()->availableGeometry().size() - windowFramePixels(screen);
    const qreal scale = fittedScale(own, room, designed);
    if (qFuzzyCompare(scale, own))
        return;
    // A screen's factor stands in for the screen's own scale, under the
    // factor set for the whole program. Qt overlooks a factor of exactly 1
    // while no other screen has one; a hair above it gives the same pixels.
    const qreal factor = scale / globalFactor();
    QHighDpiScaling::setScreenFactor(screen, qFuzzyCompare(factor, 1) ? 1.000001 : factor);
}

} // namespace

qreal fittedScale(qreal own, const QSize &room, const QSize &designed)
{
    const qreal fits
        = qMin(qreal(room.width()) / designed.width(), qreal(room.height()) / designed.height());
    return qMin(own, qMax(fits, smallestScale));
}

void fitScreens(const QSize &designed)
{
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        fitScreen(screen, designed);
    QObject::connect(qApp, &QGuiApplication::screenAdded, qApp,
                     [designed](QScreen *screen) { fitScreen(screen, designed); });
}

void keepDesignedSizeOnEveryScreen(QWidget *window, const QSize &designed)
{
    window->winId(); // makes the window's handle, which tells of screen changes
    QObject::connect(window->windowHandle(), &QWindow::screenChanged, window,
                     [window, designed] { window->resize(designed); });
}
