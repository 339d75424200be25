// Fills a catalogue with DISKS synthetic disks of FILES files each, for the
// catalogue benchmark: station VELK, stream 1, one-minute files one after
// another from 2006-01-01, a short gap every 97 files, disks following each
// other in time. Through the Catalog interface, as cdarchive add writes.
//   make_catalog CATALOG DISKS FILES

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "catalog/open_catalog.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_catalog CATALOG DISKS FILES\n");
    return 2;
  }
  const int disks = std::atoi(argv[2]), files = std::atoi(argv[3]);
  const auto opened = catalog::openCatalog(argv[1], catalog::CatalogAccess::kCreate);
  if (!opened) {
    std::cerr << "make_catalog: " << opened.problem() << "\n";
    return 1;
  }
  catalog::Catalog& catalog = **opened;
  int64_t time = 1136073601;  // 2006-01-01T00:00:01
  for (int d = 0; d < disks; ++d) {
    catalog::CataloguedDisk disk;
    char label[32];
    std::snprintf(label, sizeof label, "disk%05d", d);
    disk.entry.label = label;
    disk.entry.source = std::string("/archive/") + label;
    disk.entry.added = 1796000000 + d;
    disk.listing = label;
    disk.entry.content = std::string("content of ") + label;  // no copies
    for (int f = 0; f < files; ++f) {
      catalog::CataloguedFile file;
      survey::FileRecord& r = file.record;
      char path[64];
      std::snprintf(path, sizeof path, "/archive/%s/%08d/P%07d.DAT", label, 20060101, f);
      r.path = path;
      r.usable = true;
      r.station = "VELK";
      r.latitude = "49.1234N";
      r.longitude = "16.5678E";
      r.altitude = "300";
      r.frequency = 10;
      r.start = time;
      r.end = time + 60;
      time = r.end + (f % 97 == 0 ? 30 : 0);
      file.size = 7256;
      file.stream = 1;
      disk.files.push_back(std::move(file));
    }
    disk.entry.files = files;
    disk.entry.bytes = int64_t{files} * 7256;
    disk.entry.first = disk.files.front().record.start;
    disk.entry.last = disk.files.back().record.end;
    if (const base::Status put = catalog.putDisk(disk); !put) {
      std::cerr << "make_catalog: " << put.problem() << "\n";
      return 1;
    }
  }
  return 0;
}
