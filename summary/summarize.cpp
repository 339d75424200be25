#include "summary/summarize.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace summary {

std::string_view eventKindName(EventKind kind) {
  switch (kind) {
    case EventKind::kPosition:
      return "position";
    case EventKind::kFrequency:
      return "frequency";
    case EventKind::kClock:
      return "clock";
    case EventKind::kNoCoverage:
      return "no-coverage";
    case EventKind::kUnusable:
      return "unusable";
  }
  return {};
}

std::string FileName::label() const {
  return path.compare(0, disk.size(), disk) == 0 ? path : disk + ": " + path;
}

std::vector<times::TimeSpan> DiskSummary::coveredSpans() const {
  std::vector<times::TimeSpan> spans;
  for (const FileRecord& file : record.files) {
    if (file.usable) spans.push_back(times::TimeSpan{file.start, file.end});
  }
  return times::unionOf(std::move(spans));
}

namespace {

// A data file with the disk it lies on.
struct PlacedFile {
  const FileRecord* record;
  const std::string* disk;

  FileName name() const { return FileName{*disk, record->path}; }
  times::TimeSpan span() const { return times::TimeSpan{record->start, record->end}; }
  bool coversTime() const { return record->usable && record->end > record->start; }
};

using PlacedFiles = std::vector<PlacedFile>;

// The usable files in order of their start (equal starts in the given order).
PlacedFiles usableByStart(const PlacedFiles& files) {
  PlacedFiles byStart;
  for (const PlacedFile& file : files) {
    if (file.record->usable) byStart.push_back(file);
  }
  std::stable_sort(byStart.begin(), byStart.end(), [](const PlacedFile& a, const PlacedFile& b) {
    return a.record->start < b.record->start;
  });
  return byStart;
}

void addChangeEvents(const PlacedFiles& byStart, std::vector<StationEvent>& events) {
  for (std::size_t i = 1; i < byStart.size(); ++i) {
    const FileRecord& before = *byStart[i - 1].record;
    const FileRecord& after = *byStart[i].record;
    auto change = [&](EventKind kind, const char* field, const std::string& from,
                      const std::string& to) {
      if (from == to) return;
      events.push_back(StationEvent{kind,
                                    after.start,
                                    byStart[i].name(),
                                    StationEvent::Change{byStart[i - 1].name(), field, from, to},
                                    {}});
    };
    change(EventKind::kPosition, "latitude", before.latitude, after.latitude);
    change(EventKind::kPosition, "longitude", before.longitude, after.longitude);
    change(EventKind::kPosition, "altitude", before.altitude, after.altitude);
    change(EventKind::kFrequency, "frequency", std::to_string(before.frequency),
           std::to_string(after.frequency));
  }
}

// The changes, clock findings and files without coverage in time order, then
// the unusable files in the walk's order.
std::vector<StationEvent> eventsOf(const PlacedFiles& files, const PlacedFiles& byStart) {
  std::vector<StationEvent> events;
  addChangeEvents(byStart, events);
  for (const PlacedFile& file : byStart) {
    for (const std::string& message : file.record->clockWarnings) {
      events.push_back(
          StationEvent{EventKind::kClock, file.record->start, file.name(), {}, message});
    }
    if (!file.coversTime()) {
      events.push_back(
          StationEvent{EventKind::kNoCoverage, file.record->start, file.name(), {}, {}});
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const StationEvent& a, const StationEvent& b) { return *a.time < *b.time; });
  for (const PlacedFile& file : files) {
    if (!file.record->usable) {
      events.push_back(StationEvent{EventKind::kUnusable, {}, file.name(), {}, {}});
    }
  }
  return events;
}

// Adds name to the list of disks unless it holds it already.
void addDisk(std::vector<std::string>& disks, const std::string& name) {
  if (std::find(disks.begin(), disks.end(), name) == disks.end()) disks.push_back(name);
}

// The index of the span of spans (disjoint and ordered) that holds time, which
// must lie in one.
std::size_t spanHolding(const std::vector<times::TimeSpan>& spans, int64_t time) {
  return static_cast<std::size_t>(
      std::upper_bound(spans.begin(), spans.end(), time,
                       [](int64_t t, const times::TimeSpan& span) { return t < span.start; }) -
      spans.begin() - 1);
}

// The union of the covering files' spans, each span with the disks of its
// files, and the disk of its earliest-starting and of its last-ending file.
struct CoveredSpans {
  explicit CoveredSpans(const PlacedFiles& covering);

  std::size_t indexOf(int64_t time) const { return spanHolding(spans, time); }

  std::vector<times::TimeSpan> spans;  // disjoint and ordered
  std::vector<std::vector<std::string>> disks;
  std::vector<std::string> firstDisk, lastDisk;
};

CoveredSpans::CoveredSpans(const PlacedFiles& covering) {
  std::vector<times::TimeSpan> fileSpans;
  for (const PlacedFile& file : covering) fileSpans.push_back(file.span());
  spans = times::unionOf(std::move(fileSpans));
  disks.resize(spans.size());
  firstDisk.resize(spans.size());
  lastDisk.resize(spans.size());
  for (const PlacedFile& file : covering) {  // by start
    const std::size_t index = indexOf(file.record->start);
    addDisk(disks[index], *file.disk);
    if (firstDisk[index].empty()) firstDisk[index] = *file.disk;
    if (file.record->end == spans[index].end) lastDisk[index] = *file.disk;
  }
}

// The covered spans cut to the window, each with its disks.
std::vector<SpanWithDisks> timespansIn(const CoveredSpans& covered, const times::TimeSpan& window) {
  std::vector<SpanWithDisks> timespans;
  for (std::size_t i = 0; i < covered.spans.size(); ++i) {
    const std::vector<times::TimeSpan> part = times::clippedTo({covered.spans[i]}, window);
    if (!part.empty()) timespans.push_back(SpanWithDisks{part.front(), covered.disks[i]});
  }
  return timespans;
}

// The gaps between the timespans within the window, past the tolerance, each
// with the disk that ends the span before it and the one that starts the span
// after it.
std::vector<SpanWithDisks> gapsWithDisks(const CoveredSpans& covered,
                                         const std::vector<SpanWithDisks>& timespans,
                                         const times::TimeSpan& window, int64_t tolerance) {
  std::vector<SpanWithDisks> gaps;
  for (const times::TimeSpan& gap : gapsIn(spansOf(timespans), window, tolerance)) {
    std::vector<std::string> disks;
    const auto before =
        std::lower_bound(covered.spans.begin(), covered.spans.end(), gap.start,
                         [](const times::TimeSpan& span, int64_t time) { return span.end < time; });
    if (before != covered.spans.end() && before->end == gap.start) {
      addDisk(disks, covered.lastDisk[static_cast<std::size_t>(before - covered.spans.begin())]);
    }
    const std::size_t after = covered.indexOf(gap.end);
    if (after < covered.spans.size() && covered.spans[after].start == gap.end) {
      addDisk(disks, covered.firstDisk[after]);
    }
    gaps.push_back(SpanWithDisks{gap, std::move(disks)});
  }
  return gaps;
}

// A station's overlaps: the file pairs and the regions they make.
struct Overlaps {
  std::vector<OverlapPair> pairs;
  std::vector<OverlapRegion> regions;
};

// Each file that starts before the furthest end reached so far overlaps the
// file that reached it: every second covered twice lies in one of these pairs.
// The pairs are cut to the window; their union gives the regions, each with
// the files of its pairs.
Overlaps overlapsIn(const PlacedFiles& covering, const times::TimeSpan& window) {
  Overlaps overlaps;
  std::vector<std::pair<std::size_t, std::size_t>> pairFiles;  // indexes into covering
  std::size_t reach = 0;
  for (std::size_t i = 0; i < covering.size(); ++i) {
    const FileRecord& file = *covering[i].record;
    if (i > 0 && file.start < covering[reach].record->end) {
      const times::TimeSpan both{file.start, std::min(file.end, covering[reach].record->end)};
      const std::vector<times::TimeSpan> part = times::clippedTo({both}, window);
      if (!part.empty()) {
        overlaps.pairs.push_back(
            OverlapPair{part.front(), covering[reach].name(), covering[i].name()});
        pairFiles.emplace_back(reach, i);
      }
    }
    if (i == 0 || file.end > covering[reach].record->end) reach = i;
  }

  std::vector<times::TimeSpan> spans;
  for (const OverlapPair& pair : overlaps.pairs) spans.push_back(pair.span);
  spans = times::unionOf(std::move(spans));
  std::vector<std::vector<std::size_t>> files(spans.size());
  for (std::size_t p = 0; p < overlaps.pairs.size(); ++p) {
    const std::size_t region = spanHolding(spans, overlaps.pairs[p].span.start);
    files[region].push_back(pairFiles[p].first);
    files[region].push_back(pairFiles[p].second);
  }
  for (std::size_t r = 0; r < spans.size(); ++r) {
    std::vector<std::size_t>& indexes = files[r];  // covering is in order of start
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    OverlapRegion region{spans[r], {}, {}};
    for (const std::size_t index : indexes) {
      region.files.push_back(covering[index].name());
      addDisk(region.disks, *covering[index].disk);
    }
    overlaps.regions.push_back(std::move(region));
  }
  return overlaps;
}

// The covered share of the window in percent, to two decimals.
double percentOf(int64_t covered, const times::TimeSpan& window) {
  if (window.seconds() <= 0) return 0;
  const double percent =
      100.0 * static_cast<double>(covered) / static_cast<double>(window.seconds());
  return std::round(percent * 100.0) / 100.0;
}

StationSummary summarizeStation(const std::string& station, const PlacedFiles& files,
                                const SummaryOptions& options) {
  StationSummary summary;
  summary.station = station;
  const PlacedFiles byStart = usableByStart(files);
  PlacedFiles covering;
  for (const PlacedFile& file : byStart) {
    if (!file.coversTime()) continue;
    covering.push_back(file);
    summary.firstStart =
        std::min(summary.firstStart.value_or(file.record->start), file.record->start);
    summary.lastEnd = std::max(summary.lastEnd.value_or(file.record->end), file.record->end);
  }
  summary.events = eventsOf(files, byStart);
  summary.spanSeconds = summary.firstStart ? *summary.lastEnd - *summary.firstStart : 0;
  summary.window = times::TimeSpan{options.from.value_or(summary.firstStart.value_or(0)),
                                   options.to.value_or(summary.lastEnd.value_or(0))};

  const CoveredSpans covered(covering);
  summary.timespans = timespansIn(covered, summary.window);
  summary.gaps =
      gapsWithDisks(covered, summary.timespans, summary.window, options.gapToleranceSeconds);
  Overlaps overlaps = overlapsIn(covering, summary.window);
  summary.overlapPairs = std::move(overlaps.pairs);
  summary.overlaps = std::move(overlaps.regions);
  summary.realDataSeconds = times::totalSeconds(spansOf(summary.timespans));
  summary.coveragePercent = percentOf(summary.realDataSeconds, summary.window);
  return summary;
}

void addDiskJunctions(CoverageSummary& summary) {
  std::vector<const DiskSummary*> timed;
  for (const DiskSummary& disk : summary.disks) {
    if (disk.first) timed.push_back(&disk);
  }
  std::stable_sort(timed.begin(), timed.end(), [](const DiskSummary* a, const DiskSummary* b) {
    return *a->first < *b->first;
  });
  const DiskSummary* reach = nullptr;
  for (const DiskSummary* disk : timed) {
    if (reach != nullptr) {
      const std::string &before = reach->record.name, &after = disk->record.name;
      const times::TimeSpan gap{*reach->last, *disk->first};
      if (gap.seconds() > summary.options.gapToleranceSeconds && gap.seconds() > 0) {
        summary.diskGaps.push_back(DiskJunction{before, after, gap});
      } else if (gap.seconds() < 0) {
        summary.diskOverlaps.push_back(DiskJunction{
            before, after, times::TimeSpan{*disk->first, std::min(*disk->last, *reach->last)}});
      }
    }
    if (reach == nullptr || *disk->last > *reach->last) reach = disk;
  }
}

}  // namespace

CoverageSummary summarize(std::vector<DiskRecord> disks, const SummaryOptions& options) {
  std::stable_sort(disks.begin(), disks.end(),
                   [](const DiskRecord& a, const DiskRecord& b) { return a.name < b.name; });
  CoverageSummary summary;
  summary.options = options;
  summary.disks.reserve(disks.size());  // the files keep their places: stations point into them
  for (DiskRecord& record : disks) {
    DiskSummary disk{std::move(record), {}, {}};
    for (const FileRecord& file : disk.record.files) {
      if (!file.usable || file.end <= file.start) continue;
      disk.first = std::min(disk.first.value_or(file.start), file.start);
      disk.last = std::max(disk.last.value_or(file.end), file.end);
    }
    summary.disks.push_back(std::move(disk));
  }
  std::map<std::string, PlacedFiles> stations;
  for (const DiskSummary& disk : summary.disks) {
    for (const FileRecord& file : disk.record.files) {
      stations[file.station].push_back(PlacedFile{&file, &disk.record.name});
    }
  }
  for (const auto& [station, files] : stations) {
    summary.stations.push_back(summarizeStation(station, files, options));
  }
  addDiskJunctions(summary);
  return summary;
}

}  // namespace summary
