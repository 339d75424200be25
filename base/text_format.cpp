#include "base/text_format.h"

#include <cstdarg>
#include <cstdio>

namespace base {

std::string formatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return text;
}

std::string counted(int64_t count, std::string_view singular, std::string_view plural) {
  std::string text = std::to_string(count) + " ";
  if (count == 1) return text.append(singular);
  if (plural.empty()) return text.append(singular).append("s");
  return text.append(plural);
}

}  // namespace base
