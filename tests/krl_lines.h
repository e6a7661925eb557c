// Lines for differential tests: generated from a KRL-like alphabet, and every
// line of the sample KRL programs when they are present.
#ifndef VORNETTE_TESTS_KRL_LINES_H_
#define VORNETTE_TESTS_KRL_LINES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace vornette::testing {

// `count` lines drawn from keywords in mixed case, $ and # words, every
// operator character, both quote characters, ";", blanks, TABs, control
// bytes, bytes from 0x80 up and the four placeholder bytes. The same `seed`
// gives the same lines.
std::vector<std::string> GeneratedLines(size_t count, uint32_t seed);

// Every line of every sample program, or none when they are not here.
const std::vector<std::string>& CorpusLines();

}  // namespace vornette::testing

#endif  // VORNETTE_TESTS_KRL_LINES_H_
