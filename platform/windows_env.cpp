// The Env of Windows, on the Win32 calls the program was designed against:
// GetCommandLineA, GetModuleFileNameA, FindFirstFileA, CreateFileA with
// Windows sharing, ReadFile, WriteFile and GetPrivateProfileStringA.
//
// Failures come back as the same FileResult values the POSIX Env gives for
// the same situation (a sharing violation or denied access at the open is an
// open or create failure, a full disk a short write), so both print the same
// texts.
#include <windows.h>

#include <algorithm>
#include <new>
#include <string>

#include "basic/basic.h"
#include "platform/env.h"
#include "platform/read_to_end.h"

namespace vornette {
namespace {

// Writes of about a megabyte at a time, as on POSIX.
constexpr DWORD kWriteSlice = 1 << 20;

// More bytes than the longest path Windows takes (32767 UTF-16 units) can
// need in UTF-8.
constexpr DWORD kLongestPath = 1 << 18;

// A handle that is closed when it goes out of scope.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Closes now; false when the close reported a failure.
  bool Close() {
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// True for the names Windows gives to devices (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, CONIN$, CONOUT$), in any folder, with or without an
// extension: opening one reaches the device, never a file.
bool IsDeviceName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1);
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = ToUpperAscii(c);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
      base == "CONOUT$") {
    return true;
  }
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

FileResult ReadAll(HANDLE handle, size_t expected, ByteBuffer* bytes) {
  return ReadToEnd(expected, bytes, [handle](char* into, size_t room) -> long long {
    DWORD got = 0;
    if (::ReadFile(handle, into, static_cast<DWORD>(std::min<size_t>(room, 1u << 30)), &got,
                   nullptr)) {
      return got;
    }
    // The writing end of a pipe closed: that is its end.
    return ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
  });
}

bool WriteAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD slice = static_cast<DWORD>(std::min<size_t>(bytes.size(), kWriteSlice));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), slice, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool WritePieces(HANDLE handle, std::span<const std::string_view> pieces) {
  for (std::string_view piece : pieces) {
    if (!WriteAll(handle, piece)) return false;
  }
  return true;
}

// Puts `text`, in the code page `page`, in `wide` as UTF-16; false when it
// is not text of that page.
bool Widen(UINT page, std::string_view text, std::wstring* wide) {
  wide->clear();
  if (text.empty()) return true;
  if (text.size() > (1u << 20)) return false;
  const int size = static_cast<int>(text.size());
  const int length =
      ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide->resize(static_cast<size_t>(length));
  return ::MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, text.data(), size, wide->data(),
                               length) == length;
}

// Puts `wide` in `text` in the code page `page`; false when that page lacks
// one of its characters (no look-alike is taken in its place). UTF-8, also
// as the process's ANSI code page, takes no look-alike flags.
bool Narrow(UINT page, std::wstring_view wide, std::string* text) {
  text->clear();
  if (wide.empty()) return true;
  const bool utf8 = page == CP_UTF8 || (page == CP_ACP && ::GetACP() == CP_UTF8);
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  BOOL* const used_default = utf8 ? nullptr : &lossy;
  const int size = static_cast<int>(wide.size());
  const int length =
      ::WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, used_default);
  if (length <= 0 || lossy) return false;
  text->resize(static_cast<size_t>(length));
  return ::WideCharToMultiByte(page, flags, wide.data(), size, text->data(), length, nullptr,
                               used_default) == length &&
         !lossy;
}

// The ANSI code page of the system's locale, which a program without a
// manifest that says otherwise gets as its own.
UINT SystemAnsiCodePage() {
  DWORD page = 0;
  return ::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                          reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(WCHAR)) > 0
             ? page
             : ::GetACP();
}

class WindowsEnv : public Env {
 public:
  bool ExecutablePath(std::string* path) override {
    // In UTF-8, as the manifest makes the code page, a path of 260
    // characters may take three times as many bytes, and a long path more.
    for (DWORD size = MAX_PATH + 1; size <= kLongestPath; size *= 4) {
      path->resize(size);
      const DWORD length = ::GetModuleFileNameA(nullptr, path->data(), size);
      if (length == 0) return false;
      // A path that fills the whole buffer has been cut.
      if (length < size) {
        path->resize(length);
        return true;
      }
    }
    return false;
  }

  // The drive colon ends a folder part too, as in C:vornette.exe.
  std::string_view PathSeparators() override { return "\\/:"; }

  bool FileExists(const std::string& name) override {
    if (IsDeviceName(name)) return false;
    WIN32_FIND_DATAA entry;
    const HANDLE search = ::FindFirstFileA(name.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }

  FileResult ReadWholeFile(const std::string& name, ByteBuffer* bytes) override {
    if (IsDeviceName(name)) return FileResult::kOpenFailed;
    // Read access; others may read the file but not write it meanwhile.
    OwnedHandle file(::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK) {
      return FileResult::kOpenFailed;
    }
    DWORD high = 0;
    const DWORD low = ::GetFileSize(file.get(), &high);
    const size_t size = (static_cast<uint64_t>(high) << 32) | low;
    return ReadAll(file.get(), size, bytes);
  }

  FileResult WriteWholeFile(const std::string& name,
                            std::span<const std::string_view> pieces) override {
    // A device would take the bytes and keep nothing: refused before it is
    // opened. A read-only file or one another program holds makes the
    // create fail before anything is emptied.
    if (IsDeviceName(name)) return FileResult::kCreateFailed;
    // CreateFileA refuses a read-only file by itself, except where an
    // administrator runs it under Wine: ask first.
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      return FileResult::kCreateFailed;
    }
    OwnedHandle file(::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || ::GetFileType(file.get()) != FILE_TYPE_DISK) {
      return FileResult::kCreateFailed;
    }
    if (!WritePieces(file.get(), pieces)) return FileResult::kShortWrite;
    return file.Close() ? FileResult::kOk : FileResult::kShortWrite;
  }

  bool StdoutIsConsole() override {
    return ::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR;
  }

  bool WriteStdout(std::string_view bytes) override {
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    return out != nullptr && out != INVALID_HANDLE_VALUE && WriteAll(out, bytes);
  }

  PathKind KindOf(const std::string& path) override {
    if (IsDeviceName(path)) return PathKind::kOther;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kNone;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kFolder : PathKind::kFile;
  }

  // The names come as UTF-16: the ANSI entry holds at most 259 bytes, which
  // a UTF-8 name of 87 Chinese characters outgrows. Each becomes what the
  // ANSI calls make of it: in UTF-8 the name itself; in another code page,
  // one that lacks a letter of it, a look-alike or a "?".
  bool ListFolder(const std::string& folder, std::vector<FolderEntry>* entries) override {
    std::wstring pattern;
    if (!Widen(CP_ACP, folder + "\\*", &pattern)) return false;
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    entries->clear();
    do {
      const std::wstring_view wide = entry.cFileName;
      if (wide == L"." || wide == L"..") continue;
      const int size = static_cast<int>(wide.size());
      std::string name(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, wide.data(), size,
                                                                 nullptr, 0, nullptr, nullptr)),
                       '\0');
      ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, name.data(),
                            static_cast<int>(name.size()), nullptr, nullptr);
      const PathKind kind = IsDeviceName(name) ? PathKind::kOther
                            : (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                ? PathKind::kFolder
                                : PathKind::kFile;
      entries->push_back({std::move(name), kind});
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return true;
  }

  // Through UTF-16, as the system itself converts; a character the ANSI
  // code page lacks would become a "?" or a look-alike, naming another file.
  bool PathFromUtf8(std::string_view utf8, std::string* path) override {
    std::wstring wide;
    return Widen(CP_UTF8, utf8, &wide) && Narrow(CP_ACP, wide, path);
  }

  bool PathToUtf8(std::string_view path, std::string* utf8) override {
    std::wstring wide;
    return Widen(CP_ACP, path, &wide) && Narrow(CP_UTF8, wide, utf8);
  }

  std::string CurrentFolder() override {
    std::string folder(::GetCurrentDirectoryA(0, nullptr), '\0');
    const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length >= folder.size()) return "";
    folder.resize(length);
    return folder;
  }

  FileResult ReadStdin(ByteBuffer* bytes) override {
    return ReadAll(::GetStdHandle(STD_INPUT_HANDLE), 0, bytes);
  }

  // The handle is read as it is, never through the C runtime's text mode,
  // which would turn CR LF into LF and break a message's length.
  size_t ReadStdinSome(char* into, size_t room) override {
    DWORD got = 0;
    const DWORD most = static_cast<DWORD>(std::min<size_t>(room, 1u << 30));
    return ::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), into, most, &got, nullptr) ? got : 0;
  }

  bool WriteStderr(std::string_view bytes) override {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    return error != nullptr && error != INVALID_HANDLE_VALUE && WriteAll(error, bytes);
  }

  FileResult ReplaceFile(const std::string& relative_name,
                         std::span<const std::string_view> pieces) override {
    // The temporary file goes into the file's own folder.
    std::string name(::GetFullPathNameA(relative_name.c_str(), 0, nullptr, nullptr), '\0');
    const DWORD full_length = ::GetFullPathNameA(
        relative_name.c_str(), static_cast<DWORD>(name.size()), name.data(), nullptr);
    if (full_length == 0 || full_length >= name.size()) return FileResult::kCreateFailed;
    name.resize(full_length);
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    if (IsDeviceName(name) || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
      return FileResult::kCreateFailed;
    }
    const size_t slash = name.find_last_of("\\/:");
    const std::string folder = slash == std::string::npos ? "." : name.substr(0, slash + 1);
    // A name of its own (GetTempFileNameA takes no folder longer than 246
    // characters), created only where nothing is.
    std::string temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned tries = 0; tries < 100; ++tries) {
      temporary = folder + "vrn" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(::GetTickCount64() + tries) + ".tmp";
      created = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
      if (created != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (created == INVALID_HANDLE_VALUE) return FileResult::kCreateFailed;
    FileResult result = FileResult::kOk;
    {
      OwnedHandle file(created);
      if (!WritePieces(file.get(), pieces) || !file.Close()) result = FileResult::kShortWrite;
    }
    // One rename replaces the file, so nobody ever finds it missing or
    // partly written (ReplaceFileA, which would keep the old file's access
    // rights too, takes two steps under Wine). The new file gets the old
    // one's attributes; its access rights are those the folder gives.
    if (result == FileResult::kOk &&
        (!::SetFileAttributesA(temporary.c_str(), attributes) ||
         !::MoveFileExA(temporary.c_str(), name.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
      result = FileResult::kCreateFailed;
    }
    if (result != FileResult::kOk) ::DeleteFileA(temporary.c_str());
    return result;
  }

  std::string ConsoleName(std::string_view name) override {
    static const UINT system = SystemAnsiCodePage();
    std::wstring wide;
    std::string old;
    if (::GetACP() != CP_UTF8 || system == CP_UTF8 ||
        std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; }) ||
        !Widen(CP_UTF8, name, &wide) || !Narrow(system, wide, &old)) {
      return std::string(name);
    }
    return old;
  }

  std::optional<std::string> CommandLine() override { return std::string(::GetCommandLineA()); }

  bool NativeProfileString(const std::string& path, std::string_view section, std::string_view key,
                           std::string_view default_text, std::string* value) override {
    char buffer[2048];
    const DWORD length = ::GetPrivateProfileStringA(
        std::string(section).c_str(), std::string(key).c_str(), std::string(default_text).c_str(),
        buffer, sizeof buffer, path.c_str());
    value->assign(buffer, length);
    return true;
  }
};

}  // namespace

Env& SystemEnv() {
  static WindowsEnv env;
  return env;
}

}  // namespace vornette
