#include "tests/memory_env.h"

namespace vornette {

FileResult MemoryEnv::ReadWholeFile(const std::string& name, ByteBuffer* bytes) {
  if (auto failure = read_failures.find(name); failure != read_failures.end()) {
    return failure->second;
  }
  auto file = files.find(name);
  if (file == files.end()) return FileResult::kOpenFailed;
  bytes->Release();
  bytes->Append(file->second);
  return FileResult::kOk;
}

FileResult MemoryEnv::WriteWholeFile(const std::string& name,
                                     std::span<const std::string_view> pieces) {
  write_log.push_back(name);
  if (auto failure = write_failures.find(name); failure != write_failures.end()) {
    // A short write leaves the file emptied and partly written.
    if (failure->second == FileResult::kShortWrite) files[name] = "";
    return failure->second;
  }
  if (directories.count(name)) return FileResult::kCreateFailed;
  std::string& text = files[name];
  text.clear();
  for (std::string_view piece : pieces) text.append(piece);
  return FileResult::kOk;
}

bool MemoryEnv::WriteStdout(std::string_view bytes) {
  if (stdout_broken) return false;
  stdout_writes.emplace_back(bytes);
  stdout_text.append(bytes);
  return true;
}

std::vector<std::string> SplitConsoleLines(std::string_view output) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < output.size()) {
    const size_t end = output.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(output.substr(start));
      break;
    }
    lines.emplace_back(output.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace vornette
