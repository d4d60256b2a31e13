// SPDX-License-Identifier: GPL-3.0-or-later
#include "stylesheets.h"

namespace {

// The window's colours: the buttons' gold, the light of a button under the
// pointer or the keyboard, the picture's darkest brown, and the gold of a
// control that cannot be used.
const QLatin1String first("rgb(170,170,40)");
const QLatin1String second("rgb(255,255,190)");
const QLatin1String dark("rgb(20,11,4)");
const QLatin1String dimmed("rgb(105,100,55)");

// A length of the design in pixels, for a window shrunk by `shrink`.
QString px(int pixels, qreal shrink)
{
    return QString::number(qMax(1, qRound(pixels * shrink))) + QLatin1String("px");
}

QString launcherStyleSheet(qreal shrink)
{
    return "QPushButton { padding:" + px(10, shrink) + "; border:" + px(4, shrink)
        + " solid transparent; background-color: transparent; color:" + first
        + "; border-radius:" + px(25, shrink) + "; }QPushButton:hover { border-color:" + second
        + "; color:" + second + "; } QCheckBox { color:" + first
        + "; }QComboBox { background-color:" + first + "; color:" + second + "; }";
}

// Where the keyboard is, on every control, in the window's own colours; and
// the lists' text dark on their gold, where the light text was hard to read.
// A border of the control's own size is there unseen until it has the focus,
// so that nothing moves when the focus does.
QString focusStyleSheet(qreal shrink)
{
    return "QPushButton:focus { border-color:" + second
        + "; outline:none; } QCheckBox { outline:none; border:" + px(2, shrink)
        + " solid transparent; border-radius:" + px(6, shrink) + "; padding:" + px(2, shrink) + " "
        + px(6, shrink) + " " + px(2, shrink) + " " + px(2, shrink)
        + "; } QCheckBox:focus { border-color:" + second + "; } QComboBox { color:" + dark
        + "; border:" + px(2, shrink) + " solid " + first + "; border-radius:" + px(4, shrink)
        + "; padding:" + px(1, shrink) + " " + px(4, shrink) + "; } QComboBox:focus { border-color:"
        + second + "; } QComboBox QAbstractItemView { background-color:" + first + "; color:" + dark
        + "; selection-background-color:" + dark + "; selection-color:" + second + "; }";
}

// While a press runs, every control but its progress is disabled, and shows
// it: the gold dimmed, and nothing lit under the pointer.
QString disabledStyleSheet()
{
    return "QPushButton:disabled, QCheckBox:disabled { color:" + dimmed
        + "; border-color:transparent; } QComboBox:disabled { background-color:" + dimmed
        + "; border-color:" + dimmed + "; color:" + dark + "; }";
}

} // namespace

// The progress of a long press, over the picture above the options: the file
// being copied, and a thin bar in the buttons' colours.
QString pressPanelStyleSheet()
{
    return QStringLiteral(
        "QLabel { color:rgb(255,255,190); }"
        "QProgressBar { border:1px solid rgb(170,170,40); border-radius:4px; "
        "background-color:rgba(0,0,0,90); max-height:8px; }"
        "QProgressBar::chunk { background-color:rgb(170,170,40); border-radius:3px; }");
}

QString windowStyleSheet(qreal shrink)
{
    return launcherStyleSheet(shrink) + focusStyleSheet(shrink) + disabledStyleSheet();
}
