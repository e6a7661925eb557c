// Starting programs and holding files on Windows.
#include <windows.h>

#include <cstdlib>

#include "tests/run_program.h"

namespace vornette::testing {

const bool kOnWindows = true;

namespace {

// A handle the started program inherits.
HANDLE Inheritable(const std::string& path, DWORD access, DWORD creation) {
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
  return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                       creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

RunResult Sandbox::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!::CreatePipe(&read_end, &write_end, &security, 0)) std::abort();
  ::SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  const std::string program = Path("bin/" + program_);
  WriteFile(".stdin", options.input);
  // Arguments with blanks in double quotes, as a shell would pass them.
  std::string line = options.command_line;
  if (line.empty()) {
    line = "\"" + program + "\"";
    for (const std::string& arg : args) {
      line += arg.empty() || arg.find_first_of(" \t") != std::string::npos ? " \"" + arg + "\""
                                                                           : " " + arg;
    }
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdInput = Inheritable(Path(".stdin"), GENERIC_READ, OPEN_EXISTING);
  startup.hStdError = Inheritable(Path(".stderr"), GENERIC_WRITE, CREATE_ALWAYS);
  PROCESS_INFORMATION process = {};
  const bool started = ::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, dir_.c_str(), &startup, &process);
  ::CloseHandle(write_end);
  ::CloseHandle(startup.hStdInput);
  ::CloseHandle(startup.hStdError);
  if (!started) std::abort();
  ::CloseHandle(process.hThread);
  RunResult result;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    result.output.append(buffer, got);
  }
  ::CloseHandle(read_end);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hProcess);
  result.exit_status = static_cast<int>(status);
  result.errors = ReadFile(".stderr");
  return result;
}

bool MakeFifo(const std::string&) { return false; }

HeldFile::HeldFile(const std::string& path, bool others_may_read)
    : handle_(reinterpret_cast<intptr_t>(
          ::CreateFileA(path.c_str(), GENERIC_READ, others_may_read ? FILE_SHARE_READ : 0, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {}

HeldFile::~HeldFile() { ::CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

}  // namespace vornette::testing
