// The panel's two message boxes, both modal to the window and bearing the
// application's title: the handlers' message (one OK button, no icon) and the
// report of a failure that ends the program.
#pragma once

#include <string_view>

class QWidget;

namespace dalvenix::qt {

// Returns once the user has dismissed it.
void show_panel_message(QWidget& window, std::string_view text);

// The report names what failed; returns once the user has dismissed it.
void show_fatal_report(QWidget& window, std::string_view report);

}  // namespace dalvenix::qt
