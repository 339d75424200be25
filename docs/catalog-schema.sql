-- The cdarchive catalogue, schema version 5 (PRAGMA user_version = 5).
-- Version 3 had neither source_on_disk nor kept_span: stepping up, both are
-- made from the recorded files, disk by disk. Version 2 keyed a disk by its label alone, and had neither disk.stream,
-- disk.label_source nor disk.content: stepping up, each disk keeps its label
-- as the permanent stream's, its label's source unknown, and gets its content
-- from its recorded files, so that copies among the disks are known. Version 1
-- had neither disk.manifest, file.lost nor the table held.
--
-- Times are whole seconds since 1970-01-01T00:00:00: a file's start and end,
-- and a disk's first and last time, on the station's clock (it has no zone);
-- a disk's "added" in UTC. cdarchive steps an older catalogue up to its own
-- version when it opens it, in one transaction, and refuses a newer one.

CREATE TABLE disk (
  id INTEGER PRIMARY KEY,
  label TEXT NOT NULL,          -- --as, the image's or the mounted volume's label, or the folder's name
  stream TEXT NOT NULL,         -- 'permanent' or 'trigger': which of its data files it holds
  label_source TEXT NOT NULL,   -- 'given', 'image', 'volume' or 'folder'; '' added before it was kept
  content TEXT NOT NULL,        -- SHA-256 over its data files' names below the root, sizes and
                                -- header values; '' with none. Disks of one content and stream are
                                -- copies: the first added is the one the others copy
  source TEXT NOT NULL,         -- the folder, drive or image it was read from
  listing TEXT NOT NULL,        -- digest of its listing and the walk's settings, a record: it decides nothing
  file_count INTEGER NOT NULL,
  bytes INTEGER NOT NULL,
  first_time INTEGER,           -- over its usable files; NULL when none covers time
  last_time INTEGER,
  added INTEGER NOT NULL,
  longest_file INTEGER NOT NULL, -- the longest file's seconds: bounds the index range a window reads
  manifest TEXT NOT NULL,       -- SHA-256 of its manifest (cdarchive manifest); '': no fixity taken
  read_whole INTEGER NOT NULL,  -- 1: fixity taken with every byte read (its addition proves it)
  UNIQUE (label, stream)
);
CREATE INDEX disk_by_content ON disk (content);
-- Its greatest is read by every window of files.
CREATE INDEX disk_by_longest_file ON disk (longest_file);

CREATE TABLE file (
  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,         -- the walk's order on its disk, from 0
  path TEXT NOT NULL,           -- as cdverify's logs show it
  size INTEGER NOT NULL,        -- bytes; -1 when it could not be opened
  usable INTEGER NOT NULL,      -- 0: it cannot be read to its end, and has no times
  station TEXT NOT NULL,        -- an unusable file's is the usable file's before it on its disk
  stream INTEGER NOT NULL,      -- the header's stream number; 0 for an unusable file
  frequency INTEGER NOT NULL,
  latitude TEXT NOT NULL,
  longitude TEXT NOT NULL,
  altitude TEXT NOT NULL,
  start_time INTEGER NOT NULL,  -- the internal clock's start
  end_time INTEGER NOT NULL,    -- the end of its whole records
  findings TEXT NOT NULL,       -- the kinds of its findings, comma-separated (latitude,clock-unsynchronised,...)
  clock_warnings TEXT NOT NULL, -- the clock checks' messages, one a line
  lost TEXT NOT NULL DEFAULT '', -- time of records on unreadable bytes: "START END" spans, comma-separated
  PRIMARY KEY (disk_id, seq)
) WITHOUT ROWID;

-- Every file of a disk as its fixity was taken, data or not.
CREATE TABLE held (
  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,         -- the pass's order, from 0
  path TEXT NOT NULL,           -- below the disk's root, '/' between its parts
  size INTEGER NOT NULL,        -- bytes; -1 when it could not be opened
  sha256 TEXT NOT NULL,         -- 64 hex digits; '' unless every byte was read
  unreadable TEXT NOT NULL,     -- "OFFSET SIZE" byte ranges that could not be read, comma-separated
  PRIMARY KEY (disk_id, seq)
) WITHOUT ROWID;

-- A station's window: files that start before its end, from the longest
-- file's length before its start.
CREATE INDEX file_by_station_and_start ON file (station, start_time, end_time, usable, stream, frequency);

-- What each disk holds of each station's stream (its usable files), kept
-- beside the disk and gone with it.
CREATE TABLE source_on_disk (
  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,
  station TEXT NOT NULL,
  stream INTEGER NOT NULL,      -- the header's stream number
  disk_stream TEXT NOT NULL,    -- its disk's: 'permanent' or 'trigger'
  counted INTEGER NOT NULL,     -- 1 unless its disk is a copy (of disk.content): settled as disks come and go
  added INTEGER NOT NULL,       -- its disk's
  frequency INTEGER NOT NULL,   -- of its earliest file
  first_time INTEGER NOT NULL,  -- the earliest start of its files
  last_time INTEGER NOT NULL,   -- the latest end
  PRIMARY KEY (disk_id, station, stream)
) WITHOUT ROWID;
CREATE INDEX source_on_disk_counted ON source_on_disk
  (disk_stream, counted, station, stream, first_time, last_time, frequency, added);

-- The time each station's stream holds on the disks of each stream: the
-- union of its usable files' records (touching records one span, copies and
-- overlapping disks alike counted once), kept within the transaction that
-- adds, replaces or removes a disk. Availability reads these rows, not the
-- files'.
CREATE TABLE kept_span (
  disk_stream TEXT NOT NULL,
  station TEXT NOT NULL,
  stream INTEGER NOT NULL,
  start_time INTEGER NOT NULL,
  end_time INTEGER NOT NULL,
  PRIMARY KEY (disk_stream, station, stream, start_time)
) WITHOUT ROWID;
CREATE INDEX kept_span_by_end ON kept_span (disk_stream, station, stream, end_time);

-- Every check of a disk against the catalogue (cdarchive check), in one
-- transaction each, gone with its disk (a disk replaced reads anew: its
-- addition is its proof). A check is clean when every file matched.
CREATE TABLE audit (
  id INTEGER PRIMARY KEY,
  disk_id INTEGER NOT NULL REFERENCES disk(id) ON DELETE CASCADE,
  checked INTEGER NOT NULL,   -- when it ran, seconds since 1970 UTC
  source TEXT NOT NULL,       -- what was read: a folder, a drive or an image
  matched INTEGER NOT NULL,   -- how many files were found as recorded
  clean INTEGER NOT NULL      -- 1 when every file matched
);
CREATE INDEX audit_by_disk ON audit (disk_id, checked);

-- Each file of a check that did not match (matched files are counted, not
-- listed): 'changed', 'moved', 'missing', 'new' or 'unreadable'.
CREATE TABLE audit_finding (
  audit_id INTEGER NOT NULL REFERENCES audit(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,        -- in the audit's order
  status TEXT NOT NULL,
  path TEXT NOT NULL,          -- below the disk's root; a directory's ends in '/'
  moved_from TEXT NOT NULL,    -- a moved file's recorded path, else ''
  unreadable TEXT NOT NULL,    -- byte ranges that could not be read, as held.unreadable
  opened INTEGER NOT NULL,     -- 0: an unreadable file that could not be opened
  directory INTEGER NOT NULL,  -- 1: a directory that could not be listed
  PRIMARY KEY (audit_id, seq)
) WITHOUT ROWID;

-- The time a check found lost: a data file's records that could not be read,
-- or the whole time of a file no longer usable.
CREATE TABLE audit_lost (
  audit_id INTEGER NOT NULL REFERENCES audit(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  station TEXT NOT NULL,
  path TEXT NOT NULL,          -- as the logs show it
  start_time INTEGER NOT NULL,
  end_time INTEGER NOT NULL,
  PRIMARY KEY (audit_id, seq)
) WITHOUT ROWID;
