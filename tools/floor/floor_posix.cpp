// The least a verifier of a disk must do, as a measure for cdverify: lists the
// date directories of DISK, and for each data file of the permanent stream opens
// it once, reads its first block (the text header; a small file whole), takes
// its length, reads its last two bytes when they lie past that block, closes it,
// and appends one line to LOG (open, append, close). Then, given LINES, appends
// that many lines more, one at a time, as a verifier's report would.
//
// usage: floor DISK LOG [LINES]

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::size_t kFirstBlock = 64 * 1024;

bool isDateDirectory(const char* name) {
  for (int i = 0; i < 8; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  return true;
}

void appendLine(const char* log, const std::string& line) {
  const int fd = ::open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd == -1) return;
  if (::write(fd, line.data(), line.size()) < 0) std::perror("write");
  ::close(fd);
}

long readDataFile(const std::string& path) {
  static char block[kFirstBlock];
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd == -1) return -1;
  struct stat info;
  long total = 0;
  if (::fstat(fd, &info) == 0) {
    const ssize_t got = ::pread(fd, block, sizeof block, 0);
    total = got > 0 ? got : 0;
    if (info.st_size > total && info.st_size >= 2) {
      char last[2];
      total += ::pread(fd, last, 2, info.st_size - 2);
    }
  }
  ::close(fd);
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: floor DISK LOG [LINES]\n");
    return 2;
  }
  const std::string root = std::string(argv[1]) + "/";
  long files = 0;
  DIR* disk = ::opendir(root.c_str());
  if (disk == nullptr) return 1;
  while (const dirent* day = ::readdir(disk)) {
    if (!isDateDirectory(day->d_name)) continue;
    const std::string directory = root + day->d_name + "/";
    DIR* entries = ::opendir(directory.c_str());
    if (entries == nullptr) continue;
    while (const dirent* entry = ::readdir(entries)) {
      if (entry->d_name[0] != 'P' && entry->d_name[0] != 'p') continue;
      const std::string path = directory + entry->d_name;
      readDataFile(path);
      appendLine(argv[2], "     File " + path + "\r\n");
      ++files;
    }
    ::closedir(entries);
  }
  ::closedir(disk);
  const long lines = argc == 4 ? std::atol(argv[3]) : 0;
  for (long line = 0; line < lines; ++line)
    appendLine(argv[2], "     [15/06/2006 00:00:01  -  15/06/2006 00:01:01]         1m 0s\r\n");
  std::printf("%ld files\n", files);
  return 0;
}
