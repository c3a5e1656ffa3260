// One ordered record of what the handlers did to the library and the window,
// written in the stand-in library's trace form: "dvn_out(1, 15, 0, 0)".
#pragma once

#include <string>
#include <vector>

namespace dalvenix::testing {

using EventLog = std::vector<std::string>;

}  // namespace dalvenix::testing
