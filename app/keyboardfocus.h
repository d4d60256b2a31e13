// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Lets the keyboard, and so a gamepad whose buttons Steam turns into keys,
// reach every control of the window: the arrow keys move the focus to the
// nearest control in their direction; Enter presses the focused button,
// ticks or clears the box, or opens the list (whose own arrows and Enter then
// choose); Escape closes the window. Tab follows the form's order.
class KeyboardFocus : public QObject
{
public:
    explicit KeyboardFocus(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *first() const;
    QWidget *nearest(const QWidget *from, int key) const;

    QWidget *m_window;
};
