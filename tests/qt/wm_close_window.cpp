// Asks an X11 window to close the way a window manager's close button does:
// it sends the window a WM_DELETE_WINDOW message. Xvfb runs no window manager,
// and xdotool can only destroy a window, which no program sees as a close.
//
// Usage: wm_close_window WINDOW-ID   (decimal or 0x hex, as xdotool prints it)
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct DisplayCloser {
  void operator()(Display* display) const noexcept { XCloseDisplay(display); }
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s WINDOW-ID\n", argv[0]);
    return 2;
  }
  char* end = nullptr;
  const Window window = std::strtoul(argv[1], &end, 0);
  if (end == argv[1] || *end != '\0' || window == 0) {
    std::fprintf(stderr, "wm_close_window: \"%s\" is not a window id\n", argv[1]);
    return 2;
  }
  const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) {
    std::fprintf(stderr, "wm_close_window: cannot open the display\n");
    return 1;
  }
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
  message.xclient.format = 32;
  message.xclient.data.l[0] =
      static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
  message.xclient.data.l[1] = CurrentTime;
  if (XSendEvent(display.get(), window, False, NoEventMask, &message) == 0) {
    std::fprintf(stderr, "wm_close_window: cannot send to window %s\n", argv[1]);
    return 1;
  }
  XSync(display.get(), False);
  return 0;
}
