// A stand-in for the vendor's device I/O library, so that the panel runs
// where no board and no vendor library are at hand. It simulates boards with
// two ports each, 8 lines on port 0 and 4 on port 1, whose outputs are wired
// back to their inputs: what dvn_out drives, dvn_inp reads.
//
// Configured by the environment of the program that loads it:
//   DALVENIX_SIM_DEVICES  how many boards are attached, 0 to 16 (default 2);
//                         any other value means none can be found, and dvn_find
//                         says so with the result 2.
//   DALVENIX_SIM_TRACE    a file that receives one line per call, such as
//                         "dvn_out(1, 15, 0, 0) = 0", flushed at once.
#include <array>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "device/entry_points.h"

#if defined(_WIN32)
// Exported under their decorated names through dalvenix.def.
#define DVN_EXPORT extern "C"
#else
#define DVN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

constexpr int kMaxDevices = 16;
constexpr int kDefaultDevices = 2;
constexpr std::array<std::uint8_t, 2> kPortMask{0xFF, 0x0F};

// dvn_find's results.
constexpr std::int32_t kFound = 0;
constexpr std::int32_t kNoneAttached = 1;
constexpr std::int32_t kBadConfiguration = 2;
// Any other operation's result when it could not do its work.
constexpr std::int32_t kRefused = -1;

struct Board {
  std::array<std::uint8_t, 2> latch{0, 0};
};

struct Simulation {
  bool configured = false;
  bool configuration_valid = true;
  std::string configuration_problem;
  int devices = 0;
  int selected = -1;  // none until dvn_seldev
  std::array<Board, kMaxDevices> boards{};
};

Simulation& simulation() {
  static Simulation state;
  return state;
}

// Appends one line to the trace file, if one is configured.
void trace(const std::string& line) {
#if defined(_WIN32)
  const wchar_t* path = _wgetenv(L"DALVENIX_SIM_TRACE");
  if (path == nullptr || *path == L'\0') return;
  std::FILE* file = _wfopen(path, L"ab");
#else
  const char* path = std::getenv("DALVENIX_SIM_TRACE");
  if (path == nullptr || *path == '\0') return;
  std::FILE* file = std::fopen(path, "ab");
#endif
  if (file == nullptr) return;
  std::fputs(line.c_str(), file);
  std::fputc('\n', file);
  std::fclose(file);
}

// "name(p1, p2, p3, p4) = result". Formatted with snprintf: std::to_string
// would make the library impossible to unload (a GNU unique symbol).
std::string call_text(const char* name, const char* p1, std::int32_t p2, std::int32_t p3,
                      std::int32_t p4, std::int32_t result) {
  char line[128];
  std::snprintf(line, sizeof line, "%s(%s, %" PRId32 ", %" PRId32 ", %" PRId32 ") = %" PRId32, name,
                p1, p2, p3, p4, result);
  return line;
}

void trace_call(const char* name, std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                std::int32_t p4, std::int32_t result) {
  char first[32];
  std::snprintf(first, sizeof first, "%" PRIdPTR, p1);
  trace(call_text(name, first, p2, p3, p4, result));
}

// Reads DALVENIX_SIM_DEVICES: a whole number from 0 to 16, or absent.
void read_configuration(Simulation& sim) {
  sim.configured = true;
  sim.configuration_valid = true;
  sim.configuration_problem.clear();
  sim.devices = kDefaultDevices;
  const char* text = std::getenv("DALVENIX_SIM_DEVICES");
  if (text == nullptr) return;
  const bool all_digits = *text != '\0' && std::strlen(text) <= 2 &&
                          std::strspn(text, "0123456789") == std::strlen(text);
  const int count = all_digits ? std::atoi(text) : -1;
  if (count < 0 || count > kMaxDevices) {
    sim.configuration_valid = false;
    sim.configuration_problem = "# DALVENIX_SIM_DEVICES=\"" + std::string(text) +
                                "\" is not a whole number from 0 to 16: no device is connected";
    sim.devices = 0;
    return;
  }
  sim.devices = count;
}

Simulation& configured_simulation() {
  Simulation& sim = simulation();
  if (!sim.configured) read_configuration(sim);
  return sim;
}

Board* selected_board() {
  Simulation& sim = configured_simulation();
  if (sim.selected < 0 || sim.selected >= sim.devices) return nullptr;
  return &sim.boards[static_cast<std::size_t>(sim.selected)];
}

bool is_port(std::intptr_t port) { return port == 0 || port == 1; }

}  // namespace

// Looks for attached boards again, reading the configuration afresh.
DVN_EXPORT std::int32_t DVN_CALL dvn_find(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                          std::int32_t p4) {
  Simulation& sim = simulation();
  read_configuration(sim);
  std::int32_t result = sim.devices > 0 ? kFound : kNoneAttached;
  if (!sim.configuration_valid) {
    trace(sim.configuration_problem);
    result = kBadConfiguration;
  }
  trace_call("dvn_find", p1, p2, p3, p4, result);
  return result;
}

DVN_EXPORT std::int32_t DVN_CALL dvn_getdevs(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                             std::int32_t p4) {
  const std::int32_t result = configured_simulation().devices;
  trace_call("dvn_getdevs", p1, p2, p3, p4, result);
  return result;
}

DVN_EXPORT std::int32_t DVN_CALL dvn_seldev(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                            std::int32_t p4) {
  Simulation& sim = configured_simulation();
  const bool present = p1 >= 0 && p1 < sim.devices;
  sim.selected = present ? static_cast<int>(p1) : -1;
  const std::int32_t result = present ? 0 : kRefused;
  trace_call("dvn_seldev", p1, p2, p3, p4, result);
  return result;
}

DVN_EXPORT std::int32_t DVN_CALL dvn_inp(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                         std::int32_t p4) {
  Board* board = selected_board();
  auto* byte = reinterpret_cast<std::uint8_t*>(p1);
  const bool stored = board != nullptr && byte != nullptr && is_port(p2);
  if (stored) *byte = board->latch[static_cast<std::size_t>(p2)];
  std::string line = call_text("dvn_inp", "*", p2, p3, p4, stored ? 0 : kRefused) + " -> ";
  if (stored) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(*byte));
    line += hex;
  } else {
    line += "--";
  }
  trace(line);
  return stored ? 0 : kRefused;
}

DVN_EXPORT std::int32_t DVN_CALL dvn_out(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                         std::int32_t p4) {
  Board* board = selected_board();
  const bool driven = board != nullptr && is_port(p1);
  if (driven) {
    const auto port = static_cast<std::size_t>(p1);
    board->latch[port] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(p2) & kPortMask[port]);
  }
  const std::int32_t result = driven ? 0 : kRefused;
  trace_call("dvn_out", p1, p2, p3, p4, result);
  return result;
}

DVN_EXPORT std::int32_t DVN_CALL dvn_free(std::intptr_t p1, std::int32_t p2, std::int32_t p3,
                                          std::int32_t p4) {
  for (Board& board : configured_simulation().boards) board.latch = {0, 0};
  trace_call("dvn_free", p1, p2, p3, p4, 0);
  return 0;
}
