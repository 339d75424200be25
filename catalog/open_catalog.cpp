#include "catalog/open_catalog.h"

#include "catalog/postgres_catalog.h"
#include "catalog/sqlite_catalog.h"

namespace catalog {

bool isCatalogUrl(const std::string& name) {
  return name.rfind("postgresql://", 0) == 0 || name.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Catalog> openCatalog(const std::string& name, bool create) {
  return isCatalogUrl(name) ? openPostgresCatalog(name) : openSqliteCatalog(name, create);
}

}  // namespace catalog
