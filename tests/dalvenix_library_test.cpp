// The binding loading real libraries from the program's folder.
#include "device/dalvenix_library.h"

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "device/library_error.h"
#include "device/shared_library.h"

namespace dalvenix::device {
namespace {

using ::testing::HasSubstr;

bool is_loaded(const char* file) {
  void* handle = dlopen(file, RTLD_LAZY | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

// Counts what the binding asks of the real library.
struct Counts {
  int opens = 0;
  std::map<std::string, int> lookups;
};

class CountingSource final : public EntrySource {
 public:
  CountingSource(std::unique_ptr<EntrySource> inner, Counts& counts)
      : inner_(std::move(inner)), counts_(counts) {}
  EntryPoint entry(std::string_view name) override {
    ++counts_.lookups[std::string(name)];
    return inner_->entry(name);
  }

 private:
  std::unique_ptr<EntrySource> inner_;
  Counts& counts_;
};

EntrySourceOpener counting(Counts& counts) {
  return [&counts]() -> std::unique_ptr<EntrySource> {
    ++counts.opens;
    return std::make_unique<CountingSource>(open_library_file("libdalvenix.so")(), counts);
  };
}

TEST(Binding, LoadsNothingBeforeTheFirstCall) {
  ASSERT_FALSE(is_loaded("libdalvenix.so"));
  {
    DalvenixLibrary library;
    EXPECT_FALSE(is_loaded("libdalvenix.so"));
    library.dvn_getdevs(0, 0, 0, 0);
    EXPECT_TRUE(is_loaded("libdalvenix.so"));
  }
  EXPECT_FALSE(is_loaded("libdalvenix.so")) << "the library stays loaded after the binding";
}

TEST(Binding, OpensOnceAndLooksUpEachEntryOnItsOwnFirstCall) {
  Counts counts;
  DalvenixLibrary library(counting(counts));
  EXPECT_EQ(counts.opens, 0);
  library.dvn_find(0, 0, 0, 0);
  library.dvn_find(0, 0, 0, 0);
  EXPECT_EQ(counts.opens, 1);
  EXPECT_EQ(counts.lookups, (std::map<std::string, int>{{"dvn_find", 1}}));
  library.dvn_seldev(0, 0, 0, 0);
  library.dvn_out(0, 1, 0, 0);
  library.dvn_seldev(1, 0, 0, 0);
  library.dvn_out(1, 2, 0, 0);
  library.dvn_free(0, 0, 0, 0);
  EXPECT_EQ(counts.opens, 1);
  EXPECT_EQ(counts.lookups,
            (std::map<std::string, int>{
                {"dvn_find", 1}, {"dvn_seldev", 1}, {"dvn_out", 1}, {"dvn_free", 1}}));
}

TEST(Binding, PassesArgumentsAndResultsThrough) {
  setenv("DALVENIX_SIM_DEVICES", "5", 1);
  DalvenixLibrary library;
  EXPECT_EQ(library.dvn_find(0, 0, 0, 0), 0);
  EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), 5);
  EXPECT_EQ(library.dvn_seldev(4, 0, 0, 0), 0);
  EXPECT_EQ(library.dvn_seldev(5, 0, 0, 0), -1);
  EXPECT_EQ(library.dvn_seldev(4, 0, 0, 0), 0);
  EXPECT_EQ(library.dvn_out(0, 0x1C3, 0, 0), 0);
  std::uint8_t byte = 0;
  EXPECT_EQ(library.dvn_inp(reinterpret_cast<std::intptr_t>(&byte), 0, 0, 0), 0);
  EXPECT_EQ(byte, 0xC3);
  setenv("DALVENIX_SIM_DEVICES", "0", 1);
  EXPECT_EQ(library.dvn_find(0, 0, 0, 0), 1);
  unsetenv("DALVENIX_SIM_DEVICES");
}

TEST(Binding, AMissingFileIsNamedWithEveryPlaceTried) {
  DalvenixLibrary library(open_library_file("libdalvenix_absent.so"));
  try {
    library.dvn_free(0, 0, 0, 0);
    FAIL() << "no error";
  } catch (const LibraryLoadError& error) {
    EXPECT_EQ(error.file(), "libdalvenix_absent.so");
    EXPECT_THAT(error.what(), HasSubstr("cannot load libdalvenix_absent.so; tried in this order:"));
    ASSERT_EQ(error.attempts().size(), 2U) << error.what();
    EXPECT_EQ(error.attempts()[0].place, *program_folder() + "/libdalvenix_absent.so");
    EXPECT_EQ(error.attempts()[0].outcome, "is not there");
    EXPECT_THAT(error.attempts()[1].place, HasSubstr("the system's library search"));
    EXPECT_THAT(error.attempts()[1].outcome, HasSubstr("cannot open shared object file"));
  }
  // Every later call tries again and fails the same way.
  EXPECT_THROW(library.dvn_find(0, 0, 0, 0), LibraryLoadError);
}

TEST(Binding, AMissingEntryIsNamedAndTheOthersStillWork) {
  DalvenixLibrary library(open_library_file("libdalvenix_partial.so"));
  EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), 1);
  try {
    library.dvn_out(0, 0, 0, 0);
    FAIL() << "no error";
  } catch (const EntryMissingError& error) {
    EXPECT_EQ(error.file(), "libdalvenix_partial.so");
    EXPECT_EQ(error.entry(), "dvn_out");
    EXPECT_THAT(error.what(), HasSubstr("libdalvenix_partial.so has no entry dvn_out: "));
    EXPECT_THAT(error.reason(), HasSubstr("undefined symbol"));
  }
  EXPECT_EQ(library.dvn_getdevs(0, 0, 0, 0), 1);
}

}  // namespace
}  // namespace dalvenix::device
