// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfit.h"

#include "windowframe.h"

#include <QGuiApplication>
#include <qpa/qplatformscreen.h>
#include <QProcessEnvironment>
#include <QtGui/private/qhighdpiscaling_p.h>

#include <cmath>
#include <optional>

namespace {

constexpr qreal step = 0.125;

// A factor as Qt takes it from its variables: a positive number.
std::optional<qreal> factor(const QString &text)
{
    bool ok = false;
    const qreal value = text.trimmed().toDouble(&ok);
    return ok && value > 0 ? std::optional<qreal>(value) : std::nullopt;
}

// Qt's switches are numbers; anything below 1 turns them off.
bool turnedOff(const QProcessEnvironment &environment, const QString &name)
{
    bool ok = false;
    const int value = environment.value(name).toInt(&ok);
    return ok && value < 1;
}

} // namespace

PlayerScale PlayerScale::fromEnvironment(const QProcessEnvironment &environment)
{
    PlayerScale scale;
    if (environment.contains("QT_SCALE_FACTOR"))
        scale.global = factor(environment.value("QT_SCALE_FACTOR")).value_or(1);
    else
        scale.global = qMax(1, environment.value("QT_DEVICE_PIXEL_RATIO").toInt());
    // Entries count in the screens' order whether or not they name a screen.
    const QStringList screens
        = environment.value("QT_SCREEN_SCALE_FACTORS").split(QLatin1Char(';'));
    for (int i = 0; i < screens.size(); ++i) {
        const int equals = screens.at(i).lastIndexOf(QLatin1Char('='));
        const std::optional<qreal> value = factor(screens.at(i).mid(equals + 1));
        if (value && equals > 0)
            scale.byName.insert(screens.at(i).left(equals), *value);
        else if (value && equals < 0)
            scale.byIndex.insert(i, *value);
    }
    scale.followsDpi = !turnedOff(environment, "QT_AUTO_SCREEN_SCALE_FACTOR")
        && !turnedOff(environment, "QT_ENABLE_HIGHDPI_SCALING");
    return scale;
}

qreal PlayerScale::of(const QString &name, int startIndex, qreal dpiFactor) const
{
    qreal screen = followsDpi ? dpiFactor : 1;
    if (byName.contains(name))
        screen = byName.value(name);
    else if (byIndex.contains(startIndex))
        screen = byIndex.value(startIndex);
    return global * screen;
}

WindowScale fittedScale(qreal own, const QSize &room, const QSize &designed)
{
    const qreal fits
        = qMin(qreal(room.width()) / designed.width(), qreal(room.height()) / designed.height());
    qreal scale = fits;
    if (qAbs(own - 1) <= 0.02 && fits >= 1)
        scale = 1;
    else if (own <= fits)
        scale = own;
    else if (fits >= 1)
        scale = std::floor(fits / step) * step;
    if (scale >= 1)
        return {scale, 1};
    return {1, scale};
}

ScreenFit::ScreenFit(const QSize &designed, QObject *parent)
    : QObject(parent)
    , m_designed(designed)
    , m_player(PlayerScale::fromEnvironment(QProcessEnvironment::systemEnvironment()))
{
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        m_startIndex.insert(screen->name(), m_startIndex.size());
        fit(screen);
        watch(screen);
    }
    connect(qApp, &QGuiApplication::screenRemoved, this,
            [this](QScreen *screen) { m_windowShrink.remove(screen); });
    connect(qApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        if (fit(screen))
            emit refitted(screen);
        watch(screen);
        // Qt puts the player's factors back on every screen as one comes.
        QMetaObject::invokeMethod(this, &ScreenFit::refitAll, Qt::QueuedConnection);
    });
}

void ScreenFit::watch(QScreen *screen)
{
    // Queued: Qt tells of a change while it still makes it, and a new
    // factor changes the screens' scaled geometry in turn. Every screen,
    // since Qt puts the player's factors back on all of them when one's
    // DPI changes.
    for (const auto change : {&QScreen::availableGeometryChanged, &QScreen::geometryChanged})
        connect(screen, change, this, &ScreenFit::refitAll, Qt::QueuedConnection);
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, &ScreenFit::refitAll,
            Qt::QueuedConnection);
}

void ScreenFit::refitAll()
{
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        if (fit(screen))
            emit refitted(screen);
    }
}

// Sets the screen's scale and the window's shrinking on it; false when
// neither changed.
bool ScreenFit::fit(QScreen *screen)
{
    QPlatformScreen *platform = screen->handle();
    // The screen's DPI as Qt turns it into a scale, not the scale it has now,
    // which may be one fitted before, on this screen or on one of its name
    // that was plugged out.
    const qreal dpiFactor = qreal(QPlatformScreen::overrideDpi(platform->logicalDpi()).first)
        / platform->logicalBaseDpi().first;
    const qreal own
        = m_player.of(screen->name(), m_startIndex.value(screen->name(), -1), dpiFactor);
    // In the screen's own pixels, which Qt's scaled geometry only rounds.
    const QSize room = platform->availableGeometry().size() - windowFramePixels(screen);
    const WindowScale scale = fittedScale(own, room, m_designed);
    const bool shrinkChanged = qAbs(windowShrink(screen) - scale.window) >= 0.001;
    m_windowShrink.insert(screen, scale.window);
    // Within a thousandth: a factor of 1 is set a hair above it.
    if (qAbs(screen->devicePixelRatio() - scale.screen) < 0.001)
        return shrinkChanged;
    // A screen's factor stands in for the screen's own scale, under the
    // factor for the whole program. Qt overlooks a factor of exactly 1
    // while no other screen has one; a hair above it gives the same pixels.
    const qreal screenFactor = scale.screen / m_player.global;
    QHighDpiScaling::setScreenFactor(screen,
                                     qFuzzyCompare(screenFactor, 1) ? 1.000001 : screenFactor);
    return true;
}
