// The least a verifier of a disk must do on Windows, as a measure for
// cdverify.exe: lists the date directories of drive DISK with
// FindFirstFileA/FindNextFileA, and for each data file of the permanent stream
// opens it once with CreateFileA, reads its first block (the text header; a
// small file whole) with ReadFile, takes its length, reads its last two bytes
// when they lie past that block, closes it, and appends one line to LOG (open,
// append, close). Then, given LINES, appends that many lines more, one at a
// time, as a verifier's report would.
//
// usage: floor DISK LOG [LINES]    (DISK a drive letter, as cdverify's -archDisk)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kFirstBlock = 64 * 1024;

bool isDateDirectory(const char* name) {
  for (int i = 0; i < 8; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  return true;
}

void appendLine(const char* log, const std::string& line) {
  const HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

void readDataFile(const std::string& path) {
  static char block[kFirstBlock];
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size;
  DWORD got = 0;
  if (GetFileSizeEx(file, &size) && ReadFile(file, block, kFirstBlock, &got, nullptr) &&
      size.QuadPart > got && size.QuadPart >= 2) {
    LARGE_INTEGER end;
    end.QuadPart = size.QuadPart - 2;
    char last[2];
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    ReadFile(file, last, 2, &got, nullptr);
  }
  CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: floor DISK LOG [LINES]\n");
    return 2;
  }
  const std::string root = std::string(argv[1]) + ":\\";
  long files = 0;
  WIN32_FIND_DATAA day;
  const HANDLE days = FindFirstFileA((root + "*.*").c_str(), &day);
  if (days == INVALID_HANDLE_VALUE) return 1;
  do {
    if (!(day.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !isDateDirectory(day.cFileName))
      continue;
    const std::string directory = root + day.cFileName + "\\";
    WIN32_FIND_DATAA entry;
    const HANDLE entries = FindFirstFileA((directory + "*.*").c_str(), &entry);
    if (entries == INVALID_HANDLE_VALUE) continue;
    do {
      if (entry.cFileName[0] != 'P' && entry.cFileName[0] != 'p') continue;
      const std::string path = directory + entry.cFileName;
      readDataFile(path);
      appendLine(argv[2], "     File " + path + "\r\n");
      ++files;
    } while (FindNextFileA(entries, &entry));
    FindClose(entries);
  } while (FindNextFileA(days, &day));
  FindClose(days);
  const long lines = argc == 4 ? std::atol(argv[3]) : 0;
  for (long line = 0; line < lines; ++line)
    appendLine(argv[2], "     [15/06/2006 00:00:01  -  15/06/2006 00:01:01]         1m 0s\r\n");
  std::printf("%ld files\n", files);
  return 0;
}
