// Builds without a PostgreSQL client (Windows: Debian has no MinGW build of
// libpq): a PostgreSQL URL is refused, saying where such catalogues are kept.

#include "catalog/catalog_name.h"
#include "catalog/postgres_catalog.h"

namespace catalog {

std::unique_ptr<Catalog> openPostgresCatalog(const std::string& url, CatalogAccess /*access*/) {
  throw CatalogError("catalogue " + shownCatalogName(url) +
                     ": the Windows build has no PostgreSQL client; use an SQLite file here, or "
                     "cdarchive on Linux for a PostgreSQL catalogue");
}

}  // namespace catalog
