#include "catalog/open_catalog.h"

// The Windows build has no SQLite or PostgreSQL client: catalogues are kept on
// Linux.
namespace catalog {

std::unique_ptr<Catalog> openCatalog(const std::string& name, CatalogAccess /*access*/) {
  throw CatalogError("catalogue " + shownCatalogName(name) +
                     ": catalogues are kept on Linux, with cdarchive");
}

}  // namespace catalog
