#pragma once

#include <memory>
#include <string>

#include "catalog/catalog.h"

namespace catalog {

// Opens the SQLite catalogue at path: with create, a new one is made where no
// file is; otherwise it must exist. A file that is not a catalogue, or one of a
// newer schema than this program knows, throws CatalogError and is left
// untouched; an older schema is brought up to date. Several processes may use
// one file at once: each waits for the others' writes (WAL, a busy timeout).
std::unique_ptr<Catalog> openSqliteCatalog(const std::string& path, bool create);

}  // namespace catalog
