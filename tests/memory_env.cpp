#include "tests/memory_env.h"

#include <new>

namespace vornette {

FileResult MemoryEnv::ReadWholeFile(const std::string& name, ByteBuffer* bytes) {
  if (auto failure = read_failures.find(name); failure != read_failures.end()) {
    if (failure->second == FileResult::kNoMemory) throw std::bad_alloc();
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
  std::string& text = files[name];
  text.clear();
  for (std::string_view piece : pieces) text.append(piece);
  return FileResult::kOk;
}

std::vector<std::string> MemoryEnv::ConsoleLines() const {
  std::string text;
  for (const std::string& write : stdout_writes) text += write;
  std::string_view output = text;
  std::vector<std::string> lines;
  while (!output.empty()) {
    const size_t end = output.find("\r\n");
    lines.emplace_back(output.substr(0, end));
    output.remove_prefix(end == std::string_view::npos ? output.size() : end + 2);
  }
  return lines;
}

}  // namespace vornette
