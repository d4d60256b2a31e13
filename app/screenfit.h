// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QScreen> // for the signal's argument
#include <QSize>

class QProcessEnvironment;

// The scale the player set for Qt programs, read as Qt reads it: a factor for
// the whole program (QT_SCALE_FACTOR, or the older QT_DEVICE_PIXEL_RATIO) on
// top of each screen's, which is the player's (QT_SCREEN_SCALE_FACTORS, by
// name or in the screens' order) or else follows the screen's DPI, unless
// the player turned that off (QT_AUTO_SCREEN_SCALE_FACTOR=0, as Plasma does).
struct PlayerScale
{
    qreal global = 1;
    QHash<QString, qreal> byName;
    QHash<int, qreal> byIndex; // by place among the screens at start
    bool followsDpi = true;

    static PlayerScale fromEnvironment(const QProcessEnvironment &environment);
    // The scale of the screen of that name and place among the screens at
    // start (-1 for one plugged in later), whose DPI asks for `dpiFactor`.
    qreal of(const QString &name, int startIndex, qreal dpiFactor) const;
};

// How a window of `designed` pixels at 100 % is scaled on a screen of scale
// `own` whose work area leaves `room` of its pixels beside the frame: Qt's
// factor for the screen, and the window's own shrinking below that. Qt 5's
// widgets draw only parts of themselves under a factor below 1, so below
// 100 % (where the window does not fit, or the player asked for less) the
// screen stays at 100 % and the window lays itself out smaller.
struct WindowScale
{
    qreal screen = 1;
    qreal window = 1;
};

// The screen's own scale where the window fits (1 within 2 %, which is a
// screen's DPI read from its rounded size); else the largest step of 1/8
// that fits, so that Qt 5 paints the picture and text without seams; where
// not even 100 % fits, the window shrinks to fit whole, never off the top.
WindowScale fittedScale(qreal own, const QSize &room, const QSize &designed);

// Gives every screen, as it comes and whenever its work area or DPI changes,
// the scale at which the window, frame included, fits the screen's work
// area (the screen without its taskbar), always worked out from the screen's
// own scale, never from one fitted before. Each screen keeps a scale of its
// own, so the window takes the right one on whichever screen it opens on or
// is moved to. Made after the application and before the window, so that
// its background and text are drawn for that scale.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    explicit ScreenFit(const QSize &designed, QObject *parent = nullptr);

    // What the window shrinks itself by on that screen (1 mostly).
    qreal windowShrink(QScreen *screen) const { return m_windowShrink.value(screen, 1); }

signals:
    // A screen's scale changed after start: a window on it is to be sized
    // and drawn again.
    void refitted(QScreen *screen);

private:
    void watch(QScreen *screen);
    void refitAll();
    bool fit(QScreen *screen);

    QSize m_designed;
    PlayerScale m_player;
    QHash<QString, int> m_startIndex;
    QHash<QScreen *, qreal> m_windowShrink;
};
