#include "basic/basic.h"

namespace vornette {

bool SameTextNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) return false;
  }
  return true;
}

std::string Substitute(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string result;
  auto next = args.begin();
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' && next != args.end()) {
      result.append(*next++);
      i += 2;
    } else {
      result.push_back(format[i++]);
    }
  }
  return result;
}

}  // namespace vornette
