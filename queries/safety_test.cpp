#include "queries/safety.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/file_records.h"

namespace queries {
namespace {

using catalog::DiskState;
using times::TimeSpan;

constexpr int64_t kSeconds = 200;  // every file lies in [0, kSeconds)
constexpr int64_t kNow = 100000;

bool covers(const std::vector<TimeSpan>& spans, int64_t t) {
  return std::any_of(spans.begin(), spans.end(),
                     [t](const TimeSpan& s) { return s.start <= t && t < s.end; });
}

// A shelf of random disks, each unproven, proven by its addition with fixity
// (time lost then, or none), or proven by a check that found files changed,
// missing, below a directory it could not list, and time lost.
std::vector<catalog::ProvenDisk> randomShelf(std::mt19937& random) {
  const auto pick = [&](int64_t from, int64_t to) {
    return std::uniform_int_distribution<int64_t>(from, to)(random);
  };
  std::vector<catalog::ProvenDisk> shelf;
  const int64_t count = pick(1, 6);
  for (int64_t d = 0; d < count; ++d) {
    catalog::ProvenDisk provenDisk;
    catalog::CataloguedDisk& disk = provenDisk.disk;
    disk.entry.label = "disk" + std::to_string(d);
    disk.entry.source = "/media/" + disk.entry.label;
    const int64_t files = pick(1, 4);
    for (int64_t f = 0; f < files; ++f) {
      const int64_t start = pick(0, kSeconds - 41);
      catalog::CataloguedFile file{
          testsupport::usableFile(
              disk.entry.source + "/d" + std::to_string(f % 2) + "/F" + std::to_string(f) + ".DAT",
              start, start + pick(1, 40)),
          1000,
          static_cast<int32_t>(pick(1, 2)),
          {},
          {}};
      file.record.station = pick(0, 1) == 0 ? "A" : "B";
      file.record.usable = pick(0, 5) != 0;
      disk.files.push_back(file);
    }
    const int64_t kind = pick(0, 2);
    disk.entry.proven = kind == 0 ? std::nullopt : std::optional<int64_t>(pick(0, kNow));
    bool damaged = false;
    if (kind == 1) {  // its addition: time lost in some files
      for (catalog::CataloguedFile& file : disk.files) {
        if (pick(0, 2) != 0) continue;
        const int64_t start = pick(file.record.start - 5, file.record.end);
        file.lost.push_back({start, start + pick(1, 10)});
        damaged = true;
      }
    } else if (kind == 2) {  // its latest check
      catalog::AuditRecord audit{pick(0, kNow), disk.entry.source, 1, {}, {}};
      for (const catalog::CataloguedFile& file : disk.files) {
        const std::string below = file.record.path.substr(disk.entry.source.size() + 1);
        const int64_t what = pick(0, 5);
        if (what == 0)
          audit.findings.push_back({fixity::AuditStatus::kChanged, below, "", {}, true, false});
        if (what == 1)
          audit.findings.push_back({fixity::AuditStatus::kMissing, below, "", {}, true, false});
        if (what == 2)
          audit.findings.push_back({fixity::AuditStatus::kMoved, below, "x", {}, true, false});
        if (what == 3) {
          const int64_t start = pick(file.record.start - 5, file.record.end);
          audit.lost.push_back(
              {file.record.station, file.record.path, {start, start + pick(1, 10)}});
        }
      }
      if (pick(0, 4) == 0)
        audit.findings.push_back({fixity::AuditStatus::kUnreadable, "d1/", "", {}, true, true});
      damaged = !audit.findings.empty() || !audit.lost.empty();
      provenDisk.latest = audit;
    }
    disk.entry.state = kind == 0 ? DiskState::kUnproven
                       : damaged ? DiskState::kDamaged
                                 : DiskState::kIntact;
    shelf.push_back(std::move(provenDisk));
  }
  return shelf;
}

// Whether disk counts for second t of the station's stream, counted here
// from its files and proofs, second by second.
bool countsFor(const catalog::ProvenDisk& provenDisk, const std::string& station, int32_t stream,
               int64_t t) {
  const catalog::CataloguedDisk& disk = provenDisk.disk;
  if (disk.entry.state == DiskState::kUnproven) return false;
  bool held = false;
  for (const catalog::CataloguedFile& file : disk.files) {
    held = held || (file.record.usable && file.record.station == station && file.stream == stream &&
                    file.record.start <= t && t < file.record.end);
  }
  if (!held) return false;
  for (const catalog::CataloguedFile& file : disk.files) {
    const bool ofStation = file.record.station == station;
    const bool inFile = file.record.start <= t && t < file.record.end;
    if (!provenDisk.latest) {
      if (ofStation && covers(file.lost, t)) return false;
      continue;
    }
    const std::string below = file.record.path.substr(disk.entry.source.size() + 1);
    for (const fixity::AuditEntry& entry : provenDisk.latest->findings) {
      const bool hit =
          entry.directory ? below.rfind(entry.path, 0) == 0
                          : entry.path == below && (entry.status == fixity::AuditStatus::kChanged ||
                                                    entry.status == fixity::AuditStatus::kMissing);
      if (hit && ofStation && inFile) return false;
    }
  }
  if (provenDisk.latest) {
    for (const catalog::LostTime& lost : provenDisk.latest->lost) {
      if (lost.station == station && lost.span.start <= t && t < lost.span.end) return false;
    }
  }
  return true;
}

bool holds(const catalog::ProvenDisk& provenDisk, const std::string& station, int32_t stream,
           int64_t t) {
  return std::any_of(provenDisk.disk.files.begin(), provenDisk.disk.files.end(),
                     [&](const catalog::CataloguedFile& file) {
                       return file.record.usable && file.record.station == station &&
                              file.stream == stream && file.record.start <= t &&
                              t < file.record.end;
                     });
}

TEST(Safety, EveryFigureEqualsACountMadeSecondBySecond) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 300; ++round) {
    const std::vector<catalog::ProvenDisk> shelf = randomShelf(random);
    const int64_t olderThan = std::uniform_int_distribution<int64_t>(0, kNow)(random);
    const SafetyReport report = safetyOf(shelf, SafetyQuery{"", {0, kSeconds}, kNow, olderThan});

    std::map<std::tuple<std::string, int32_t>, std::array<int64_t, 3>> held;  // none, one, more
    std::map<std::string, int64_t> sole;
    // Lost seconds: (disk, station, stream, t) -> the other disks that count.
    std::map<std::tuple<std::string, std::string, int32_t, int64_t>, std::vector<std::string>> lost;
    for (const std::string station : {"A", "B"}) {
      for (const int32_t stream : {1, 2}) {
        for (int64_t t = 0; t < kSeconds; ++t) {
          std::vector<std::string> counting;
          bool data = false;
          for (const catalog::ProvenDisk& disk : shelf) {
            data = data || holds(disk, station, stream, t);
            if (countsFor(disk, station, stream, t)) counting.push_back(disk.disk.entry.label);
          }
          if (!data) continue;
          ++held[{station, stream}][std::min<std::size_t>(counting.size(), 2)];
          if (counting.size() == 1) ++sole[counting.front()];
          for (const catalog::ProvenDisk& disk : shelf) {
            const std::string& label = disk.disk.entry.label;
            if (disk.disk.entry.state == DiskState::kUnproven || !holds(disk, station, stream, t) ||
                countsFor(disk, station, stream, t))
              continue;
            lost[{label, station, stream, t}] = counting;
          }
        }
      }
    }

    std::map<std::tuple<std::string, int32_t>, std::array<int64_t, 3>> heldFound;
    std::map<std::string, int64_t> soleFound;
    std::map<std::tuple<std::string, std::string, int32_t, int64_t>, std::vector<std::string>>
        lostFound;
    std::vector<std::string> reburnOrder, oldFound;
    for (const SafetyRow& row : report.rows) {
      switch (row.kind) {
        case SafetyRow::Kind::kHeld:
          heldFound[{row.station, row.stream}] = {row.none, row.one, row.more};
          break;
        case SafetyRow::Kind::kLost:
          for (int64_t t = row.span.start; t < row.span.end; ++t)
            lostFound[{row.disk, row.station, row.stream, t}] = row.intactOn;
          break;
        case SafetyRow::Kind::kOld:
          oldFound.push_back(row.disk);
          break;
        case SafetyRow::Kind::kReburn:
          soleFound[row.disk] = row.seconds;
          reburnOrder.push_back(row.disk);
          break;
      }
    }
    ASSERT_EQ(heldFound, held) << "round " << round;
    ASSERT_EQ(soleFound, sole) << "round " << round;
    ASSERT_EQ(lostFound, lost) << "round " << round;
    EXPECT_EQ(report.someLostEverywhere(),
              std::any_of(held.begin(), held.end(), [](const auto& h) { return h.second[0] > 0; }));

    // Most at risk first: damaged, then proven longest ago.
    std::vector<const catalog::DiskEntry*> ranked;
    for (const catalog::ProvenDisk& disk : shelf) ranked.push_back(&disk.disk.entry);
    std::sort(ranked.begin(), ranked.end(), [](const auto* x, const auto* y) {
      return std::make_tuple(x->state != DiskState::kDamaged, x->proven, x->label) <
             std::make_tuple(y->state != DiskState::kDamaged, y->proven, y->label);
    });
    std::vector<std::string> reburn, old;
    for (const catalog::DiskEntry* entry : ranked) {
      if (sole.count(entry->label) != 0) reburn.push_back(entry->label);
      const auto& shelved = *std::find_if(
          shelf.begin(), shelf.end(),
          [&](const catalog::ProvenDisk& d) { return d.disk.entry.label == entry->label; });
      bool any = false;
      for (int64_t t = 0; t < kSeconds; ++t) {
        for (const std::string station : {"A", "B"})
          for (const int32_t stream : {1, 2}) any = any || holds(shelved, station, stream, t);
      }
      if (any && (!entry->proven || *entry->proven < kNow - olderThan)) old.push_back(entry->label);
    }
    EXPECT_EQ(reburnOrder, reburn) << "round " << round;
    EXPECT_EQ(oldFound, old) << "round " << round;

    // The page's pieces: of each station, whatever the stream.
    const std::map<std::string, std::vector<summary::SpanWithDisks>> copies =
        provenCopiesOf(shelf, SafetyQuery{"", {0, kSeconds}, kNow, std::nullopt});
    for (const std::string station : {"A", "B"}) {
      for (int64_t t = 0; t < kSeconds; ++t) {
        bool data = false;
        std::vector<std::string> counting;
        for (const catalog::ProvenDisk& disk : shelf) {
          data = data || holds(disk, station, 1, t) || holds(disk, station, 2, t);
          if (countsFor(disk, station, 1, t) || countsFor(disk, station, 2, t))
            counting.push_back(disk.disk.entry.label);
        }
        const auto found = copies.find(station);
        const summary::SpanWithDisks* piece = nullptr;
        if (found != copies.end()) {
          for (const summary::SpanWithDisks& p : found->second) {
            if (p.span.start <= t && t < p.span.end) piece = &p;
          }
        }
        ASSERT_EQ(piece != nullptr, data) << "round " << round << " " << station << " " << t;
        if (piece != nullptr) {
          ASSERT_EQ(piece->disks, counting) << "round " << round << " " << t;
        }
      }
    }
  }
}

}  // namespace
}  // namespace queries
