#include "programs/cdarchive/archive_options.h"

#include <CLI/CLI.hpp>
#include <ostream>

#include "programs/common/command_line_options.h"
#include "queries/availability.h"
#include "queries/check.h"
#include "queries/disks.h"
#include "queries/find.h"
#include "queries/safety.h"
#include "times/duration.h"
#include "times/iso_time.h"

namespace cdarchive {

namespace {

// The options' texts, read into ArchiveOptions once the command line is parsed.
struct OptionTexts {
  cli::WalkOptionTexts walk;
  bool noFixity = false;
  std::string from, to;
  std::string stream = "permanent";
  std::string mergeGaps = "0";
  std::string olderThan;
};

void addWindowOptions(CLI::App& command, OptionTexts& texts) {
  command
      .add_option("--from", texts.from,
                  "start of the window (default: the station's first time), as " +
                      std::string(times::kTypedTimeForms))
      ->check(cli::kTypedTime);
  command.add_option("--to", texts.to, "end of the window (default: the station's last time)")
      ->check(cli::kTypedTime);
}

void addStreamOption(CLI::App& command, OptionTexts& texts) {
  command.add_option("--stream", texts.stream, "the disks' permanent or trigger stream")
      ->check(CLI::IsMember({"permanent", "trigger"}))
      ->capture_default_str();
}

CLI::App* addAddCommand(CLI::App& app, ArchiveOptions& options, OptionTexts& texts) {
  CLI::App* add = app.add_subcommand(
      "add", "survey disks (folders, drives or ISO images) and record them and their files");
  cli::addWalkOptions(*add, texts.walk);
  add->add_option("--as", options.label,
                  "the disk's label (default: an image's volume name, or the folder's name)");
  add->add_flag("--no-fixity", texts.noFixity,
                "read only what the checks need, and take no SHA-256 of the disk's files");
  add->add_flag("--replace", options.replace,
                "record the disk over another catalogued under its label (a disk burnt again)");
  add->add_flag("--allow-empty", options.allowEmpty,
                "record a disk that holds no data file of the stream (else it is refused)");
  add->add_option("DISK", options.disks, "the disks to add")->required();
  return add;
}

CLI::App* addFindCommand(CLI::App& app, ArchiveOptions& options, OptionTexts& texts) {
  CLI::App* find = app.add_subcommand(
      "find", "the disks and files that hold a station's data of a window, and its gaps");
  find->add_option("--station", options.station, "the station's name")->required();
  addStreamOption(*find, texts);
  addWindowOptions(*find, texts);
  cli::addFormatOption(*find, options.format, queries::formatNames(queries::findFormats()));
  return find;
}

CLI::App* addAvailabilityCommand(CLI::App& app, ArchiveOptions& options, OptionTexts& texts) {
  CLI::App* availability =
      app.add_subcommand("availability",
                         "per station and stream, the continuous spans (or with --extent their "
                         "earliest and latest), from the catalogue alone");
  availability->add_flag("--extent", options.extent, "one line per station and stream");
  availability->add_option("--station", options.station, "only this station");
  addStreamOption(*availability, texts);
  addWindowOptions(*availability, texts);
  availability
      ->add_option("--merge-gaps", texts.mergeGaps,
                   "spans apart by at most this many seconds are one")
      ->check(cli::kSeconds)
      ->capture_default_str();
  cli::addFormatOption(*availability, options.format,
                       queries::formatNames(queries::availabilityFormats()));
  return availability;
}

CLI::App* addSafetyCommand(CLI::App& app, ArchiveOptions& options, OptionTexts& texts) {
  CLI::App* safety = app.add_subcommand(
      "safety",
      "per station and stream, the seconds held by no, one and more disks proven readable; "
      "what is lost on one disk and intact on another; what to burn again");
  safety->add_option("--station", options.station, "only this station");
  addStreamOption(*safety, texts);
  addWindowOptions(*safety, texts);
  safety
      ->add_option("--older-than", texts.olderThan,
                   "list the disks last proven longer ago than this: digits and a unit, s, m "
                   "(minutes), h, d, w or y (365 days), as 5y")
      ->check(CLI::Validator(
          [](std::string& text) {
            return times::parseAge(text) ? std::string()
                                         : "an age as digits and one of s, m, h, d, w, y "
                                           "expected: " +
                                               text;
          },
          "AGE"));
  cli::addFormatOption(*safety, options.format, queries::formatNames(queries::safetyFormats()));
  return safety;
}

CLI::App* addCheckCommand(CLI::App& app, ArchiveOptions& options, OptionTexts& texts) {
  CLI::App* check = app.add_subcommand(
      "check", "read a disk again and audit every file against its digest in the catalogue");
  cli::addWalkOptions(*check, texts.walk);
  check->add_option("--as", options.label, "the disk's label, as it was added");
  check->add_option("--manifest", options.manifest,
                    "audit against this manifest (sha256sum's lines), not the catalogue");
  cli::addFormatOption(*check, options.format, queries::formatNames(queries::checkFormats()));
  check->add_option("DISK", options.disks, "the disk to check")->required()->expected(1);
  return check;
}

// A command of one catalogued disk, named by its label: remove or manifest.
CLI::App* addLabelCommand(CLI::App& app, const char* name, const char* description,
                          ArchiveOptions& options, OptionTexts& texts) {
  CLI::App* command = app.add_subcommand(name, description);
  command->add_option("LABEL", options.diskLabel, "the disk's label")->required();
  addStreamOption(*command, texts);
  return command;
}

// The program's own options and help, beside its commands.
void describeProgram(CLI::App& app, ArchiveOptions& options) {
  app.set_version_flag("--version", kArchiveVersion);
  app.require_subcommand(1);
  app.fallthrough();
  app.add_option("--catalog", options.catalog,
                 "the catalogue: an SQLite file (made by add when missing) or a "
                 "postgresql:// URL (an empty database made one by add)")
      ->capture_default_str();
  app.footer(
      "Exit status: 0 done; 1 a disk or the catalogue could not be read or written, a disk has "
      "unreadable bytes or directories (the other disks are still added), check found a file "
      "not as recorded, safety found data no proven disk holds, or standard output could not "
      "be written; 2 a bad command, option or value.\n"
      "Examples: cdarchive add --as=disk042 /media/cdrom; cdarchive find --station=VELK "
      "--from=2006-06-15T12:00:00 --to=2006-06-15T13:00:00; cdarchive availability --extent");
}

// Reads texts into options once parsed; the exit status when they do not
// agree (a message in voice).
std::optional<int> applyTexts(const OptionTexts& texts, ArchiveOptions& options,
                              base::Voice& voice) {
  if (options.command == Command::kAdd && !options.label.empty() && options.disks.size() > 1) {
    voice.fail() << "--as names one disk, not " << options.disks.size();
    return 2;
  }
  options.fixity = !texts.noFixity;
  cli::applyWalkOptions(texts.walk, options.walk);
  options.stream = catalog::streamNamed(texts.stream);
  options.mergeGaps = *cli::secondsOf(texts.mergeGaps);
  if (!texts.olderThan.empty()) options.olderThan = times::parseAge(texts.olderThan);
  if (!texts.from.empty()) options.from = times::parseTypedTime(texts.from);
  if (!texts.to.empty()) options.to = times::parseTypedTime(texts.to);
  if (options.from && options.to && *options.to < *options.from) {
    voice.fail() << "--to lies before --from";
    return 2;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> parseArchiveOptions(int argc, const char* const* argv, ArchiveOptions& options,
                                       std::ostream& out, base::Voice& voice) {
  CLI::App app(
      "The archive's catalogue: which disk holds which station's time, what the whole archive "
      "covers, without reading a disk again.",
      kArchiveName);
  describeProgram(app, options);
  OptionTexts texts;
  const std::pair<CLI::App*, Command> commands[] = {
      {addAddCommand(app, options, texts), Command::kAdd},
      {addFindCommand(app, options, texts), Command::kFind},
      {addAvailabilityCommand(app, options, texts), Command::kAvailability},
      {addCheckCommand(app, options, texts), Command::kCheck},
      {app.add_subcommand("disks", "every disk in the catalogue"), Command::kDisks},
      {addLabelCommand(app, "remove", "remove a disk and its files from the catalogue", options,
                       texts),
       Command::kRemove},
      {addLabelCommand(app, "manifest",
                       "the SHA-256 of every file of a disk, as sha256sum -c reads them", options,
                       texts),
       Command::kManifest},
      {addSafetyCommand(app, options, texts), Command::kSafety},
  };
  cli::addFormatOption(*commands[4].first, options.format,
                       queries::formatNames(queries::disksFormats()));
  if (const std::optional<int> status = cli::parseCommandLine(app, argc, argv, out, voice)) {
    return status;
  }
  for (const auto& [command, name] : commands) {
    if (command->parsed()) options.command = name;
  }
  return applyTexts(texts, options, voice);
}

}  // namespace cdarchive
