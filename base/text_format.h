#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#if defined(__GNUC__)
#define CDVERIFY_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define CDVERIFY_PRINTF_FORMAT(f, a)
#endif

namespace base {

// printf-style formatting into a string of whatever length the result needs, so a
// message is never cut and no buffer can overflow.
std::string formatText(const char* format, ...) CDVERIFY_PRINTF_FORMAT(1, 2);

// A count and its noun, singular for one ("1 disk", "2 disks", "0 copies"); the
// plural is the singular with an "s" unless given.
std::string counted(int64_t count, std::string_view singular, std::string_view plural = {});

}  // namespace base
