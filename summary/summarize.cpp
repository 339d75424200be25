#include "summary/summarize.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A data file with the disk it lies on.
struct PlacedFile {
  const FileRecord* record;
  const std::string* disk;

  FileName name() const { return FileName{*disk, record->path}; }
  TimeSpan span() const { return TimeSpan{record->start, record->end}; }
  bool coversTime() const { return record->usable && record->end > record->start; }
};

void addChangeEvents(const std::vector<PlacedFile>& byTime, std::vector<StationEvent>& events) {
  for (std::size_t i = 1; i < byTime.size(); ++i) {
    const FileRecord& before = *byTime[i - 1].record;
    const FileRecord& after = *byTime[i].record;
    auto change = [&](const char* kind, const char* field, const std::string& from,
                      const std::string& to) {
      if (from == to) return;
      StationEvent event;
      event.kind = kind;
      event.time = after.start;
      event.file = byTime[i].name();
      event.previousFile = byTime[i - 1].name();
      event.field = field;
      event.from = from;
      event.to = to;
      events.push_back(std::move(event));
    };
    change("position", "latitude", before.latitude, after.latitude);
    change("position", "longitude", before.longitude, after.longitude);
    change("position", "altitude", before.altitude, after.altitude);
    change("frequency", "frequency", std::to_string(before.frequency),
           std::to_string(after.frequency));
  }
}

std::vector<StationEvent> eventsOf(const std::vector<PlacedFile>& files,
                                   const std::vector<PlacedFile>& byTime) {
  std::vector<StationEvent> events;
  addChangeEvents(byTime, events);
  for (const PlacedFile& file : byTime) {
    for (const std::string& message : file.record->clockWarnings) {
      StationEvent event;
      event.kind = "clock";
      event.time = file.record->start;
      event.file = file.name();
      event.message = message;
      events.push_back(std::move(event));
    }
    if (!file.coversTime()) {
      StationEvent event;
      event.kind = "no-coverage";
      event.time = file.record->start;
      event.file = file.name();
      events.push_back(std::move(event));
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const StationEvent& a, const StationEvent& b) { return *a.time < *b.time; });
  for (const PlacedFile& file : files) {
    if (file.record->usable) continue;
    StationEvent event;
    event.kind = "unusable";
    event.file = file.name();
    events.push_back(std::move(event));
  }
  return events;
}

// Each file that starts before the furthest end reached so far overlaps the
// file that reached it: every second covered twice lies in one of these pairs.
std::vector<OverlapPair> overlapPairsOf(const std::vector<PlacedFile>& covering) {
  std::vector<OverlapPair> pairs;
  const PlacedFile* reach = nullptr;
  for (const PlacedFile& file : covering) {
    if (reach != nullptr && file.record->start < reach->record->end) {
      pairs.push_back(
          OverlapPair{TimeSpan{file.record->start, std::min(file.record->end, reach->record->end)},
                      reach->name(), file.name()});
    }
    if (reach == nullptr || file.record->end > reach->record->end) reach = &file;
  }
  return pairs;
}

// Adds name to the list of disks unless it ends the list already.
void addDisk(std::vector<std::string>& disks, const std::string& name) {
  if (std::find(disks.begin(), disks.end(), name) == disks.end()) disks.push_back(name);
}

StationSummary summarizeStation(const std::string& station, const std::vector<PlacedFile>& files,
                                const SummaryOptions& options) {
  StationSummary summary;
  summary.station = station;
  std::vector<PlacedFile> byTime, covering;
  for (const PlacedFile& file : files) {
    if (file.record->usable) byTime.push_back(file);
  }
  std::stable_sort(byTime.begin(), byTime.end(), [](const PlacedFile& a, const PlacedFile& b) {
    return a.record->start < b.record->start;
  });
  std::vector<TimeSpan> spans;
  for (const PlacedFile& file : byTime) {
    if (!file.coversTime()) continue;
    covering.push_back(file);
    spans.push_back(file.span());
    summary.firstStart =
        std::min(summary.firstStart.value_or(file.record->start), file.record->start);
    summary.lastEnd = std::max(summary.lastEnd.value_or(file.record->end), file.record->end);
  }
  summary.events = eventsOf(files, byTime);
  summary.spanSeconds = summary.firstStart ? *summary.lastEnd - *summary.firstStart : 0;
  summary.window = TimeSpan{options.from.value_or(summary.firstStart.value_or(0)),
                            options.to.value_or(summary.lastEnd.value_or(0))};

  const std::vector<TimeSpan> covered = unionOf(spans);
  // Union spans are disjoint and ordered, and every covering file lies in one.
  auto spanIndexOf = [&](int64_t start) {
    return static_cast<std::size_t>(
        std::upper_bound(covered.begin(), covered.end(), start,
                         [](int64_t time, const TimeSpan& span) { return time < span.start; }) -
        covered.begin() - 1);
  };
  std::vector<std::vector<std::string>> disksOfSpan(covered.size());
  std::vector<std::string> firstDiskOfSpan(covered.size()), lastDiskOfSpan(covered.size());
  for (const PlacedFile& file : covering) {
    const std::size_t index = spanIndexOf(file.record->start);
    addDisk(disksOfSpan[index], *file.disk);
    if (firstDiskOfSpan[index].empty()) firstDiskOfSpan[index] = *file.disk;  // by start
    if (file.record->end == covered[index].end) lastDiskOfSpan[index] = *file.disk;
  }
  for (std::size_t i = 0; i < covered.size(); ++i) {
    const std::vector<TimeSpan> part = clippedTo({covered[i]}, summary.window);
    if (part.empty()) continue;
    summary.timespans.push_back(part.front());
    summary.timespanDisks.push_back(disksOfSpan[i]);
  }
  summary.gaps = gapsIn(summary.timespans, summary.window, options.gapToleranceSeconds);
  for (const TimeSpan& gap : summary.gaps) {
    std::vector<std::string> disks;
    const auto before =
        std::lower_bound(covered.begin(), covered.end(), gap.start,
                         [](const TimeSpan& span, int64_t time) { return span.end < time; });
    if (before != covered.end() && before->end == gap.start) {
      addDisk(disks, lastDiskOfSpan[before - covered.begin()]);
    }
    const std::size_t after = spanIndexOf(gap.end);
    if (after < covered.size() && covered[after].start == gap.end) {
      addDisk(disks, firstDiskOfSpan[after]);
    }
    summary.gapDisks.push_back(std::move(disks));
  }

  std::vector<TimeSpan> overlapSpans;
  for (OverlapPair& pair : overlapPairsOf(covering)) {
    const std::vector<TimeSpan> part = clippedTo({pair.span}, summary.window);
    if (part.empty()) continue;
    pair.span = part.front();
    overlapSpans.push_back(pair.span);
    summary.overlapPairs.push_back(std::move(pair));
  }
  summary.overlaps = unionOf(overlapSpans);
  summary.realDataSeconds = totalSeconds(summary.timespans);
  const int64_t windowSeconds = summary.window.seconds();
  if (windowSeconds > 0) {
    const double percent =
        100.0 * static_cast<double>(summary.realDataSeconds) / static_cast<double>(windowSeconds);
    summary.coveragePercent = std::round(percent * 100.0) / 100.0;
  }
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
      const TimeSpan gap{*reach->last, *disk->first};
      if (gap.seconds() > summary.options.gapToleranceSeconds && gap.seconds() > 0) {
        summary.diskGaps.push_back(DiskJunction{reach->disk, disk->disk, gap});
      } else if (gap.seconds() < 0) {
        summary.diskOverlaps.push_back(DiskJunction{
            reach->disk, disk->disk, TimeSpan{*disk->first, std::min(*disk->last, *reach->last)}});
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
  std::map<std::string, std::vector<PlacedFile>> stations;
  for (std::size_t i = 0; i < disks.size(); ++i) {
    DiskSummary disk{disks[i].name, static_cast<int32_t>(disks[i].files.size()), {}, {}};
    for (const FileRecord& file : disks[i].files) {
      stations[file.station].push_back(PlacedFile{&file, &disks[i].name});
      if (!file.usable || file.end <= file.start) continue;
      disk.first = std::min(disk.first.value_or(file.start), file.start);
      disk.last = std::max(disk.last.value_or(file.end), file.end);
    }
    summary.disks.push_back(std::move(disk));
  }
  for (const auto& [station, files] : stations) {
    summary.stations.push_back(summarizeStation(station, files, options));
  }
  addDiskJunctions(summary);
  summary.diskRecords = std::move(disks);  // the files keep their places
  return summary;
}
