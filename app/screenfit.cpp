#include "screenfit.h"

#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QWindow>

namespace {

// The frame the system draws around a window on this screen, in the
// screen's pixels. Known before the window is shown where the system draws
// it (Windows); nothing where a window manager adds it later.
QSize framePixels(QScreen *screen)
{
    QWindow probe(screen);
    probe.create();
    const QMargins frame = probe.handle()->frameMargins();
    return QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

// Qt's scale on top of the screens' own, as set for the whole program.
qreal globalFactor()
{
    bool ok = false;
    const qreal factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && factor > 0 ? factor : 1;
}

} // namespace

void fitScaleToScreen(QScreen *screen, const QSize &designed)
{
    if (!screen || designed.isEmpty())
        return;
    const qreal screenScale = screen->devicePixelRatio();
    if (screenScale <= 1)
        return;
    // In the screen's own pixels, which Qt's scaled geometry only rounds.
    const QSize room = screen->handle()->availableGeometry().size() - framePixels(screen);
    const qreal fits
        = qMin(qreal(room.width()) / designed.width(), qreal(room.height()) / designed.height());
    const qreal scale = qBound(qreal(1), fits, screenScale);
    if (scale < screenScale)
        QHighDpiScaling::setGlobalFactor(globalFactor() * scale / screenScale);
}
