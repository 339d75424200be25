#include "catalog/open_catalog.h"

#include "catalog/sqlite_catalog.h"

namespace catalog {

bool isCatalogUrl(const std::string& name) {
  return name.rfind("postgresql://", 0) == 0 || name.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Catalog> openCatalog(const std::string& name, bool create) {
  if (isCatalogUrl(name)) {
    throw CatalogError("catalogue " + name + ": this build keeps catalogues in SQLite files only");
  }
  return openSqliteCatalog(name, create);
}

}  // namespace catalog
