#pragma once

#include <cstdint>
#include <iosfwd>

#include "log/log_sink.h"
#include "times/interval_list.h"
#include "verify/archive_verifier.h"

namespace report {

// The report that ends a run. Every line is written twice, at LOG_INFO and then
// at LOG_SUMMARY, with code 0, so that both the info and the summary log carry it.

// "station <name> " and "Latitude: <lat>   Longitude: <lon>   Altitude: <alt>",
// each field as it is stored (at most its width).
void reportStation(const verify::CarriedStation& station, logging::LogSink& sink);

// The first covered second (the first node's start), the last (the last node's
// end), the span between them and the total of all intervals' lengths. The list
// must be sorted by start. No list, or an empty one, reports first and last as 0.
void reportSpan(const times::IntervalList* list, logging::LogSink& sink);

// Writes "Data:\n" to out and flushes it, then one line per interval with its
// start, end and length. Without a list nothing is written at all.
void reportIntervals(const times::IntervalList* list, logging::LogSink& sink, std::ostream& out);

}  // namespace report
