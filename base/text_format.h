#pragma once

#include <string>

#if defined(__GNUC__)
#define CDVERIFY_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define CDVERIFY_PRINTF_FORMAT(f, a)
#endif

namespace base {

// printf-style formatting into a string of whatever length the result needs, so a
// message is never cut and no buffer can overflow.
std::string formatText(const char* format, ...) CDVERIFY_PRINTF_FORMAT(1, 2);

}  // namespace base
