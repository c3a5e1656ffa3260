// A stand-in for the vendor's device I/O library, so that the panel runs
// where no board and no vendor library are at hand. It simulates boards with
// two ports each, 8 lines on port 0 and 4 on port 1, whose outputs are wired
// back to their inputs: what dvn_out drives, dvn_inp reads.
//
// Configured by the environment of the program that loads it:
//   DALVENIX_SIM_DEVICES  how many boards are attached, a whole number from 0
//                         to 16, leading zeros allowed (default 2); any other
//                         value means none can be found, and dvn_find says so
//                         with the result 2.
//   DALVENIX_SIM_TRACE    a file that receives one line per call, such as
//                         "dvn_out(1, 15, 0, 0) = 0", flushed at once; control
//                         characters are written escaped ("\n", "\x1b"). When
//                         it cannot be written, one line on stderr says so the
//                         first time, and the calls go on untraced.
//
// Any thread may call any entry: one lock guards the simulation and the trace.
#include <algorithm>
#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "device/entry_points.h"

#if defined(_WIN32)
// Exported under their decorated names through dalvenix.def.
#define DVN_EXPORT extern "C"
#else
#define DVN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

using dalvenix::device::Entry;

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
  bool trace_failure_reported = false;
};

// The one lock every entry holds while it runs, and what it guards.
struct Guarded {
  std::mutex lock;
  Simulation simulation;
};

Guarded& guarded() {
  static Guarded state;
  return state;
}

// One call as the trace shows it.
struct Call {
  std::intptr_t p1;
  std::int32_t p2;
  std::int32_t p3;
  std::int32_t p4;
  std::string shown_p1;  // p1 as written, when not in decimal
  std::string after;     // written after the result
};

// The line with every control character escaped, so that no value can
// start a line of its own or reach a terminal as a control sequence.
std::string escaped(std::string_view line) {
  std::string text;
  text.reserve(line.size());
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n': text += "\\n"; break;
      case '\r': text += "\\r"; break;
      case '\t': text += "\\t"; break;
      case '\\': text += "\\\\"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char code[5];
          std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned>(byte));
          text += code;
        } else {
          text += c;
        }
    }
  }
  return text;
}

// The first failure to write the trace is told on stderr, once; the call
// itself goes on.
void report_trace_failure(Simulation& sim, int error) {
  if (sim.trace_failure_reported) return;
  sim.trace_failure_reported = true;
  const char* path = std::getenv("DALVENIX_SIM_TRACE");
  std::fprintf(stderr,
               "dalvenix stand-in: cannot write the trace file DALVENIX_SIM_TRACE=\"%s\" (%s); "
               "calls go on untraced\n",
               escaped(path != nullptr ? path : "").c_str(), std::strerror(error));
}

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Appends one line to the trace file, if one is configured.
void trace(Simulation& sim, std::string_view line) {
#if defined(_WIN32)
  const wchar_t* path = _wgetenv(L"DALVENIX_SIM_TRACE");
  if (path == nullptr || *path == L'\0') return;
  const File file(_wfopen(path, L"ab"));
#else
  const char* path = std::getenv("DALVENIX_SIM_TRACE");
  if (path == nullptr || *path == '\0') return;
  const File file(std::fopen(path, "ab"));
#endif
  if (file == nullptr) {
    report_trace_failure(sim, errno);
    return;
  }
  const std::string text = escaped(line) + "\n";
  // Flushed at once; a full disk shows here.
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
      std::fflush(file.get()) != 0) {
    report_trace_failure(sim, errno);
  }
}

// "name(p1, p2, p3, p4) = result" and what follows. Formatted with snprintf:
// std::to_string would make the library impossible to unload (a GNU unique
// symbol).
std::string call_text(Entry entry, const Call& call, std::int32_t result) {
  std::string first = call.shown_p1;
  if (first.empty()) {
    char decimal[32];
    std::snprintf(decimal, sizeof decimal, "%" PRIdPTR, call.p1);
    first = decimal;
  }
  char line[160];
  std::snprintf(line, sizeof line, "%s(%s, %" PRId32 ", %" PRId32 ", %" PRId32 ") = %" PRId32,
                std::string(dalvenix::device::operation_name(entry)).c_str(), first.c_str(),
                call.p2, call.p3, call.p4, result);
  return line + call.after;
}

// Reads DALVENIX_SIM_DEVICES: a whole number from 0 to 16, or absent.
void read_configuration(Simulation& sim) {
  sim.configured = true;
  sim.configuration_valid = true;
  sim.configuration_problem.clear();
  sim.devices = kDefaultDevices;
  const char* text = std::getenv("DALVENIX_SIM_DEVICES");
  if (text == nullptr) return;
  const std::string_view setting(text);
  const bool all_digits =
      !setting.empty() && setting.find_first_not_of("0123456789") == std::string_view::npos;
  // Leading zeros say nothing: "016" is 16, "000" is 0.
  const std::string_view digits =
      all_digits ? setting.substr(std::min(setting.find_first_not_of('0'), setting.size() - 1))
                 : std::string_view();
  const int count = all_digits && digits.size() <= 2 ? std::atoi(std::string(digits).c_str()) : -1;
  if (count < 0 || count > kMaxDevices) {
    sim.configuration_valid = false;
    sim.configuration_problem = "# DALVENIX_SIM_DEVICES=\"" + std::string(setting) +
                                "\" is not a whole number from 0 to 16: no device is connected";
    sim.devices = 0;
    return;
  }
  sim.devices = count;
}

Simulation& configured(Simulation& sim) {
  if (!sim.configured) read_configuration(sim);
  return sim;
}

Board* selected_board(Simulation& sim) {
  configured(sim);
  if (sim.selected < 0 || sim.selected >= sim.devices) return nullptr;
  return &sim.boards[static_cast<std::size_t>(sim.selected)];
}

bool is_port(std::intptr_t port) { return port == 0 || port == 1; }

// The entries' bodies.

// Looks for attached boards again, reading the configuration afresh.
std::int32_t find(Simulation& sim, Call&) {
  read_configuration(sim);
  if (!sim.configuration_valid) {
    trace(sim, sim.configuration_problem);
    return kBadConfiguration;
  }
  return sim.devices > 0 ? kFound : kNoneAttached;
}

std::int32_t get_devices(Simulation& sim, Call&) { return configured(sim).devices; }

std::int32_t select_device(Simulation& sim, Call& call) {
  configured(sim);
  const bool present = call.p1 >= 0 && call.p1 < sim.devices;
  sim.selected = present ? static_cast<int>(call.p1) : -1;
  return present ? 0 : kRefused;
}

std::int32_t input(Simulation& sim, Call& call) {
  Board* board = selected_board(sim);
  auto* byte = reinterpret_cast<std::uint8_t*>(call.p1);
  const bool stored = board != nullptr && byte != nullptr && is_port(call.p2);
  // Texts are moved in rather than assigned from literals: GCC 12 at -O3
  // reports a false -Wrestrict for the assignment.
  call.shown_p1 = std::string(1, '*');
  call.after = std::string(" -> --");
  if (!stored) return kRefused;
  *byte = board->latch[static_cast<std::size_t>(call.p2)];
  char hex[8];
  std::snprintf(hex, sizeof hex, " -> %02X", static_cast<unsigned>(*byte));
  call.after = std::string(hex);
  return 0;
}

std::int32_t output(Simulation& sim, Call& call) {
  Board* board = selected_board(sim);
  if (board == nullptr || !is_port(call.p1)) return kRefused;
  const auto port = static_cast<std::size_t>(call.p1);
  board->latch[port] =
      static_cast<std::uint8_t>(static_cast<std::uint32_t>(call.p2) & kPortMask[port]);
  return 0;
}

std::int32_t free_all(Simulation& sim, Call&) {
  for (Board& board : configured(sim).boards) board.latch = {0, 0};
  return 0;
}

std::int32_t perform(Entry entry, Simulation& sim, Call& call) {
  switch (entry) {
    case Entry::dvn_find: return find(sim, call);
    case Entry::dvn_getdevs: return get_devices(sim, call);
    case Entry::dvn_seldev: return select_device(sim, call);
    case Entry::dvn_inp: return input(sim, call);
    case Entry::dvn_out: return output(sim, call);
    case Entry::dvn_free: return free_all(sim, call);
  }
  return kRefused;  // every entry has its case above; the compiler checks that
}

// Every entry: one call at a time, traced once it is done.
std::int32_t run(Entry entry, std::intptr_t p1, std::int32_t p2, std::int32_t p3, std::int32_t p4) {
  Guarded& state = guarded();
  const std::lock_guard<std::mutex> hold(state.lock);
  Call call{p1, p2, p3, p4, {}, {}};
  const std::int32_t result = perform(entry, state.simulation, call);
  trace(state.simulation, call_text(entry, call, result));
  return result;
}

}  // namespace

// The exported entries, one per operation of the list.
#define DVN_STANDIN_ENTRY(op)                                                             \
  DVN_EXPORT std::int32_t DVN_CALL op(std::intptr_t p1, std::int32_t p2, std::int32_t p3, \
                                      std::int32_t p4) {                                  \
    return run(Entry::op, p1, p2, p3, p4);                                                \
  }
DVN_ENTRIES(DVN_STANDIN_ENTRY)
#undef DVN_STANDIN_ENTRY
