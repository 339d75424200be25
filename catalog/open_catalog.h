#pragma once

#include <memory>
#include <string>

#include "catalog/catalog.h"
#include "catalog/catalog_name.h"

namespace catalog {

// The catalogue that name names: a PostgreSQL URL (postgresql://HOST/DB or
// postgres://...), or else the path of an SQLite file, made with
// CatalogAccess::kCreate where there is none. A failure when it cannot be
// opened, is not a catalogue, or is of a newer schema; the store is then left
// as it was.
base::Outcome<std::unique_ptr<Catalog>> openCatalog(const std::string& name, CatalogAccess access);

}  // namespace catalog
