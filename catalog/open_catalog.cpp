#include "catalog/open_catalog.h"

#include "catalog/postgres_catalog.h"
#include "catalog/sqlite_catalog.h"

namespace catalog {

std::unique_ptr<Catalog> openCatalog(const std::string& name, CatalogAccess access) {
  return isCatalogUrl(name) ? openPostgresCatalog(name, access) : openSqliteCatalog(name, access);
}

}  // namespace catalog
