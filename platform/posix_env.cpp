// The Env of POSIX systems.
//
// Sharing between processes follows advisory flock locks, taken without
// waiting: a shared lock while a file is read, an exclusive one while it is
// written. A file that another process holds therefore fails at once, the way
// a sharing violation does on Windows.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <new>
#include <string>

#include "platform/env.h"
#include "platform/read_to_end.h"

namespace vornette {
namespace {

// Writes of about a megabyte are several times faster here than one write of
// a whole large buffer, and the file is still written in one pass.
constexpr size_t kWriteSlice = 1 << 20;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now; false when the close reported a failure (a delayed write error).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 || errno == EINTR;
  }

 private:
  int fd_;
};

FileResult ReadAll(int fd, size_t expected, ByteBuffer* bytes) {
  return ReadToEnd(expected, bytes, [fd](char* into, size_t room) -> long long {
    while (true) {
      const ssize_t got = ::read(fd, into, room);
      if (got >= 0 || errno != EINTR) return got;
    }
  });
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t slice = std::min(bytes.size(), kWriteSlice);
    const ssize_t written = ::write(fd, bytes.data(), slice);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

class PosixEnv : public Env {
 public:
  PosixEnv() {
    // A broken pipe or a file-size limit must come back as a failed write, not
    // kill the run halfway through writing a user's file.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGXFSZ, SIG_IGN);
    // A closed standard stream would hand its number to the next file opened,
    // and console lines would land in a user's file. Occupy it with the null
    // device; a closed standard output counts as failed.
    stdout_closed_ = ::fcntl(STDOUT_FILENO, F_GETFD) == -1;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
      if (::fcntl(fd, F_GETFD) != -1) continue;
      const int null_fd = ::open("/dev/null", O_RDWR);
      if (null_fd >= 0 && null_fd != fd) {
        ::dup2(null_fd, fd);
        ::close(null_fd);
      }
    }
  }

  bool ExecutablePath(std::string* path) override {
    // Without /proc (a chroot, a bare container) the path cannot be had. A
    // path that fills the whole buffer may have been cut.
    path->assign(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path->data(), path->size());
    if (length <= 0 || static_cast<size_t>(length) >= path->size()) return false;
    path->resize(static_cast<size_t>(length));
    return true;
  }

  std::string_view PathSeparators() override { return "/"; }

  bool FileExists(const std::string& name) override {
    struct stat info;
    return ::stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
  }

  FileResult ReadWholeFile(const std::string& name, ByteBuffer* bytes) override {
    // O_NONBLOCK keeps a pipe put in the file's place from blocking the open.
    FileDescriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) return FileResult::kOpenFailed;
    struct stat info;
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return FileResult::kOpenFailed;
    if (::flock(file.get(), LOCK_SH | LOCK_NB) != 0) return FileResult::kOpenFailed;

    return ReadAll(file.get(), static_cast<size_t>(info.st_size), bytes);
  }

  FileResult WriteWholeFile(const std::string& name,
                            std::span<const std::string_view> pieces) override {
    // The file is emptied only once it is locked and known to be writable, so
    // no reader sees it half-written and a read-only file keeps its content.
    FileDescriptor file(::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666));
    if (file.get() < 0) return FileResult::kCreateFailed;
    struct stat info;
    if (::fstat(file.get(), &info) != 0) return FileResult::kCreateFailed;
    // Only a regular file can hold the text: writing a backup into a device
    // or a pipe would report success and keep nothing.
    if (!S_ISREG(info.st_mode)) return FileResult::kCreateFailed;
    // A file without any write bit is read-only, even for the superuser.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return FileResult::kCreateFailed;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) return FileResult::kCreateFailed;
    if (::ftruncate(file.get(), 0) != 0) return FileResult::kCreateFailed;
    for (std::string_view piece : pieces) {
      if (!WriteAll(file.get(), piece)) return FileResult::kShortWrite;
    }
    if (!file.Close()) return FileResult::kShortWrite;
    return FileResult::kOk;
  }

  bool StdoutIsConsole() override { return ::isatty(STDOUT_FILENO) == 1; }

  bool WriteStdout(std::string_view bytes) override {
    return !stdout_closed_ && WriteAll(STDOUT_FILENO, bytes);
  }

  PathKind KindOf(const std::string& path) override {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return PathKind::kNone;
    return S_ISREG(info.st_mode)   ? PathKind::kFile
           : S_ISDIR(info.st_mode) ? PathKind::kFolder
                                   : PathKind::kOther;
  }

  bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return false;
    entries->clear();
    while (const dirent* entry = ::readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name == "." || name == "..") continue;
      // The folder tells most kinds itself; a link or an unknown kind is
      // looked at.
      const PathKind kind = entry->d_type == DT_REG   ? PathKind::kFile
                            : entry->d_type == DT_DIR ? PathKind::kFolder
                            : entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN
                                ? KindOf(folder + "/" + std::string(name))
                                : PathKind::kOther;
      entries->push_back({std::string(name), kind});
    }
    ::closedir(dir);
    return true;
  }

  std::string CurrentFolder() override {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
  }

  FileResult ReadStdin(ByteBuffer* bytes) override { return ReadAll(STDIN_FILENO, 0, bytes); }

  size_t ReadStdinSome(char* into, size_t room) override {
    for (;;) {
      const ssize_t got = ::read(STDIN_FILENO, into, room);
      if (got >= 0) return static_cast<size_t>(got);
      if (errno != EINTR) return 0;
    }
  }

  bool WriteStderr(std::string_view bytes) override { return WriteAll(STDERR_FILENO, bytes); }

  FileResult ReplaceFile(const std::string& name,
                         std::span<const std::string_view> pieces) override {
    // A link stays a link: the file it points to is replaced.
    char resolved[PATH_MAX];
    if (::realpath(name.c_str(), resolved) == nullptr) return FileResult::kCreateFailed;
    struct stat info;
    if (::stat(resolved, &info) != 0 || !S_ISREG(info.st_mode)) return FileResult::kCreateFailed;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return FileResult::kCreateFailed;
    const std::string target = resolved;
    const size_t slash = target.rfind('/');
    std::string temporary =
        target.substr(0, slash + 1) + "." + target.substr(slash + 1) + ".vornette-XXXXXX";
    FileDescriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0) return FileResult::kCreateFailed;
    FileResult result = FileResult::kOk;
    if (::fchmod(file.get(), info.st_mode & 07777) != 0) result = FileResult::kCreateFailed;
    for (std::string_view piece : pieces) {
      if (result == FileResult::kOk && !WriteAll(file.get(), piece)) {
        result = FileResult::kShortWrite;
      }
    }
    if (result == FileResult::kOk && !file.Close()) result = FileResult::kShortWrite;
    if (result == FileResult::kOk && ::rename(temporary.c_str(), target.c_str()) != 0) {
      result = FileResult::kCreateFailed;
    }
    if (result != FileResult::kOk) ::unlink(temporary.c_str());
    return result;
  }

 private:
  bool stdout_closed_ = false;
};

}  // namespace

Env& SystemEnv() {
  static PosixEnv env;
  return env;
}

}  // namespace vornette
