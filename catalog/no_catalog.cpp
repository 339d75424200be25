#include "catalog/open_catalog.h"

// The Windows build has no SQLite or PostgreSQL client: catalogues are kept on
// Linux.
namespace catalog {

base::Outcome<std::unique_ptr<Catalog>> openCatalog(const std::string& name,
                                                    CatalogAccess /*access*/) {
  return base::failure("catalogue " + shownCatalogName(name) +
                       ": catalogues are kept on Linux, with cdarchive");
}

}  // namespace catalog
