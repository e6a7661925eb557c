#include "tests/run_program.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace vornette::testing {

namespace fs = std::filesystem;

Sandbox::Sandbox(const std::string& program) {
  static std::mt19937_64 random(std::random_device{}());
  do {
    dir_ = (fs::temp_directory_path() / ("vornette-test-" + std::to_string(random()))).string();
  } while (!fs::create_directory(dir_));
  program_ = fs::path(program).filename().string();
  fs::create_directory(Path("bin"));
  AddProgram(program);
}

std::string Sandbox::Path(const std::string& name) const {
  std::string path = dir_ + "/" + name;
  if (kOnWindows) std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

void Sandbox::AddProgram(const std::string& program) const {
  fs::copy_file(program, Path("bin/" + fs::path(program).filename().string()));
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
  // A program just killed may hold the file a moment longer (under Wine).
  for (int tries = 0; !(std::ofstream(Path(name), std::ios::binary) << bytes) && tries < 100;
       ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string Sandbox::ReadFile(const std::string& name) const { return ReadBytes(Path(name)); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : "<missing>";
}

RunResult Sandbox::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  return Wait(Start(args, options));
}

std::vector<std::string> FormattedLines(const std::string& name) {
  return {"Debug: Open file \"" + name + "\".", "Debug: Save file \"" + name + "~\".",
          "Debug: Process file \"" + name + "\".", "Debug: Save file \"" + name + "\".",
          "Debug: Done file \"" + name + "\"."};
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
