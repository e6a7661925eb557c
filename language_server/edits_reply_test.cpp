#include "language_server/edits_reply.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace vornette {
namespace {

using nlohmann::json;

TEST(EditsReply, ReadsBackAsTheEditsItWasGiven) {
  const struct {
    const char* id;
    std::vector<LineEdit> edits;
  } rows[] = {
      {"7", {}},
      {"\"a\\\"b\"", {{0, 0, ""}}},
      {"12",
       {{3, 9, "say \"hi\" \\ now"},
        {4, 1, std::string("\t\x01\x1f\x7f", 4)},
        {1000000, 12, "\xC3\xA4 \xF0\x9F\x98\x80 ; \\u0041"},
        {5, 2, std::string("a\0b", 3)}}},
  };
  for (const auto& row : rows) {
    const json reply = json::parse(EditsReply(row.id, row.edits));
    EXPECT_EQ(reply["jsonrpc"], "2.0");
    EXPECT_EQ(reply["id"], json::parse(row.id));
    ASSERT_EQ(reply["result"].size(), row.edits.size()) << row.id;
    for (size_t i = 0; i < row.edits.size(); ++i) {
      const LineEdit& edit = row.edits[i];
      EXPECT_EQ(reply["result"][i],
                (json{{"range",
                       {{"start", {{"line", edit.line}, {"character", 0}}},
                        {"end", {{"line", edit.line}, {"character", edit.units}}}}},
                      {"newText", edit.text}}))
          << row.id << " " << i;
    }
  }
}

}  // namespace
}  // namespace vornette
