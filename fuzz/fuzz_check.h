// A check that holds in every build: a fuzz target must report a broken
// property as a crash, whatever NDEBUG says.
#ifndef VORNETTE_FUZZ_FUZZ_CHECK_H_
#define VORNETTE_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

#endif  // VORNETTE_FUZZ_FUZZ_CHECK_H_
