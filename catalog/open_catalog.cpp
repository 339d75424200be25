#include "catalog/open_catalog.h"

#include "catalog/postgres_catalog.h"
#include "catalog/sqlite_catalog.h"

namespace catalog {

std::unique_ptr<Catalog> openCatalog(const std::string& name, bool create) {
  return isCatalogUrl(name) ? openPostgresCatalog(name) : openSqliteCatalog(name, create);
}

}  // namespace catalog
