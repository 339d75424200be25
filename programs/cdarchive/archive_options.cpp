#include "programs/cdarchive/archive_options.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "programs/common/command_line_options.h"
#include "queries/availability.h"
#include "queries/check.h"
#include "queries/disks.h"
#include "queries/find.h"
#include "times/iso_time.h"

namespace cdarchive {

namespace {

void addWindowOptions(CLI::App& command, std::string& from, std::string& to) {
  command.add_option("--from", from, "start of the window (default: the station's first time)")
      ->check(cli::kIsoTime);
  command.add_option("--to", to, "end of the window (default: the station's last time)")
      ->check(cli::kIsoTime);
}

}  // namespace

std::optional<int> parseArchiveOptions(int argc, const char* const* argv, ArchiveOptions& options,
                                       std::ostream& out, base::Voice& voice) {
  CLI::App app(
      "The archive's catalogue: which disk holds which station's time, what the whole archive "
      "covers, without reading a disk again.",
      kArchiveName);
  app.set_version_flag("--version", kArchiveVersion);
  app.require_subcommand(1);
  app.fallthrough();
  app.add_option("--catalog", options.catalog,
                 "the catalogue: an SQLite file (made by add when missing)")
      ->capture_default_str();
  app.footer(
      "Exit status: 0 done; 1 a disk or the catalogue could not be read or written, a disk has "
      "unreadable bytes or directories (the other disks are still added), check found a file "
      "not as recorded, or standard output could not be written; 2 a bad command, option or "
      "value.\n"
      "Examples: cdarchive add --as=disk042 /media/cdrom; cdarchive find --station=VELK "
      "--from=2006-06-15T12:00:00 --to=2006-06-15T13:00:00; cdarchive availability --extent");

  CLI::App* add = app.add_subcommand(
      "add", "survey disks (folders, drives or ISO images) and record them and their files");
  cli::WalkOptionTexts walkTexts;
  cli::addWalkOptions(*add, walkTexts);
  add->add_option("--as", options.label,
                  "the disk's label (default: an image's volume name, or the folder's name)");
  bool noFixity = false;
  add->add_flag("--no-fixity", noFixity,
                "read only what the checks need, and take no SHA-256 of the disk's files");
  add->add_flag("--replace", options.replace,
                "record the disk over another catalogued under its label (a disk burnt again)");
  add->add_flag("--allow-empty", options.allowEmpty,
                "record a disk that holds no data file of the stream (else it is refused)");
  add->add_option("DISK", options.disks, "the disks to add")->required();

  std::string from, to;
  CLI::App* find = app.add_subcommand(
      "find", "the disks and files that hold a station's data of a window, and its gaps");
  find->add_option("--station", options.station, "the station's name")->required();
  std::string stream = "permanent";
  const auto addStreamOption = [&stream](CLI::App& command) {
    command.add_option("--stream", stream, "the disks' permanent or trigger stream")
        ->check(CLI::IsMember({"permanent", "trigger"}))
        ->capture_default_str();
  };
  addStreamOption(*find);
  addWindowOptions(*find, from, to);
  cli::addFormatOption(*find, options.format, queries::formatNames(queries::findFormats()));

  CLI::App* availability =
      app.add_subcommand("availability",
                         "per station and stream, the continuous spans (or with --extent their "
                         "earliest and latest), from the catalogue alone");
  availability->add_flag("--extent", options.extent, "one line per station and stream");
  availability->add_option("--station", options.station, "only this station");
  addStreamOption(*availability);
  addWindowOptions(*availability, from, to);
  std::string mergeGaps = "0";
  availability
      ->add_option("--merge-gaps", mergeGaps, "spans apart by at most this many seconds are one")
      ->check(cli::kSeconds)
      ->capture_default_str();
  cli::addFormatOption(*availability, options.format,
                       queries::formatNames(queries::availabilityFormats()));

  CLI::App* check = app.add_subcommand(
      "check", "read a disk again and audit every file against its digest in the catalogue");
  cli::addWalkOptions(*check, walkTexts);
  check->add_option("--as", options.label, "the disk's label, as it was added");
  check->add_option("--manifest", options.manifest,
                    "audit against this manifest (sha256sum's lines), not the catalogue");
  cli::addFormatOption(*check, options.format, queries::formatNames(queries::checkFormats()));
  check->add_option("DISK", options.disks, "the disk to check")->required()->expected(1);

  CLI::App* disks = app.add_subcommand("disks", "every disk in the catalogue");
  cli::addFormatOption(*disks, options.format, queries::formatNames(queries::disksFormats()));
  CLI::App* remove = app.add_subcommand("remove", "remove a disk and its files from the catalogue");
  remove->add_option("LABEL", options.diskLabel, "the disk's label")->required();
  addStreamOption(*remove);
  CLI::App* manifest = app.add_subcommand(
      "manifest", "the SHA-256 of every file of a disk, as sha256sum -c reads them");
  manifest->add_option("LABEL", options.diskLabel, "the disk's label")->required();
  addStreamOption(*manifest);

  if (const std::optional<int> status = cli::parseCommandLine(app, argc, argv, out, voice)) {
    return status;
  }
  if (add->parsed()) {
    options.command = Command::kAdd;
    if (!options.label.empty() && options.disks.size() > 1) {
      voice.fail() << "--as names one disk, not " << options.disks.size();
      return 2;
    }
  } else if (find->parsed()) {
    options.command = Command::kFind;
  } else if (availability->parsed()) {
    options.command = Command::kAvailability;
  } else if (remove->parsed()) {
    options.command = Command::kRemove;
  } else if (manifest->parsed()) {
    options.command = Command::kManifest;
  } else if (check->parsed()) {
    options.command = Command::kCheck;
  } else if (disks->parsed()) {
    options.command = Command::kDisks;
  }
  options.fixity = !noFixity;
  cli::applyWalkOptions(walkTexts, options.walk);
  options.stream =
      stream == "trigger" ? catalog::DiskStream::kTrigger : catalog::DiskStream::kPermanent;
  options.mergeGaps = *cli::secondsOf(mergeGaps);
  if (!from.empty()) options.from = times::parseIsoTime(from);
  if (!to.empty()) options.to = times::parseIsoTime(to);
  if (options.from && options.to && *options.to < *options.from) {
    voice.fail() << "--to lies before --from";
    return 2;
  }
  return std::nullopt;
}

}  // namespace cdarchive
