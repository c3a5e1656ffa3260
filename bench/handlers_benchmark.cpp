// What each handler costs per event beyond the library calls it makes: every
// handler runs against an in-process library and a window that only keeps
// texts, next to a baseline that makes the same library calls directly.
// Prints the figures and, at the end, each handler's ratio to its baseline.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "device/io_library.h"
#include "panel/control_table.h"
#include "panel/main_window.h"
#include "panel/panel_view.h"

namespace {

using dalvenix::panel::ControlId;

// Two boards whose outputs read back, as cheap as a library can be.
class InProcessLibrary final : public dalvenix::device::IoLibrary {
 private:
  std::int32_t call(dalvenix::device::Entry entry, std::intptr_t p1, std::int32_t p2, std::int32_t,
                    std::int32_t) override {
    using dalvenix::device::Entry;
    switch (entry) {
      case Entry::dvn_getdevs: return 2;
      case Entry::dvn_seldev: selected_ = static_cast<std::size_t>(p1 & 1); return 0;
      case Entry::dvn_inp:
        *reinterpret_cast<std::uint8_t*>(p1) = latch_[selected_][static_cast<std::size_t>(p2 & 1)];
        return 0;
      case Entry::dvn_out:
        latch_[selected_][static_cast<std::size_t>(p1 & 1)] = static_cast<std::uint8_t>(p2);
        return 0;
      case Entry::dvn_free: latch_ = {}; return 0;
      default: return 0;  // dvn_find: found
    }
  }

  std::size_t selected_ = 0;
  std::array<std::array<std::uint8_t, 2>, 2> latch_{};
};

// A window that keeps the texts the handlers write and nothing else.
class TextOnlyView final : public dalvenix::panel::PanelView {
 public:
  [[nodiscard]] std::string output_text(std::int16_t member) const override {
    return output_[static_cast<std::size_t>(member)];
  }
  void set_text(ControlId box, std::string_view text) override {
    if (box.group == dalvenix::panel::Group::txtOutDat) {
      output_[static_cast<std::size_t>(box.member)] = std::string(text);
    } else {
      last_text_ = std::string(text);
    }
  }
  [[nodiscard]] std::int16_t bar_value(std::int16_t) const override { return 12; }
  void show_message(std::string_view text) override { last_text_ = std::string(text); }
  void close_window() override {}

  // As if the user had pasted the text into txtOutDat(member).
  void paste(std::int16_t member, std::string text) {
    output_[static_cast<std::size_t>(member)] = std::move(text);
  }

 private:
  std::array<std::string, 4> output_{"FF", "0F", "A5", "05"};
  std::string last_text_;
};

// The library as the handlers see it, through the interface; laundered so
// the direct calls are not resolved at compile time and stay real calls.
dalvenix::device::IoLibrary& opaque(dalvenix::device::IoLibrary& library) {
  auto* pointer = &library;
  benchmark::DoNotOptimize(pointer);
  return *pointer;
}

struct Fixture {
  InProcessLibrary in_process;
  dalvenix::device::IoLibrary& library = opaque(in_process);
  TextOnlyView view;
  dalvenix::panel::MainWindow window{view, library};
};

void Handler_Find(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) f.window.on_btnFind_click(0);
}

void Direct_Find(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    if (f.library.dvn_find(0, 0, 0, 0) == 0)
      benchmark::DoNotOptimize(f.library.dvn_getdevs(0, 0, 0, 0));
  }
}

void Handler_Input(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) f.window.on_btnInp_click(1);
}

void Direct_Input(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    std::array<std::uint8_t, 2> buffer{};
    f.library.dvn_seldev(1, 0, 0, 0);
    f.library.dvn_inp(reinterpret_cast<std::intptr_t>(buffer.data()), 0, 0, 0);
    f.library.dvn_inp(reinterpret_cast<std::intptr_t>(buffer.data() + 1), 1, 0, 0);
    benchmark::DoNotOptimize(buffer);
  }
}

void Handler_Output(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) f.window.on_BtnOut_click(0);
}

void Direct_Output(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.library.dvn_seldev(0, 0, 0, 0));
    benchmark::DoNotOptimize(f.library.dvn_out(0, 0xFF, 0, 0));
    benchmark::DoNotOptimize(f.library.dvn_out(1, 0x0F, 0, 0));
  }
}

// A million characters pasted into a field: the handler reads the text,
// refuses it and shows the message; nothing is written.
void Handler_OutputHuge(benchmark::State& state) {
  Fixture f;
  f.view.paste(0, std::string(1'000'000, 'F'));
  for (auto _ : state) f.window.on_BtnOut_click(0);
}

void Direct_OutputHuge(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.library.dvn_seldev(0, 0, 0, 0));
}

void Handler_Bar(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) f.window.on_hsbVol_change(0);
}

void Direct_Bar(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.library.dvn_seldev(0, 0, 0, 0));
    benchmark::DoNotOptimize(f.library.dvn_out(0, 255, 0, 0));
    benchmark::DoNotOptimize(f.library.dvn_out(1, 15, 0, 0));
  }
}

void Handler_Unload(benchmark::State& state) {
  Fixture f;
  // A window frees the library once: each close is that of a fresh window.
  for (auto _ : state) {
    dalvenix::panel::MainWindow window{f.view, f.library};
    window.on_unload();
  }
}

void Direct_Unload(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.library.dvn_free(0, 0, 0, 0));
}

// Keeps every run's time per iteration, for the ratios at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        nanoseconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void print_ratios() const {
    std::printf("\nhandler cost relative to the same library calls made directly:\n");
    for (const char* name : {"Find", "Input", "Output", "OutputHuge", "Bar", "Unload"}) {
      const auto handler = nanoseconds_.find(std::string("Handler_") + name);
      const auto direct = nanoseconds_.find(std::string("Direct_") + name);
      if (handler == nanoseconds_.end() || direct == nanoseconds_.end()) continue;
      std::printf("  %-10s %10.1f ns / %6.1f ns = %5.1fx\n", name, handler->second, direct->second,
                  handler->second / direct->second);
    }
  }

 private:
  std::map<std::string, double> nanoseconds_;
};

}  // namespace

BENCHMARK(Direct_Find);
BENCHMARK(Handler_Find);
BENCHMARK(Direct_Input);
BENCHMARK(Handler_Input);
BENCHMARK(Direct_Output);
BENCHMARK(Handler_Output);
BENCHMARK(Direct_OutputHuge);
BENCHMARK(Handler_OutputHuge);
BENCHMARK(Direct_Bar);
BENCHMARK(Handler_Bar);
BENCHMARK(Direct_Unload);
BENCHMARK(Handler_Unload);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.print_ratios();
  benchmark::Shutdown();
  return 0;
}
