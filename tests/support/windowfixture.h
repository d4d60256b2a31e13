// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "launcherfixture.h"
#include "press/filestep.h"
#include "staging/pressinputs.h"

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <functional>

// What the cases need around the launcher's window: its boxes answered, the
// addresses it opens recorded, its buttons' plans, and its event loop run.

// Answers the modal message boxes a call opens: records each box's title, text
// and icon, then presses its OK button.
class MessageBoxCloser : public QObject
{
    Q_OBJECT

public:
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QString wayOut; // the informative text below the text
        QString fontFamily;
        double okContrast; // of the OK button's text against its ground
    };

    MessageBoxCloser();

    const QList<Box> &boxes() const { return m_boxes; }
    int count() const { return m_boxes.size(); }
    // True when the timer polled at least once while boxes were expected.
    bool fired() const { return m_fired; }

private:
    void closeActiveBox();

    QTimer m_timer;
    QList<Box> m_boxes;
    bool m_fired = false;
};

// Relative luminance of an sRGB colour, and the contrast of two, as the
// web's accessibility guidelines measure them.
double relativeLuminance(const QColor &colour);
double contrast(const QColor &one, const QColor &other);

// Stands in for the browser or Steam: records the addresses handed to the
// desktop services for a scheme while it is installed.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    explicit UrlRecorder(const QString &scheme);
    ~UrlRecorder() override;

    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }

private:
    QString m_scheme;
};

// The choices of a player who picked the second interface size (1.5) and a
// named theme (Mamelukes, the fifth in the sample's selector).
PressChoices namedTheme();

// The plan a start button's slot makes ("ButtonClassic", "ButtonHardcore",
// "SPCbava" for the Bavaria campaign and the other campaigns' buttons,
// "ButtonVanilla"), without the window.
FilePlan planOf(const QString &button, const PressChoices &choices, const ModListing &listing);

// Applies steps as a press does and shows its boxes over the window, but
// starts no game.
void applySteps(QWidget *window, const FilePlan &plan);

// Presses a start button and waits for the stub game the launch starts.
bool pressAndStart(const LauncherFixture &fixture, QWidget &window, const QString &button);

// Runs the action inside the application's event loop and tells whether the
// launcher ended the loop before the time ran out, and with which status.
constexpr int loopTimedOut = -999;
int loopStatusOf(const std::function<void()> &action, int timeoutMs = 5000);
inline bool quitsApplication(const std::function<void()> &action, int timeoutMs = 5000)
{
    return loopStatusOf(action, timeoutMs) != loopTimedOut;
}
