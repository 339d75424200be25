#pragma once

namespace catalog {

// The tables of each schema version as the SQLite catalogue has them
// (catalog_schema.h), with every text as bytes: names may hold NUL or bytes
// that are not UTF-8. kPostgresSchemaSteps[n] takes a catalogue from version n
// to n + 1.
inline constexpr const char* kPostgresSchemaSteps[] = {
    // 0 -> 1
    "CREATE TABLE disk ("
    "  id BIGSERIAL PRIMARY KEY,"
    "  label BYTEA NOT NULL UNIQUE,"
    "  source BYTEA NOT NULL,"
    "  listing BYTEA NOT NULL,"
    "  file_count BIGINT NOT NULL,"
    "  bytes BIGINT NOT NULL,"
    "  first_time BIGINT,"
    "  last_time BIGINT,"
    "  added BIGINT NOT NULL,"
    "  longest_file BIGINT NOT NULL);"
    "CREATE TABLE file ("
    "  disk_id BIGINT NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  seq BIGINT NOT NULL,"
    "  path BYTEA NOT NULL,"
    "  size BIGINT NOT NULL,"
    "  usable BOOLEAN NOT NULL,"
    "  station BYTEA NOT NULL,"
    "  stream INTEGER NOT NULL,"
    "  frequency INTEGER NOT NULL,"
    "  latitude BYTEA NOT NULL,"
    "  longitude BYTEA NOT NULL,"
    "  altitude BYTEA NOT NULL,"
    "  start_time BIGINT NOT NULL,"
    "  end_time BIGINT NOT NULL,"
    "  findings BYTEA NOT NULL,"
    "  clock_warnings BYTEA NOT NULL,"
    "  PRIMARY KEY (disk_id, seq));"
    "CREATE INDEX file_by_station_and_start"
    "  ON file (station, start_time, end_time, usable, stream, frequency);",
    // 1 -> 2
    "ALTER TABLE disk ADD COLUMN manifest BYTEA NOT NULL DEFAULT '';"
    "ALTER TABLE file ADD COLUMN lost BYTEA NOT NULL DEFAULT '';"
    "CREATE TABLE held ("
    "  disk_id BIGINT NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  seq BIGINT NOT NULL,"
    "  path BYTEA NOT NULL,"
    "  size BIGINT NOT NULL,"
    "  sha256 BYTEA NOT NULL,"
    "  unreadable BYTEA NOT NULL,"
    "  PRIMARY KEY (disk_id, seq));",
    // 2 -> 3: the content is filled in by the program.
    "ALTER TABLE disk ADD COLUMN stream TEXT NOT NULL DEFAULT 'permanent';"
    "ALTER TABLE disk ADD COLUMN label_source TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE disk ADD COLUMN content TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE disk DROP CONSTRAINT disk_label_key;"
    "ALTER TABLE disk ADD UNIQUE (label, stream);"
    "CREATE INDEX disk_by_content ON disk (content);",
    // 3 -> 4: the sources on each disk and the kept spans, filled in by the
    // program.
    "CREATE TABLE source_on_disk ("
    "  disk_id BIGINT NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  station BYTEA NOT NULL,"
    "  stream INTEGER NOT NULL,"
    "  disk_stream TEXT NOT NULL,"
    "  counted BOOLEAN NOT NULL,"
    "  added BIGINT NOT NULL,"
    "  frequency INTEGER NOT NULL,"
    "  first_time BIGINT NOT NULL,"
    "  last_time BIGINT NOT NULL,"
    "  PRIMARY KEY (disk_id, station, stream));"
    "CREATE INDEX source_on_disk_counted ON source_on_disk"
    "  (disk_stream, counted, station, stream, first_time, last_time, frequency, added);"
    "CREATE TABLE kept_span ("
    "  disk_stream TEXT NOT NULL,"
    "  station BYTEA NOT NULL,"
    "  stream INTEGER NOT NULL,"
    "  start_time BIGINT NOT NULL,"
    "  end_time BIGINT NOT NULL,"
    "  PRIMARY KEY (disk_stream, station, stream, start_time));"
    "CREATE INDEX kept_span_by_end ON kept_span (disk_stream, station, stream, end_time);"
    "CREATE INDEX disk_by_longest_file ON disk (longest_file);",
    // 4 -> 5: every check of a disk, and whether its fixity was taken with
    // every byte read.
    "ALTER TABLE disk ADD COLUMN read_whole BOOLEAN NOT NULL DEFAULT FALSE;"
    "UPDATE disk SET read_whole = manifest <> '' AND NOT EXISTS (SELECT 1 FROM held h"
    "  WHERE h.disk_id = disk.id AND h.sha256 = '');"
    "CREATE TABLE audit ("
    "  id BIGSERIAL PRIMARY KEY,"
    "  disk_id BIGINT NOT NULL REFERENCES disk(id) ON DELETE CASCADE,"
    "  checked BIGINT NOT NULL,"
    "  source BYTEA NOT NULL,"
    "  matched BIGINT NOT NULL,"
    "  clean BOOLEAN NOT NULL);"
    "CREATE INDEX audit_by_disk ON audit (disk_id, checked);"
    "CREATE TABLE audit_finding ("
    "  audit_id BIGINT NOT NULL REFERENCES audit(id) ON DELETE CASCADE,"
    "  seq BIGINT NOT NULL,"
    "  status TEXT NOT NULL,"
    "  path BYTEA NOT NULL,"
    "  moved_from BYTEA NOT NULL,"
    "  unreadable BYTEA NOT NULL,"
    "  opened BOOLEAN NOT NULL,"
    "  directory BOOLEAN NOT NULL,"
    "  PRIMARY KEY (audit_id, seq));"
    "CREATE TABLE audit_lost ("
    "  audit_id BIGINT NOT NULL REFERENCES audit(id) ON DELETE CASCADE,"
    "  seq BIGINT NOT NULL,"
    "  station BYTEA NOT NULL,"
    "  path BYTEA NOT NULL,"
    "  start_time BIGINT NOT NULL,"
    "  end_time BIGINT NOT NULL,"
    "  PRIMARY KEY (audit_id, seq));",
};

}  // namespace catalog
