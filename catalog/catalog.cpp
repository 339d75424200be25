#include "catalog/catalog.h"

#include <algorithm>
#include <map>
#include <type_traits>

namespace catalog {

namespace {

// What run gives, or the failure of the store it threw.
template <typename Run>
auto caught(Run run) -> base::Outcome<decltype(run())> {
  try {
    if constexpr (std::is_void_v<decltype(run())>) {
      run();
      return {};
    } else {
      return run();
    }
  } catch (const CatalogError& error) {
    return base::failure(error.what());
  }
}

}  // namespace

base::Status Catalog::putDisk(const CataloguedDisk& disk) {
  return caught([&] { storeDisk(disk); });
}

base::Outcome<bool> Catalog::removeDisk(const std::string& label, DiskStream stream) {
  return caught([&] { return deleteDisk(label, stream); });
}

const char* diskStateName(DiskState state) {
  switch (state) {
    case DiskState::kIntact:
      return "intact";
    case DiskState::kDamaged:
      return "damaged";
    case DiskState::kUnproven:
      break;
  }
  return "unproven";
}

void setProof(DiskEntry& entry, const ProofFacts& facts) {
  entry.proven = facts.lastClean;
  if (facts.readWhole && (!entry.proven || *entry.proven < facts.added)) entry.proven = facts.added;
  if (facts.latest) {
    entry.state = facts.latestClean ? DiskState::kIntact : DiskState::kDamaged;
  } else if (facts.fixity) {
    entry.state = facts.readWhole ? DiskState::kIntact : DiskState::kDamaged;
  } else {
    entry.state = DiskState::kUnproven;
  }
}

bool readWhole(const CataloguedDisk& disk) {
  return !disk.manifest.empty() &&
         std::all_of(disk.held.begin(), disk.held.end(),
                     [](const fixity::FileFixity& held) { return !held.sha256.empty(); });
}

base::Outcome<bool> Catalog::recordAudit(const std::string& label, DiskStream stream,
                                         const AuditRecord& audit) {
  return caught([&] { return storeAudit(label, stream, audit); });
}

base::Outcome<std::optional<AuditRecord>> Catalog::latestAuditOf(const std::string& label,
                                                                 DiskStream stream) {
  return caught([&] { return latestAudit(label, stream); });
}

base::Outcome<std::vector<DiskEntry>> Catalog::disks() {
  return caught([&] { return allDisks(); });
}

base::Outcome<std::vector<DiskEntry>> Catalog::disksHolding(const std::string& content,
                                                            DiskStream stream) {
  return caught([&] { return disksOfContent(content, stream); });
}

base::Outcome<std::vector<std::string>> Catalog::stations() {
  return caught([&] { return allStations(); });
}

base::Outcome<std::optional<CataloguedDisk>> Catalog::fixityOf(const std::string& label,
                                                               DiskStream stream) {
  return caught([&] { return diskWithFixity(label, stream); });
}

base::Outcome<std::vector<CataloguedDisk>> Catalog::filesOf(
    const std::string& station, const std::optional<times::TimeSpan>& window, DiskStream stream) {
  return caught([&] { return filesMeeting(station, window, stream); });
}

base::Outcome<std::vector<KeptSource>> Catalog::sourcesOf(const std::string& station,
                                                          times::TimeSpan window, DiskStream stream,
                                                          SpanDetail detail) {
  return caught([&] { return sourcesMeeting(station, window, stream, detail); });
}

base::Outcome<std::vector<ProvenDisk>> provenDisksOf(Catalog& catalog, DiskStream stream) {
  base::Outcome<std::vector<DiskEntry>> entries = catalog.disks();
  if (!entries) return base::failure(entries.problem());
  base::Outcome<std::vector<CataloguedDisk>> found = catalog.filesOf("", std::nullopt, stream);
  if (!found) return base::failure(found.problem());
  std::map<std::string, const DiskEntry*> byLabel;
  for (const DiskEntry& entry : *entries) {
    if (entry.stream == stream) byLabel.emplace(entry.label, &entry);
  }
  std::vector<ProvenDisk> disks;
  for (CataloguedDisk& disk : *found) {
    const auto entry = byLabel.find(disk.entry.label);
    if (entry == byLabel.end()) continue;  // removed meanwhile
    const std::optional<std::string> copyOf = disk.entry.copyOf;
    disk.entry = *entry->second;
    disk.entry.copyOf = copyOf;
    std::optional<AuditRecord> latest;
    if (disk.entry.state != DiskState::kUnproven) {
      base::Outcome<std::optional<AuditRecord>> audit =
          catalog.latestAuditOf(disk.entry.label, stream);
      if (!audit) return base::failure(audit.problem());
      latest = std::move(*audit);
    }
    disks.push_back(ProvenDisk{std::move(disk), std::move(latest)});
  }
  return disks;
}

}  // namespace catalog
