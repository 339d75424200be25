#include "sources/libarchive_on_demand.h"

#include <archive.h>
#include <archive_entry.h>

#include "platform/shared_library.h"

namespace sources {

namespace {

constexpr const char* kLibarchive = "libarchive.so.13";

// Every libarchive function the image reader calls.
// clang-format off
#define CDVERIFY_LIBARCHIVE_FUNCTIONS(X) \
  X(archive_entry_filetype) \
  X(archive_entry_hardlink) \
  X(archive_entry_pathname) \
  X(archive_entry_pathname_utf8) \
  X(archive_entry_size) \
  X(archive_error_string) \
  X(archive_filter_bytes) \
  X(archive_read_data_block) \
  X(archive_read_data_skip) \
  X(archive_read_free) \
  X(archive_read_new) \
  X(archive_read_next_header) \
  X(archive_read_open1) \
  X(archive_read_set_callback_data) \
  X(archive_read_set_format_option) \
  X(archive_read_set_read_callback) \
  X(archive_read_set_skip_callback) \
  X(archive_read_support_format_iso9660)
// clang-format on

struct Functions {
#define CDVERIFY_SLOT(name) decltype(&::name) name = nullptr;
  CDVERIFY_LIBARCHIVE_FUNCTIONS(CDVERIFY_SLOT)
#undef CDVERIFY_SLOT
};

Functions libarchive;  // filled by loadLibarchive before any is called

base::Status load() {
  const auto bind = [](const auto& find) {
#define CDVERIFY_FIND(name) find(#name, libarchive.name);
    CDVERIFY_LIBARCHIVE_FUNCTIONS(CDVERIFY_FIND)
#undef CDVERIFY_FIND
  };
  return platform::loadFunctions(
      kLibarchive, "the image reader library cannot be loaded (Debian's libarchive13)", bind);
}

}  // namespace

base::Status loadLibarchive() {
  static const base::Status loaded = load();
  return loaded;
}

}  // namespace sources

// libarchive's functions, as its headers declare them, each calling the loaded one.
extern "C" {

using sources::libarchive;

__LA_MODE_T archive_entry_filetype(struct archive_entry* entry) {
  return libarchive.archive_entry_filetype(entry);
}
const char* archive_entry_hardlink(struct archive_entry* entry) {
  return libarchive.archive_entry_hardlink(entry);
}
const char* archive_entry_pathname(struct archive_entry* entry) {
  return libarchive.archive_entry_pathname(entry);
}
const char* archive_entry_pathname_utf8(struct archive_entry* entry) {
  return libarchive.archive_entry_pathname_utf8(entry);
}
la_int64_t archive_entry_size(struct archive_entry* entry) {
  return libarchive.archive_entry_size(entry);
}
const char* archive_error_string(struct archive* a) { return libarchive.archive_error_string(a); }
la_int64_t archive_filter_bytes(struct archive* a, int n) {
  return libarchive.archive_filter_bytes(a, n);
}
int archive_read_data_block(struct archive* a, const void** buff, size_t* size,
                            la_int64_t* offset) {
  return libarchive.archive_read_data_block(a, buff, size, offset);
}
int archive_read_data_skip(struct archive* a) { return libarchive.archive_read_data_skip(a); }
int archive_read_free(struct archive* a) { return libarchive.archive_read_free(a); }
struct archive* archive_read_new(void) {
  return libarchive.archive_read_new();
}
int archive_read_next_header(struct archive* a, struct archive_entry** entry) {
  return libarchive.archive_read_next_header(a, entry);
}
int archive_read_open1(struct archive* a) { return libarchive.archive_read_open1(a); }
int archive_read_set_callback_data(struct archive* a, void* data) {
  return libarchive.archive_read_set_callback_data(a, data);
}
int archive_read_set_format_option(struct archive* a, const char* m, const char* o, const char* v) {
  return libarchive.archive_read_set_format_option(a, m, o, v);
}
int archive_read_set_read_callback(struct archive* a, archive_read_callback* callback) {
  return libarchive.archive_read_set_read_callback(a, callback);
}
int archive_read_set_skip_callback(struct archive* a, archive_skip_callback* callback) {
  return libarchive.archive_read_set_skip_callback(a, callback);
}
int archive_read_support_format_iso9660(struct archive* a) {
  return libarchive.archive_read_support_format_iso9660(a);
}

}  // extern "C"
