// Recognises the window system's request to close a window among the native
// events Qt passes on: on X11, the WM_DELETE_WINDOW message a window
// manager's close button sends.
#pragma once

#include <QByteArray>

namespace dalvenix::qt {

// Whether a native event, as QWidget::nativeEvent receives it, asks the
// window to close. False for every event of another window system.
bool is_window_close_request(const QByteArray& event_type, const void* message);

}  // namespace dalvenix::qt
