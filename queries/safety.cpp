#include "queries/safety.h"

#include <algorithm>
#include <array>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <tuple>
#include <utility>

#include "base/printable_name.h"
#include "catalog/disk_identity.h"
#include "summary/summary_formats.h"
#include "times/duration.h"
#include "times/iso_time.h"

namespace queries {

namespace {

using times::TimeSpan;
using Spans = std::vector<TimeSpan>;
using Key = std::pair<std::string, int32_t>;  // a station and its stream

// Of disjoint, ordered spans a, the parts within b's, and the parts outside.
Spans within(const Spans& a, const Spans& b) {
  Spans parts;
  for (const TimeSpan& span : a) {
    for (const TimeSpan& piece : times::clippedTo(b, span)) parts.push_back(piece);
  }
  return parts;
}
Spans outside(const Spans& a, const Spans& b) {
  Spans parts;
  for (const TimeSpan& span : a) {
    for (const TimeSpan& gap : times::gapsIn(times::clippedTo(b, span), span, 0))
      parts.push_back(gap);
  }
  return parts;
}

// What one disk holds of each station's stream within the window: all of it,
// the part that counts, and the part that does not though the disk was proven.
struct Holding {
  std::map<Key, Spans> held, proven, lost;
};

// The time of a proven disk that does not count, by station: lost when its
// latest check ran (else when it was added), and all the time of the files
// that check found changed or missing, or below a directory it could not list.
std::map<std::string, Spans> notCountedOf(const catalog::ProvenDisk& provenDisk) {
  const catalog::CataloguedDisk& disk = provenDisk.disk;
  std::map<std::string, Spans> lost;
  if (!provenDisk.latest) {
    for (const catalog::CataloguedFile& file : disk.files) {
      for (const TimeSpan& span : file.lost) lost[file.record.station].push_back(span);
    }
    return lost;
  }
  for (const catalog::LostTime& time : provenDisk.latest->lost)
    lost[time.station].push_back(time.span);
  std::set<std::string> gone;
  std::vector<std::string> unlisted;  // ending in '/', "" for the root
  for (const fixity::AuditEntry& entry : provenDisk.latest->findings) {
    if (entry.directory) {
      unlisted.push_back(entry.path);
    } else if (entry.status == fixity::AuditStatus::kChanged ||
               entry.status == fixity::AuditStatus::kMissing) {
      gone.insert(entry.path);
    }
  }
  const std::string root = catalog::recordedRootOf(disk.entry.source, disk.files);
  for (const catalog::CataloguedFile& file : disk.files) {
    const std::string path = catalog::pathBelowRoot(file.record.path, root);
    const bool unseen = std::any_of(unlisted.begin(), unlisted.end(), [&](const std::string& d) {
      return path.compare(0, d.size(), d) == 0;
    });
    if (unseen || gone.count(path) != 0)
      lost[file.record.station].push_back({file.record.start, file.record.end});
  }
  return lost;
}

// What the disk holds of the query's data; with anyStream, of each station
// whatever its stream (the key's stream 0).
Holding holdingOf(const catalog::ProvenDisk& provenDisk, const SafetyQuery& query, bool anyStream) {
  Holding holding;
  for (const catalog::CataloguedFile& file : provenDisk.disk.files) {
    const survey::FileRecord& record = file.record;
    if (!record.usable || (!query.station.empty() && record.station != query.station)) continue;
    holding.held[{record.station, anyStream ? 0 : file.stream}].push_back(
        {record.start, record.end});
  }
  const bool proven = provenDisk.disk.entry.state != catalog::DiskState::kUnproven;
  const std::map<std::string, Spans> notCounted =
      proven ? notCountedOf(provenDisk) : std::map<std::string, Spans>();
  for (auto& [key, spans] : holding.held) {
    spans = times::clippedTo(times::unionOf(std::move(spans)), query.window);
    if (!proven) continue;
    const auto found = notCounted.find(key.first);
    const Spans lost = found == notCounted.end() ? Spans() : times::unionOf(found->second);
    holding.proven[key] = outside(spans, lost);
    holding.lost[key] = within(spans, lost);
  }
  return holding;
}

// What each disk holds (holdingOf), and in keys every station's stream that
// some disk holds data of.
std::vector<Holding> holdingsOf(const std::vector<catalog::ProvenDisk>& disks,
                                const SafetyQuery& query, bool anyStream, std::set<Key>& keys) {
  std::vector<Holding> holdings;
  holdings.reserve(disks.size());
  for (const catalog::ProvenDisk& disk : disks) {
    holdings.push_back(holdingOf(disk, query, anyStream));
    for (const auto& [key, spans] : holdings.back().held) {
      if (!spans.empty()) keys.insert(key);
    }
  }
  return holdings;
}

// A piece of key's data and the disks that count for all of it.
struct Piece {
  TimeSpan span;
  std::vector<std::size_t> disks;  // indexes into the holdings, ascending
};

// Key's data in pieces by the disks that count for them, pieces of the same
// disks that touch joined.
std::vector<Piece> piecesOf(const Key& key, const std::vector<Holding>& holdings) {
  struct Event {
    int64_t at;
    int delta;
    std::size_t disk;  // holdings.size(): the data itself
  };
  std::vector<Event> events;
  const auto add = [&](const Spans& spans, std::size_t disk) {
    for (const TimeSpan& span : spans) {
      events.push_back({span.start, 1, disk});
      events.push_back({span.end, -1, disk});
    }
  };
  Spans data;
  for (std::size_t i = 0; i < holdings.size(); ++i) {
    const auto held = holdings[i].held.find(key);
    if (held != holdings[i].held.end())
      data.insert(data.end(), held->second.begin(), held->second.end());
    const auto proven = holdings[i].proven.find(key);
    if (proven != holdings[i].proven.end()) add(proven->second, i);
  }
  add(times::unionOf(std::move(data)), holdings.size());
  // At one time, ends before starts: spans that touch hand over.
  std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.at != b.at ? a.at < b.at : a.delta < b.delta;
  });
  std::vector<Piece> pieces;
  std::set<std::size_t> counting;
  bool inData = false;
  for (std::size_t e = 0; e < events.size();) {
    const int64_t at = events[e].at;
    for (; e < events.size() && events[e].at == at; ++e) {
      const Event& event = events[e];
      if (event.disk == holdings.size()) {
        inData = event.delta > 0;
      } else if (event.delta > 0) {
        counting.insert(event.disk);
      } else {
        counting.erase(event.disk);
      }
    }
    if (!inData || e == events.size()) continue;
    std::vector<std::size_t> disks(counting.begin(), counting.end());
    if (!pieces.empty() && pieces.back().span.end == at && pieces.back().disks == disks) {
      pieces.back().span.end = events[e].at;
    } else {
      pieces.push_back(Piece{{at, events[e].at}, std::move(disks)});
    }
  }
  return pieces;
}

// The seconds of key's data by how many disks count for them, and for each
// disk the seconds it alone counts for (added to sole).
SafetyRow heldRow(const Key& key, const std::vector<Holding>& holdings,
                  std::vector<int64_t>& sole) {
  SafetyRow row;
  row.kind = SafetyRow::Kind::kHeld;
  row.station = key.first;
  row.stream = key.second;
  for (const Piece& piece : piecesOf(key, holdings)) {
    const int64_t seconds = piece.span.seconds();
    if (piece.disks.empty()) {
      row.none += seconds;
    } else if (piece.disks.size() == 1) {
      row.one += seconds;
      sole[piece.disks.front()] += seconds;
    } else {
      row.more += seconds;
    }
  }
  return row;
}

// The rows of the spans key's data lost on disk lost: each piece with the
// other disks that count for all of it, pieces of the same disks joined.
void addLostRows(const Key& key, std::size_t lostOn, const std::vector<catalog::ProvenDisk>& disks,
                 const std::vector<Holding>& holdings, std::vector<SafetyRow>& rows) {
  const auto lost = holdings[lostOn].lost.find(key);
  if (lost == holdings[lostOn].lost.end()) return;
  for (const TimeSpan& span : lost->second) {
    std::vector<int64_t> cuts = {span.start, span.end};
    for (std::size_t j = 0; j < holdings.size(); ++j) {
      const auto proven = holdings[j].proven.find(key);
      if (j == lostOn || proven == holdings[j].proven.end()) continue;
      for (const TimeSpan& piece : times::clippedTo(proven->second, span)) {
        cuts.push_back(piece.start);
        cuts.push_back(piece.end);
      }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
      std::vector<std::string> intact;
      for (std::size_t j = 0; j < holdings.size(); ++j) {
        const auto proven = holdings[j].proven.find(key);
        if (j == lostOn || proven == holdings[j].proven.end()) continue;
        const bool holds =
            std::any_of(proven->second.begin(), proven->second.end(),
                        [&](const TimeSpan& s) { return s.start <= cuts[c] && cuts[c] < s.end; });
        if (holds) intact.push_back(disks[j].disk.entry.label);
      }
      if (!rows.empty()) {
        SafetyRow& last = rows.back();
        if (last.kind == SafetyRow::Kind::kLost && last.disk == disks[lostOn].disk.entry.label &&
            last.station == key.first && last.stream == key.second && last.span.end == cuts[c] &&
            last.intactOn == intact) {
          last.span.end = cuts[c + 1];
          continue;
        }
      }
      SafetyRow row;
      row.kind = SafetyRow::Kind::kLost;
      row.station = key.first;
      row.stream = key.second;
      row.disk = disks[lostOn].disk.entry.label;
      row.span = {cuts[c], cuts[c + 1]};
      row.intactOn = std::move(intact);
      rows.push_back(std::move(row));
    }
  }
}

// A disk's row of the kinds that name it alone.
SafetyRow diskRow(SafetyRow::Kind kind, const catalog::DiskEntry& entry, int64_t seconds) {
  SafetyRow row;
  row.kind = kind;
  row.disk = entry.label;
  row.seconds = seconds;
  row.proven = entry.proven;
  row.state = entry.state;
  return row;
}

const char* kindName(SafetyRow::Kind kind) {
  switch (kind) {
    case SafetyRow::Kind::kLost:
      return "lost";
    case SafetyRow::Kind::kOld:
      return "old";
    case SafetyRow::Kind::kReburn:
      return "reburn";
    case SafetyRow::Kind::kHeld:
      break;
  }
  return "held";
}

std::string textReport(const SafetyReport& report) {
  std::string text;
  for (const SafetyRow& row : report.rows) {
    const std::string source = base::printableName(row.station) + " " + std::to_string(row.stream);
    const std::string proof = std::string(catalog::diskStateName(row.state)) + ", proven " +
                              times::isoTimeOrNone(row.proven);
    switch (row.kind) {
      case SafetyRow::Kind::kHeld:
        text += source + ": on no proven disk " + times::durationText(row.none) + ", on one " +
                times::durationText(row.one) + ", on two or more " + times::durationText(row.more) +
                "\n";
        break;
      case SafetyRow::Kind::kLost: {
        std::string intact;
        for (const std::string& label : row.intactOn)
          intact += (intact.empty() ? "" : ", ") + base::printableName(label);
        text += source + ": lost on " + base::printableName(row.disk) + " " +
                times::isoTime(row.span.start) + " .. " + times::isoTime(row.span.end) +
                ", intact on " + (intact.empty() ? std::string("no other disk") : intact) + "\n";
        break;
      }
      case SafetyRow::Kind::kOld:
        text += "proof too old: " + base::printableName(row.disk) + " (" + proof + ")\n";
        break;
      case SafetyRow::Kind::kReburn:
        text += "re-burn: " + base::printableName(row.disk) + " (" + proof + "), alone holds " +
                times::durationText(row.seconds) + "\n";
        break;
    }
  }
  return text;
}

constexpr std::array<const char*, 13> kColumns = {
    "kind", "station", "stream",  "disk",      "from",   "to",   "none",
    "one",  "more",    "seconds", "intact_on", "proven", "state"};

std::string csvReport(const SafetyReport& report) {
  std::string csv;
  for (const char* column : kColumns) csv += std::string(csv.empty() ? "" : "|") + column;
  csv += "\r\n";
  for (const SafetyRow& row : report.rows) {
    std::string intact;
    for (const std::string& label : row.intactOn) intact += (intact.empty() ? "" : ",") + label;
    const bool lost = row.kind == SafetyRow::Kind::kLost;
    const bool held = row.kind == SafetyRow::Kind::kHeld;
    const bool ofDisk = !held && !lost;
    const std::array<std::string, kColumns.size()> fields = {
        kindName(row.kind),
        row.station,
        ofDisk ? "" : std::to_string(row.stream),
        row.disk,
        lost ? times::isoTime(row.span.start) : "",
        lost ? times::isoTime(row.span.end) : "",
        held ? std::to_string(row.none) : "",
        held ? std::to_string(row.one) : "",
        held ? std::to_string(row.more) : "",
        lost   ? std::to_string(row.span.seconds())
        : held ? ""
               : std::to_string(row.seconds),
        intact,
        ofDisk && row.proven ? times::isoTime(*row.proven) : "",
        ofDisk ? catalog::diskStateName(row.state) : ""};
    std::string line;
    for (const std::string& field : fields)
      line += (line.empty() ? "" : "|") + summary::csvField(field);
    csv += line + "\r\n";
  }
  return csv;
}

std::string jsonReport(const SafetyReport& report) {
  using Json = nlohmann::ordered_json;
  Json rows = Json::array();
  for (const SafetyRow& row : report.rows) {
    Json line = {{"kind", kindName(row.kind)}};
    switch (row.kind) {
      case SafetyRow::Kind::kHeld:
        line.update({{"station", row.station},
                     {"stream", row.stream},
                     {"none", row.none},
                     {"one", row.one},
                     {"more", row.more}});
        break;
      case SafetyRow::Kind::kLost:
        line.update({{"station", row.station},
                     {"stream", row.stream},
                     {"disk", row.disk},
                     {"from", times::isoTime(row.span.start)},
                     {"to", times::isoTime(row.span.end)},
                     {"seconds", row.span.seconds()},
                     {"intact_on", row.intactOn}});
        break;
      case SafetyRow::Kind::kOld:
      case SafetyRow::Kind::kReburn:
        line.update({{"disk", row.disk},
                     {"proven", row.proven ? Json(times::isoTime(*row.proven)) : Json(nullptr)},
                     {"state", catalog::diskStateName(row.state)}});
        if (row.kind == SafetyRow::Kind::kReburn) line["seconds"] = row.seconds;
        break;
    }
    rows.push_back(std::move(line));
  }
  return Json{{"safety", rows}}.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace

bool SafetyReport::someLostEverywhere() const {
  return std::any_of(rows.begin(), rows.end(), [](const SafetyRow& row) {
    return row.kind == SafetyRow::Kind::kHeld && row.none > 0;
  });
}

SafetyReport safetyOf(const std::vector<catalog::ProvenDisk>& disks, const SafetyQuery& query) {
  std::set<Key> keys;
  const std::vector<Holding> holdings = holdingsOf(disks, query, false, keys);
  SafetyReport report;
  std::vector<int64_t> sole(disks.size(), 0);
  for (const Key& key : keys) report.rows.push_back(heldRow(key, holdings, sole));
  for (const Key& key : keys) {
    for (std::size_t i = 0; i < disks.size(); ++i)
      addLostRows(key, i, disks, holdings, report.rows);
  }
  // The disks in order of risk: damaged first, then proven longest ago.
  std::vector<std::size_t> order(disks.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const catalog::DiskEntry &x = disks[a].disk.entry, &y = disks[b].disk.entry;
    const bool xWhole = x.state != catalog::DiskState::kDamaged;
    const bool yWhole = y.state != catalog::DiskState::kDamaged;
    return std::tie(xWhole, x.proven, x.label) < std::tie(yWhole, y.proven, y.label);
  });
  if (query.olderThan) {
    for (const std::size_t i : order) {
      const catalog::DiskEntry& entry = disks[i].disk.entry;
      const bool holds = std::any_of(holdings[i].held.begin(), holdings[i].held.end(),
                                     [](const auto& held) { return !held.second.empty(); });
      const bool old = !entry.proven || *entry.proven < query.now - *query.olderThan;
      if (holds && old) report.rows.push_back(diskRow(SafetyRow::Kind::kOld, entry, 0));
    }
  }
  for (const std::size_t i : order) {
    if (sole[i] > 0)
      report.rows.push_back(diskRow(SafetyRow::Kind::kReburn, disks[i].disk.entry, sole[i]));
  }
  return report;
}

std::map<std::string, std::vector<summary::SpanWithDisks>> provenCopiesOf(
    const std::vector<catalog::ProvenDisk>& disks, const SafetyQuery& query) {
  std::set<Key> keys;
  const std::vector<Holding> holdings = holdingsOf(disks, query, true, keys);
  std::map<std::string, std::vector<summary::SpanWithDisks>> copies;
  for (const Key& key : keys) {
    std::vector<summary::SpanWithDisks>& station = copies[key.first];
    for (const Piece& piece : piecesOf(key, holdings)) {
      std::vector<std::string> labels;
      for (const std::size_t i : piece.disks) labels.push_back(disks[i].disk.entry.label);
      station.push_back({piece.span, std::move(labels)});
    }
  }
  return copies;
}

const std::vector<ReportFormat<SafetyReport>>& safetyFormats() {
  static const std::vector<ReportFormat<SafetyReport>> formats = {
      {"text", textReport}, {"csv", csvReport}, {"json", jsonReport}};
  return formats;
}

}  // namespace queries
