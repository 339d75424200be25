#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace base {

// A text field of N bytes, as the data file station values and the run settings
// hold them. A value of up to N - 1 characters is stored with its terminating
// zero; a longer one fills the whole field and has none. Every byte after the
// value is zero. Readers never look past the field.
template <std::size_t N>
class FixedText {
 public:
  static constexpr std::size_t kWidth = N;

  FixedText() = default;
  explicit FixedText(std::string_view text) { fill(text); }

  // Stores the first N characters of text (up to an embedded zero byte, as a
  // C text would end there) and zero-fills the rest of the field.
  void fill(std::string_view text) {
    bytes_.fill('\0');
    for (std::size_t i = 0; i < N && i < text.size() && text[i] != '\0'; ++i) bytes_[i] = text[i];
  }

  // The stored text: up to its terminating zero, or the whole field when full.
  std::string_view view() const {
    std::size_t length = 0;
    while (length < N && bytes_[length] != '\0') ++length;
    return std::string_view(bytes_.data(), length);
  }

  bool empty() const { return bytes_[0] == '\0'; }

  // True when the field holds text as fill(text) would store it, that is when
  // the first N characters of text equal the stored value.
  bool holds(std::string_view text) const { return view() == text.substr(0, N); }

 private:
  std::array<char, N> bytes_{};
};

// The leading part of text that fits a terminated field of `width` bytes.
inline std::string_view fitTerminated(std::string_view text, std::size_t width) {
  return width == 0 ? std::string_view() : text.substr(0, width - 1);
}

}  // namespace base
