// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboardfocus.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QWidget>

#include <limits>
#include <optional>

namespace {

// The window's own controls; a list's popup is a window of its own, whose
// keys are its own.
QList<QWidget *> controlsOf(QWidget *window)
{
    return window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
}

bool takesFocus(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled();
}

// How far a control lies in the key's direction from the focused one, or
// nothing where its centre does not lie past the focused one's edge. Controls in
// line with the focused one (their edges overlap across the direction) come
// first; then the distance along the direction from centre to centre, and
// across it the gap between their edges, which counts double.
std::optional<int> distance(const QRect &from, const QRect &to, int key)
{
    const QPoint centre = from.center();
    const QPoint target = to.center();
    auto gap = [](int low, int high, int otherLow, int otherHigh) {
        return std::max({0, otherLow - high, low - otherHigh});
    };
    const bool horizontal = key == Qt::Key_Left || key == Qt::Key_Right;
    const int across = horizontal ? gap(from.top(), from.bottom(), to.top(), to.bottom())
                                  : gap(from.left(), from.right(), to.left(), to.right());
    int along = -1;
    if (key == Qt::Key_Left && target.x() < from.left())
        along = centre.x() - target.x();
    else if (key == Qt::Key_Right && target.x() > from.right())
        along = target.x() - centre.x();
    else if (key == Qt::Key_Up && target.y() < from.top())
        along = centre.y() - target.y();
    else if (key == Qt::Key_Down && target.y() > from.bottom())
        along = target.y() - centre.y();
    if (along < 0)
        return std::nullopt;
    const int outOfLine = across > 0 ? 100000 : 0;
    return outOfLine + along + 2 * across;
}

} // namespace

KeyboardFocus::KeyboardFocus(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    window->installEventFilter(this);
    for (QWidget *control : controlsOf(window)) {
        if (control->focusPolicy() & Qt::TabFocus)
            control->installEventFilter(this);
    }
}

bool KeyboardFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *press = static_cast<QKeyEvent *>(event);
    if (press->modifiers() & ~Qt::KeypadModifier)
        return false;
    auto *control = qobject_cast<QWidget *>(watched);
    switch (press->key()) {
    case Qt::Key_Escape:
        m_window->close();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (QWidget *next = control == m_window ? first() : nearest(control, press->key()))
            next->setFocus(Qt::TabFocusReason);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *box = qobject_cast<QCheckBox *>(control)) {
            box->click();
            return true;
        }
        if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            button->animateClick();
            return true;
        }
        if (auto *list = qobject_cast<QComboBox *>(control)) {
            list->showPopup();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Where the focus goes when no control has it, as after a press.
QWidget *KeyboardFocus::first() const
{
    for (QWidget *next = m_window->nextInFocusChain(); next != m_window;
         next = next->nextInFocusChain()) {
        if (next->parentWidget() == m_window && takesFocus(next))
            return next;
    }
    return nullptr;
}

QWidget *KeyboardFocus::nearest(const QWidget *from, int key) const
{
    const QRect origin(from->mapTo(m_window, QPoint()), from->size());
    QWidget *best = nullptr;
    int bestDistance = std::numeric_limits<int>::max();
    for (QWidget *control : controlsOf(m_window)) {
        if (control == from || !takesFocus(control))
            continue;
        const std::optional<int> d
            = distance(origin, QRect(control->mapTo(m_window, QPoint()), control->size()), key);
        if (d && *d < bestDistance) {
            best = control;
            bestDistance = *d;
        }
    }
    return best;
}
