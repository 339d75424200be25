#include "catalog/kept_spans.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "catalog/catalog_schema.h"

namespace catalog {

const char* sqlOf(SpanQuery query) {
  switch (query) {
    case SpanQuery::kKeptTouching:
      return kSelectKeptTouching;
    case SpanQuery::kKeptAtEnds:
      return kSelectKeptAtEnds;
    case SpanQuery::kFilesTouching:
      return kSelectFilesTouching;
  }
  return kSelectKeptTouching;  // not reached
}

std::vector<SourceOnDisk> sourcesOnDisk(const std::vector<CataloguedFile>& files) {
  std::map<std::pair<std::string, int32_t>, SourceOnDisk> sources;
  for (const CataloguedFile& file : files) {
    const survey::FileRecord& record = file.record;
    if (!record.usable) continue;
    auto [at, added] = sources.try_emplace({record.station, file.stream});
    SourceOnDisk& source = at->second;
    if (added) {
      source =
          SourceOnDisk{record.station, file.stream, record.frequency, record.start, record.end};
      continue;
    }
    if (record.start < source.first) {
      source.frequency = record.frequency;
      source.first = record.start;
    }
    source.last = std::max(source.last, record.end);
  }
  std::vector<SourceOnDisk> list;
  for (auto& [key, source] : sources) list.push_back(std::move(source));
  return list;
}

std::vector<times::TimeSpan> keptAfterChange(const std::vector<times::TimeSpan>& kept,
                                             times::TimeSpan changed,
                                             std::vector<times::TimeSpan> filesNow) {
  for (times::TimeSpan& file : filesNow)
    file = {std::max(file.start, changed.start), std::min(file.end, changed.end)};
  for (const times::TimeSpan& span : kept) {
    if (span.start < changed.start)
      filesNow.push_back({span.start, std::min(span.end, changed.start)});
    if (span.end > changed.end) filesNow.push_back({std::max(span.start, changed.end), span.end});
  }
  return times::unionOf(std::move(filesNow));
}

void keepSpans(DiskStream stream, const std::vector<SourceOnDisk>& before,
               const std::vector<SourceOnDisk>& after, KeptSpanTable& table) {
  // Each source's changed time: from the earliest to the latest of its files,
  // before and after.
  std::map<std::pair<std::string, int32_t>, times::TimeSpan> changed;
  for (const auto* sources : {&before, &after}) {
    for (const SourceOnDisk& source : *sources) {
      auto [at, added] = changed.try_emplace({source.station, source.stream},
                                             times::TimeSpan{source.first, source.last});
      if (added) continue;
      at->second.start = std::min(at->second.start, source.first);
      at->second.end = std::max(at->second.end, source.last);
    }
  }
  for (const auto& [name, span] : changed) {
    const SourceKey key{stream, name.first, name.second};
    const std::vector<times::TimeSpan> were = table.spansOf(SpanQuery::kKeptTouching, key, span);
    const std::vector<times::TimeSpan> are =
        keptAfterChange(were, span, table.spansOf(SpanQuery::kFilesTouching, key, span));
    if (are != were) table.replaceKept(key, were, are);
  }
}

std::vector<KeptSource> keptSourcesOf(const std::vector<CountedSource>& rows, DiskStream stream,
                                      times::TimeSpan window, SpanDetail detail,
                                      KeptSpanTable& table) {
  const auto meets = [&](const times::TimeSpan& span) {
    return span.start < window.end && span.end > window.start;
  };
  std::vector<KeptSource> list;
  for (std::size_t from = 0; from < rows.size();) {
    const SourceOnDisk& first = rows[from].source;
    std::optional<KeptSource> found;
    for (; from < rows.size() && rows[from].source.station == first.station &&
           rows[from].source.stream == first.stream;
         ++from) {
      const SourceOnDisk& source = rows[from].source;
      if (!meets(times::TimeSpan{source.first, source.last})) continue;
      if (!found) found = KeptSource{source.station, source.stream, source.frequency, 0, {}, 0};
      found->updated = std::max(found->updated, rows[from].added);
    }
    if (!found) continue;
    const SourceKey key{stream, found->station, found->stream};
    const bool extent = detail == SpanDetail::kExtent;
    for (const times::TimeSpan& span :
         table.spansOf(extent ? SpanQuery::kKeptAtEnds : SpanQuery::kKeptTouching, key, window)) {
      if (meets(span) && (found->spans.empty() || !(span == found->spans.back())))
        found->spans.push_back(span);
    }
    found->spanCount =
        extent ? table.keptCount(key, window) : static_cast<int64_t>(found->spans.size());
    if (!found->spans.empty()) list.push_back(std::move(*found));
  }
  return list;
}

}  // namespace catalog
