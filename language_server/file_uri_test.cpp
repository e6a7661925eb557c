#include "language_server/file_uri.h"

#include <gtest/gtest.h>

namespace vornette {
namespace {

// A path made a URI, as VS Code writes one, reads back as the same path
// (with "/" between folders on Windows).
TEST(FileUriOfPath, ReadsBackAsThePath) {
  const struct {
    std::string path, uri, back;
    bool windows;
  } rows[] = {
      {"/r b/\xC5\xBC\xC3\xB3%#?.src", "file:///r%20b/%C5%BC%C3%B3%25%23%3F.src", "", false},
      {"C:\\R1\\Vornette.ini", "file:///C%3A/R1/Vornette.ini", "C:/R1/Vornette.ini", true},
      {"\\\\host\\share\\a.ini", "file://host/share/a.ini", "//host/share/a.ini", true}};
  for (const auto& row : rows) {
    std::string back;
    EXPECT_EQ(FileUriOfPath(row.path, row.windows), row.uri);
    EXPECT_TRUE(PathOfFileUri(row.uri, row.windows, &back));
    EXPECT_EQ(back, row.back.empty() ? row.path : row.back);
  }
}

}  // namespace
}  // namespace vornette
