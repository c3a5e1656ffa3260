// A library that exports every entry but dvn_out, to show how the binding
// reports a missing entry.
#include <cstdint>

#define PARTIAL_ENTRY(name, result)                                    \
  extern "C" __attribute__((visibility("default"))) std::int32_t name( \
      std::intptr_t, std::int32_t, std::int32_t, std::int32_t) {       \
    return result;                                                     \
  }

PARTIAL_ENTRY(dvn_find, 0)
PARTIAL_ENTRY(dvn_getdevs, 1)
PARTIAL_ENTRY(dvn_seldev, 0)
PARTIAL_ENTRY(dvn_inp, 0)
PARTIAL_ENTRY(dvn_free, 0)
