#include "language_server/edits_reply.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace vornette {
namespace {

using nlohmann::json;

TEST(EditsReply, ReadsBackAsTheEditsItWasGiven) {
  const std::vector<LineEdit> edits = {{3, 9, "say \"hi\" \\ now"},
                                       {4, 1, std::string("\t\x01\x1f\x7f", 4)},
                                       {1000000, 12, "\xC3\xA4 \xF0\x9F\x98\x80 ; \\u0041"},
                                       {5, 2, std::string("a\0b", 3)}};
  // The id, already JSON, and how many of the edits the reply holds.
  const std::pair<std::string, size_t> rows[] = {{"7", 0}, {"\"a\\\"b\"", 1}, {"12", 4}};
  for (const auto& [id, count] : rows) {
    const std::vector<LineEdit> given(edits.begin(), edits.begin() + count);
    json expected = {{"jsonrpc", "2.0"}, {"id", json::parse(id)}, {"result", json::array()}};
    for (const LineEdit& edit : given) {
      expected["result"].push_back({{"range",
                                     {{"start", {{"line", edit.line}, {"character", 0}}},
                                      {"end", {{"line", edit.line}, {"character", edit.units}}}}},
                                    {"newText", edit.text}});
    }
    EXPECT_EQ(json::parse(EditsReply(id, given)), expected) << id;
  }
}

}  // namespace
}  // namespace vornette
