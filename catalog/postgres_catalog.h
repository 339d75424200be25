#pragma once

#include <memory>
#include <string>

#include "catalog/catalog.h"

namespace catalog {

// Opens the catalogue in the PostgreSQL database that url names
// (postgresql://HOST/DB, as libpq reads it): the same tables and queries as
// the SQLite catalogue, texts kept as bytes. A database that holds other
// tables and no catalogue, or a catalogue of a newer schema, throws
// CatalogError and is left untouched; an empty one, or an older catalogue, is
// brought up to date. Several machines may add disks at once: writes of disks
// queue on a table lock. Read only, the session's transactions are read-only
// and nothing is brought up to date.
std::unique_ptr<Catalog> openPostgresCatalog(const std::string& url, CatalogAccess access);

}  // namespace catalog
