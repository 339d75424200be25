#pragma once

#include <ostream>

#include "timecov/span_union.h"

// How test failures show a span: "[start, end)".
inline void PrintTo(const TimeSpan& span, std::ostream* out) {
  *out << "[" << span.start << ", " << span.end << ")";
}
