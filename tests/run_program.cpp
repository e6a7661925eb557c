#include "tests/run_program.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace vornette::testing {

namespace fs = std::filesystem;

Sandbox::Sandbox(const std::string& program) {
  static std::mt19937_64 random(std::random_device{}());
  do {
    dir_ = (fs::temp_directory_path() / ("vornette-test-" + std::to_string(random()))).string();
  } while (!fs::create_directory(dir_));
  program_ = fs::path(program).filename().string();
  fs::create_directory(Path("bin"));
  fs::copy_file(program, Path("bin/" + program_));
}

std::string Sandbox::Path(const std::string& name) const {
  std::string path = dir_ + "/" + name;
  if (kOnWindows) std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(dir_, ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(dir_, ignored);
}

void Sandbox::SetIni(const std::optional<std::string>& ini) const {
  fs::remove_all(Path("bin/Vornette.ini"));
  if (ini) WriteFile("bin/Vornette.ini", *ini);
}

void Sandbox::WriteFile(const std::string& name, const std::string& bytes) const {
  std::ofstream(Path(name), std::ios::binary) << bytes;
}

std::string Sandbox::ReadFile(const std::string& name) const { return ReadBytes(Path(name)); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : "<missing>";
}

std::vector<std::string> FilesBelow(const std::string& dir) {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(dir, error)) {
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string CorpusDir() {
  return fs::is_directory(VORNETTE_CORPUS_DIR) ? std::string(VORNETTE_CORPUS_DIR) : "";
}

}  // namespace vornette::testing
