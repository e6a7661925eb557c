// The program's only door to the operating system.
//
// Everything the core needs from the machine (its own path, the existence
// test, whole-file reads and writes, standard output) goes through an Env, so
// the core is plain functions over bytes and its tests need no disk.
#ifndef VORNETTE_PLATFORM_ENV_H_
#define VORNETTE_PLATFORM_ENV_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "basic/byte_buffer.h"
#include "basic/file_result.h"

namespace vornette {

class Env {
 public:
  virtual ~Env() = default;

  // Puts the full path of the running program file in `path`; false when the
  // system cannot tell it.
  virtual bool ExecutablePath(std::string* path) = 0;

  // The characters that separate path components, the last one of which ends
  // the directory part of a path.
  virtual std::string_view PathSeparators() = 0;

  // True when `name` (links followed) is an existing regular file. Directories,
  // pipes, sockets and devices do not count: reading a pipe could hang the run.
  virtual bool FileExists(const std::string& name) = 0;

  // Reads the whole file into `bytes` (replacing its content). While the file
  // is read, others may read it but not write it.
  virtual FileResult ReadWholeFile(const std::string& name, ByteBuffer* bytes) = 0;

  // Creates or empties the file and writes `pieces` to it in order, in one
  // pass. Nobody else may read or write the file meanwhile. A read-only file
  // is refused before it is emptied.
  virtual FileResult WriteWholeFile(const std::string& name,
                                    std::span<const std::string_view> pieces) = 0;

  // True when standard output is an interactive console.
  virtual bool StdoutIsConsole() = 0;

  // Writes all of `bytes` to standard output; false when that failed.
  virtual bool WriteStdout(std::string_view bytes) = 0;

  // What stands at a path, links followed.
  enum class PathKind { kNone, kFile, kFolder, kOther };
  virtual PathKind KindOf(const std::string& path) = 0;

  // Puts the entries of the folder `folder` (not "." and "..") in `entries`,
  // each name with what stands there (links followed), in no particular
  // order; false when the folder cannot be read.
  struct FolderEntry {
    std::string name;
    PathKind kind;
  };
  virtual bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) = 0;

  // The current folder, as an absolute path; empty when it cannot be told.
  virtual std::string CurrentFolder() = 0;

  // Reads all of standard input into `bytes` (replacing its content).
  virtual FileResult ReadStdin(ByteBuffer* bytes) = 0;

  // Reads what standard input holds, at most `room` bytes, into `into`,
  // waiting until there is something; 0 at its end or when it cannot be
  // read. For a stream of messages, which must not wait for the end.
  virtual size_t ReadStdinSome(char* into, size_t room) = 0;

  // Writes all of `bytes` to standard error; false when that failed.
  virtual bool WriteStderr(std::string_view bytes) = 0;

  // Replaces the file `name` by one that holds `pieces`: they are written to
  // a new file in the same folder, with the permission bits of `name`, which
  // then takes its place in one step, so that anyone opening `name` finds the
  // old file or the new one, never a part of either.
  virtual FileResult ReplaceFile(const std::string& name,
                                 std::span<const std::string_view> pieces) = 0;

  // Puts in `path` the path that the UTF-8 text `utf8` names, in the form
  // this system's file calls take (on Windows, its ANSI code page); false
  // when that form cannot name it.
  virtual bool PathFromUtf8(std::string_view utf8, std::string* path) {
    path->assign(utf8);
    return true;
  }

  // Puts in `utf8` the UTF-8 text of the path `path`, which is in the form
  // this system's file calls take; the inverse of PathFromUtf8. False when
  // `path` is not text in that form.
  virtual bool PathToUtf8(std::string_view path, std::string* utf8) {
    utf8->assign(path);
    return true;
  }

  // The bytes a console line carries for the file name `name`, which is in
  // the form this system's file calls take. Where that form is not what
  // consoles and logs have always been given (a Windows program whose code
  // page its manifest makes UTF-8), the name in the older form when that
  // can hold it, else unchanged.
  virtual std::string ConsoleName(std::string_view name) { return std::string(name); }

  // The whole command line as one string, where the system hands it over so
  // and the program splits it itself; nothing where the system splits it.
  virtual std::optional<std::string> CommandLine() { return std::nullopt; }

  // Where the system has a private-profile lookup of its own, puts the value
  // text of `key` in `section` of the INI file at `path` (or `default_text`)
  // in `value` and returns true; false where there is none.
  virtual bool NativeProfileString(const std::string& /*path*/, std::string_view /*section*/,
                                   std::string_view /*key*/, std::string_view /*default_text*/,
                                   std::string* /*value*/) {
    return false;
  }
};

// The Env of the machine the program runs on.
Env& SystemEnv();

}  // namespace vornette

#endif  // VORNETTE_PLATFORM_ENV_H_
