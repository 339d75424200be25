#pragma once

#include <ostream>

#include "times/span_union.h"

// How test failures show a span: "[start, end)".
inline void PrintTo(const times::TimeSpan& span, std::ostream* out) {
  *out << "[" << span.start << ", " << span.end << ")";
}
