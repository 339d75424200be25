#include "catalog/open_catalog.h"

#include "catalog/postgres_catalog.h"
#include "catalog/sqlite_catalog.h"

namespace catalog {

base::Outcome<std::unique_ptr<Catalog>> openCatalog(const std::string& name, CatalogAccess access) {
  try {
    return isCatalogUrl(name) ? openPostgresCatalog(name, access) : openSqliteCatalog(name, access);
  } catch (const CatalogError& error) {
    return base::failure(error.what());
  }
}

}  // namespace catalog
