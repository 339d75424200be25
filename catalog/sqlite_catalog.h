#pragma once

#include <memory>
#include <string>

#include "catalog/catalog.h"

namespace catalog {

// Opens the SQLite catalogue at path: with kCreate, a new one is made where no
// file is; otherwise it must exist. A file that is not a catalogue, or one of a
// newer schema than this program knows, throws CatalogError and is left
// untouched; an older schema is brought up to date where it may be written.
// Several processes may use one file at once: each waits for the others'
// writes (WAL, a busy timeout). Read only, a catalogue that this user may not
// write (the file or its folder) is opened read-only; where no write-ahead log
// is beside it, it is read as it stands, taking no lock and making no file.
std::unique_ptr<Catalog> openSqliteCatalog(const std::string& path, CatalogAccess access);

}  // namespace catalog
