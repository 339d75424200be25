// make_large_disk DIRECTORY FILES [RECORDS] [--start=TIME] [--station=NAME] [--step=SECONDS]
//   [--shuffle]:
// writes a disk of FILES permanent-stream data files of RECORDS records of 10 s
// each (default 6: a minute, 7 KiB a file) in the "subdir" layout, 200 to a date
// directory, a day's files one after another from the day's start and a gap
// between days; every tenth file has a trigger-stream twin.
// --start: the first day's start (default 2006-06-15T00:00:00);
// --station: the station name (default VELK);
// --step: the seconds from one file's start to the next (default 60: back to
//   back for files of 6 records; less than a file's length overlaps, more leaves
//   gaps);
// --shuffle: the same start times dealt to the files in a random order (the
//   same each run), so that names do not follow time: the intervals a walk
//   meets arrive out of order.
// For timing whole runs at archive scale, and for trying cdcoverage on an
// archive of several disks.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "times/iso_time.h"
#include "tools/datagen/data_file.h"

namespace {

constexpr int kFilesPerDay = 200;

struct Layout {
  long files = 0;
  int32_t records = 6;
  int32_t firstDay = 1150329600;  // 15-06-2006 00:00:00
  std::string station = "VELK";
  std::optional<int32_t> step;
  bool shuffle = false;
};

// A whole decimal number of at least minimum that fits T.
template <typename T>
std::optional<T> numberOf(std::string_view text, T minimum) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < minimum) return {};
  return value;
}

// The layout the arguments after DIRECTORY give; nothing when one is wrong.
std::optional<Layout> layoutOf(int argc, char** argv) {
  Layout layout;
  int positional = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const auto value = [&](std::string_view option) -> std::optional<std::string_view> {
      if (argument.substr(0, option.size()) != option) return std::nullopt;
      return argument.substr(option.size());
    };
    if (const auto start = value("--start=")) {
      const std::optional<int64_t> time = times::parseIsoTime(*start);
      if (!time || *time < INT32_MIN || *time > INT32_MAX - 86400 * 365) return std::nullopt;
      layout.firstDay = static_cast<int32_t>(*time);
    } else if (const auto station = value("--station=")) {
      layout.station = std::string(*station);
    } else if (const auto step = value("--step=")) {
      if (!(layout.step = numberOf<int32_t>(*step, 0))) return std::nullopt;
    } else if (argument == "--shuffle") {
      layout.shuffle = true;
    } else if (positional == 0) {
      const std::optional<long> files = numberOf<long>(argument, 0);
      if (!files) return std::nullopt;
      layout.files = *files;
      ++positional;
    } else if (positional == 1) {
      const std::optional<int32_t> records = numberOf<int32_t>(argument, 0);
      if (!records || *records > 100000) return std::nullopt;
      layout.records = *records;
      ++positional;
    } else {
      return std::nullopt;
    }
  }
  if (positional == 0) return std::nullopt;
  return layout;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Layout> layout = argc >= 3 ? layoutOf(argc, argv) : std::nullopt;
  if (!layout) {
    std::fprintf(stderr,
                 "usage: make_large_disk DIRECTORY FILES [RECORDS] [--start=TIME] "
                 "[--station=NAME] [--step=SECONDS] [--shuffle]\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const int32_t step = layout->step.value_or(60);
  std::filesystem::remove_all(root);
  std::vector<int32_t> starts;
  for (long i = 0; i < layout->files; ++i) {
    const auto day = static_cast<int32_t>(i / kFilesPerDay);
    const auto slot = static_cast<int32_t>(i % kFilesPerDay);
    starts.push_back(layout->firstDay + day * 86400 + slot * step);
  }
  if (layout->shuffle) std::shuffle(starts.begin(), starts.end(), std::mt19937(1150329600));
  for (long i = 0; i < layout->files; ++i) {
    const auto day = static_cast<int32_t>(i / kFilesPerDay);
    const auto slot = static_cast<int32_t>(i % kFilesPerDay);
    const int32_t start = starts[static_cast<std::size_t>(i)];
    const std::string dayName = datagen::dateText(layout->firstDay + day * 86400);  // dd-mm-yyyy
    const std::string dir =
        dayName.substr(6, 4) + dayName.substr(3, 2) + dayName.substr(0, 2);  // yyyymmdd
    char name[32];
    std::snprintf(name, sizeof name, "P%04d%03d.DAT", static_cast<int>(day % 10000),
                  static_cast<int>(slot));
    const datagen::DataFile file =
        datagen::DataFile().set("SYSTEM", "NAME", layout->station).records(layout->records);
    datagen::DataFile(file).startingAt(start).writeTo(root / dir / name);
    if (slot % 10 == 0) {
      name[0] = 'T';
      datagen::DataFile(file).startingAt(start + 30).writeTo(root / dir / name);
    }
  }
  return 0;
}
