// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowframe.h"

#include <qpa/qplatformwindow.h>
#include <QWindow>

#ifdef VELMARCH_XCB
#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>
#include <QThread>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#endif

#ifdef Q_OS_WIN
#include <dwmapi.h>
#include <windows.h>
#endif

namespace {

#ifdef VELMARCH_XCB
template<typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t xcbAtom(xcb_connection_t *connection, const char *name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, false, strlen(name), name),
                              nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

bool windowManagerSupports(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t feature)
{
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, false, root,
                                                xcbAtom(connection, "_NET_SUPPORTED"),
                                                XCB_ATOM_ATOM, 0, 4096),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, feature) != atoms + count;
}

// An X window manager draws the frame only once the window is shown. Asked
// beforehand (_NET_REQUEST_FRAME_EXTENTS), it names the frame's edges on the
// window that is not shown yet. Nothing where no window manager takes the
// question (none runs yet, or it does not know it).
std::optional<QMargins> frameFromWindowManager(QWindow &probe)
{
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    auto *connection
        = static_cast<xcb_connection_t *>(native->nativeResourceForIntegration("connection"));
    const auto root
        = xcb_window_t(quintptr(native->nativeResourceForScreen("rootwindow", probe.screen())));
    if (!connection || !root)
        return std::nullopt;
    const xcb_atom_t request = xcbAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    if (!windowManagerSupports(connection, root, request))
        return std::nullopt;
    xcb_client_message_event_t ask {};
    ask.response_type = XCB_CLIENT_MESSAGE;
    ask.format = 32;
    ask.window = xcb_window_t(probe.winId());
    ask.type = request;
    xcb_send_event(connection, false, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&ask));
    xcb_flush(connection);
    const xcb_atom_t extents = xcbAtom(connection, "_NET_FRAME_EXTENTS");
    // A window manager that supports the request answers within moments;
    // one that announces it and does not answer costs a tenth of a second.
    for (int tries = 0; tries < 10; ++tries) {
        const XcbReply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(
                connection,
                xcb_get_property(connection, false, ask.window, extents, XCB_ATOM_CARDINAL, 0, 4),
                nullptr),
            &std::free);
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 16) {
            // Left, right, top, bottom.
            const auto *edge = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
            return QMargins(int(edge[0]), int(edge[2]), int(edge[1]), int(edge[3]));
        }
        QThread::msleep(10);
    }
    return QMargins();
}
#endif

#ifdef Q_OS_WIN
// Windows 10 and later count an unseen resize border of some pixels on the
// left, right and bottom into a window's frame; only what shows (the
// desktop window manager's bounds) has to fit the work area.
QMargins shownFrame(QWindow &probe, const QMargins &frame)
{
    const auto window = HWND(probe.winId());
    RECT whole;
    RECT shown;
    if (!GetWindowRect(window, &whole)
        || FAILED(DwmGetWindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &shown, sizeof shown)))
        return frame;
    const QMargins unseen(shown.left - whole.left, shown.top - whole.top, whole.right - shown.right,
                          whole.bottom - shown.bottom);
    if (unseen.left() < 0 || unseen.top() < 0 || unseen.right() < 0 || unseen.bottom() < 0)
        return frame;
    const QMargins rest = frame - unseen;
    return QMargins(qMax(0, rest.left()), qMax(0, rest.top()), qMax(0, rest.right()),
                    qMax(0, rest.bottom()));
}
#endif

} // namespace

QSize windowFramePixels(QScreen *screen)
{
    const auto pixels = [](const QMargins &frame) {
        return QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    };
#ifdef VELMARCH_XCB
    // The window manager's frame is the same on every screen: asked once,
    // its answer or its silence kept.
    static std::optional<QMargins> managersFrame;
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (x11 && managersFrame)
        return pixels(*managersFrame);
#endif
    QWindow probe(screen);
    probe.create();
    QMargins frame = probe.handle()->frameMargins();
#ifdef VELMARCH_XCB
    if (x11) {
        managersFrame = frameFromWindowManager(probe);
        frame = managersFrame.value_or(QMargins());
    }
#endif
#ifdef Q_OS_WIN
    frame = shownFrame(probe, frame);
#endif
    return pixels(frame);
}
