// make_large_disk: writes a disk of generated data files of any size, start,
// station and spacing, for timing whole runs at archive scale and for trying
// cdcoverage on an archive of several disks. --help tells its arguments.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
constexpr int32_t kRecordSeconds = 10;

constexpr const char* kUsage =
    "usage: make_large_disk DIRECTORY FILES [RECORDS] [--start=TIME] [--station=NAME]\n"
    "                       [--step=SECONDS] [--shuffle]\n";

constexpr const char* kHelp =
    "Writes into DIRECTORY (emptied first) a disk of FILES permanent-stream data files\n"
    "of RECORDS records of 10 s each (default 6: a minute a file, 7 KiB), in the\n"
    "\"subdir\" layout: 200 files a day in a date folder, each day's files one after\n"
    "another from the day's start (200 one-minute files cover 3 h 20 m), the rest of\n"
    "the day a gap. Every tenth file has a trigger-stream twin.\n"
    "\n"
    "  --start=TIME     the first day's start (default 2006-06-15T00:00:00; the forms\n"
    "                   cdarchive takes: 2006-06-15, 2006-06-15T08:30, ...:00Z)\n"
    "  --station=NAME   the station's name (default VELK)\n"
    "  --step=SECONDS   from one file's start to the next (default the file's length,\n"
    "                   RECORDS x 10 s: back to back); less overlaps, more leaves gaps\n"
    "  --shuffle        the same start times dealt to the files in a random order\n"
    "                   (the same each run), so that names do not follow time\n"
    "  --help           this text\n";

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
      const std::optional<int64_t> time = times::parseTypedTime(*start);
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
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("%s\n%s", kUsage, kHelp);
      return 0;
    }
  }
  const bool directoryNamed = argc >= 2 && argv[1][0] != '-';
  const std::optional<Layout> layout =
      directoryNamed && argc >= 3 ? layoutOf(argc, argv) : std::nullopt;
  if (!layout) {
    std::fprintf(stderr, "%sTry make_large_disk --help.\n", kUsage);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  const int32_t step = layout->step.value_or(layout->records * kRecordSeconds);
  std::vector<int32_t> starts;
  for (long i = 0; i < layout->files; ++i) {
    const int64_t start = int64_t{layout->firstDay} + int64_t{i / kFilesPerDay} * 86400 +
                          int64_t{i % kFilesPerDay} * step;
    if (start > INT32_MAX - int64_t{layout->records} * kRecordSeconds) {
      std::fprintf(stderr, "make_large_disk: the files would end past 2038-01-19\n");
      return 2;
    }
    starts.push_back(static_cast<int32_t>(start));
  }
  std::filesystem::remove_all(root);
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
