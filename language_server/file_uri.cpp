#include "language_server/file_uri.h"

#include <algorithm>

#include "basic/basic.h"

namespace vornette {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char upper = ToUpperAscii(c);
  return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

bool PercentDecode(std::string_view text, std::string* decoded) {
  decoded->clear();
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '%') {
      decoded->push_back(text[at]);
      continue;
    }
    if (text.size() - at < 3) return false;
    const int high = HexValue(text[at + 1]), low = HexValue(text[at + 2]);
    if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
    decoded->push_back(static_cast<char>(high * 16 + low));
    at += 2;
  }
  return true;
}

bool IsAsciiLetter(char c) { return ToUpperAscii(c) >= 'A' && ToUpperAscii(c) <= 'Z'; }

}  // namespace

bool PathOfFileUri(std::string_view uri, bool windows, std::string* path) {
  constexpr std::string_view kScheme = "file:";
  if (uri.size() < kScheme.size() || !SameTextNoCase(uri.substr(0, kScheme.size()), kScheme)) {
    return false;
  }
  uri.remove_prefix(kScheme.size());
  // A query or fragment is no part of the path.
  uri = uri.substr(0, uri.find_first_of("?#"));
  std::string host;
  if (uri.starts_with("//")) {
    uri.remove_prefix(2);
    const size_t slash = std::min(uri.find('/'), uri.size());
    if (!PercentDecode(uri.substr(0, slash), &host)) return false;
    uri.remove_prefix(slash);
  }
  if (uri.empty() || uri[0] != '/') return false;
  std::string decoded;
  if (!PercentDecode(uri, &decoded)) return false;
  if (SameTextNoCase(host, "localhost")) host.clear();
  if (!windows) {
    if (!host.empty()) return false;
    *path = decoded;
    return true;
  }
  if (!host.empty()) {
    *path = "//" + host + decoded;
  } else if (decoded.size() >= 3 && IsAsciiLetter(decoded[1]) && decoded[2] == ':') {
    *path = decoded.substr(1);
  } else {
    *path = decoded;
  }
  return true;
}

std::string FileUriOfPath(std::string_view path, bool windows) {
  std::string slashed(path);
  if (windows) std::replace(slashed.begin(), slashed.end(), '\\', '/');
  std::string uri = "file://";
  size_t at = 0;
  if (windows && slashed.starts_with("//")) {
    // The host stays as it is; the share and the rest are the path.
    const size_t share = std::min(slashed.find('/', 2), slashed.size());
    uri.append(slashed, 2, share - 2);
    at = share;
  } else if (!slashed.starts_with('/')) {
    uri += '/';
  }
  constexpr char kHex[] = "0123456789ABCDEF";
  for (; at < slashed.size(); ++at) {
    const unsigned char c = static_cast<unsigned char>(slashed[at]);
    if (IsAsciiLetter(static_cast<char>(c)) || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~' || c == '/') {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri;
}

}  // namespace vornette
