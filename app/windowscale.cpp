// SPDX-License-Identifier: GPL-3.0-or-later
// The window's scale: its controls, fonts and margins shrunk together, and
// its size on the screen it is on.
#include "zolmlauncher.h"

#include "looks.h"
#include "stylesheets.h"
#include "ui_zolmlauncher.h"

#include <QLayout>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QWindow>

QSize ZolmLauncher::shrunkSize() const
{
    return (QSizeF(designedSize()) * m_shrink).toSize();
}

void ZolmLauncher::applyShrink(qreal shrink)
{
    m_shrink = shrink;
    setControlFonts(ui, shrink);
    // The form's margins and spacing, as designed, scaled.
    for (const DesignedLayout &designed : m_layouts) {
        const QMargins &margins = designed.margins;
        designed.layout->setContentsMargins(
            qRound(margins.left() * shrink), qRound(margins.top() * shrink),
            qRound(margins.right() * shrink), qRound(margins.bottom() * shrink));
        designed.layout->setSpacing(qRound(designed.spacing * shrink));
    }
    setStyleSheet(windowStyleSheet(shrink));
    ui->PressPanel->setGeometry(
        QRectF(QPointF(160, 176) * shrink, QSizeF(380, 44) * shrink).toRect());
    showPressFile();
}

void ZolmLauncher::fitToScreen(qreal shrink)
{
    if (!qFuzzyCompare(shrink, m_askedShrink)) {
        m_askedShrink = shrink;
        applyShrink(shrink);
        // A style whose controls ask for more room than the design gives
        // them (Windows' own, with its larger line height) may need the
        // window smaller still.
        for (int tries = 0; tries < 3; ++tries) {
            const QSize least = minimumSizeHint();
            const QSize room = shrunkSize();
            if (least.width() <= room.width() && least.height() <= room.height())
                break;
            applyShrink(
                m_shrink
                * qMin(qreal(room.width()) / least.width(), qreal(room.height()) / least.height()));
        }
    }
    // Left alone, Windows and X11 carry the window's pixels over to a screen
    // of another scale, which squeezes or spreads out its layout.
    resize(shrunkSize());
    drawBackground();
    // Where the scale of the window's own screen changed, only the window's
    // handle knows that its pixels are no longer its size. It is told in
    // the screen's pixels: Qt 5 would take the window's place through the
    // scale and back, a pixel off under a fractional scale.
    QPlatformWindow *platform = windowHandle() ? windowHandle()->handle() : nullptr;
    if (!isVisible() || !platform)
        return;
    const QSize pixels = QHighDpi::toNativePixels(shrunkSize(), windowHandle());
    if (platform->geometry().size() != pixels)
        platform->setGeometry(QRect(platform->geometry().topLeft(), pixels));
}

void ZolmLauncher::keepOnWorkArea()
{
    // A screen that shrank may leave the window off its work area. In the
    // screen's pixels, for the same reason.
    QPlatformWindow *platform = windowHandle() ? windowHandle()->handle() : nullptr;
    if (!isVisible() || !platform)
        return;
    const QRect area = windowHandle()->screen()->handle()->availableGeometry();
    const QMargins frameMargins = platform->frameMargins();
    const QRect frame = platform->geometry().marginsAdded(frameMargins);
    const QPoint inside(qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width())),
                        qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height())));
    if (inside != frame.topLeft())
        platform->setGeometry(QRect(inside + QPoint(frameMargins.left(), frameMargins.top()),
                                    platform->geometry().size()));
}
