// A check that holds in every build: a fuzz target must report a broken
// property as a crash, whatever NDEBUG says.
#ifndef VORNETTE_FUZZ_FUZZ_CHECK_H_
#define VORNETTE_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

// The input being checked, named in the report when a replay knows it.
inline const char* fuzz_input_name = "";

#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "%s:%d: property failed: %s (input %s)\n", __FILE__, __LINE__, \
                   #condition, fuzz_input_name);                                          \
      std::abort();                                                                       \
    }                                                                                     \
  } while (false)

#endif  // VORNETTE_FUZZ_FUZZ_CHECK_H_
