#include "catalog/catalog.h"

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

}  // namespace catalog
