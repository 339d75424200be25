#pragma once

#include <memory>
#include <string>

#include "catalog/catalog.h"

namespace catalog {

// The catalogue that name names: a PostgreSQL URL (postgresql://HOST/DB or
// postgres://...), or else the path of an SQLite file, made when create is set
// and there is none. Throws CatalogError when it cannot be opened, is not a
// catalogue, or is of a newer schema; the store is then left as it was.
std::unique_ptr<Catalog> openCatalog(const std::string& name, bool create);

// True when name is a PostgreSQL URL rather than a file.
inline bool isCatalogUrl(const std::string& name) {
  return name.rfind("postgresql://", 0) == 0 || name.rfind("postgres://", 0) == 0;
}

}  // namespace catalog
