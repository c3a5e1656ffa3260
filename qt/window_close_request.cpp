#include "qt/window_close_request.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace dalvenix::qt {
namespace {

// The atom of a name on the application's X connection; XCB_ATOM_NONE when
// there is none.
xcb_atom_t atom(std::string_view name) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr) return XCB_ATOM_NONE;
  xcb_connection_t* connection = x11->connection();
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.data());
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

bool is_window_close_request(const QByteArray& event_type, const void* message) {
  if (event_type != "xcb_generic_event_t" || message == nullptr) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  // The top bit marks an event that another client sent, as a window manager does.
  constexpr std::uint8_t kSentEventBit = 0x80;
  if ((event->response_type & static_cast<std::uint8_t>(~kSentEventBit)) != XCB_CLIENT_MESSAGE) {
    return false;
  }
  const auto* client_message = static_cast<const xcb_client_message_event_t*>(message);
  static const xcb_atom_t protocols = atom("WM_PROTOCOLS");
  static const xcb_atom_t delete_window = atom("WM_DELETE_WINDOW");
  return client_message->format == 32 && protocols != XCB_ATOM_NONE &&
         client_message->type == protocols && client_message->data.data32[0] == delete_window;
}

}  // namespace dalvenix::qt
