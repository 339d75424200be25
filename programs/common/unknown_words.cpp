#include "programs/common/unknown_words.h"

#include <algorithm>

#include "programs/common/command_line_options.h"

namespace cli {

namespace {

// The optimal-string-alignment distance: Levenshtein's, with a swap of two
// neighbouring letters one edit.
std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t substitution = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + substitution});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

// The long options ("--name") of app and of the commands above it, which a
// subcommand's command line may use too.
std::vector<std::string> longOptionsOf(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* at = &app; at != nullptr; at = at->get_parent()) {
    for (const CLI::Option* option : at->get_options()) {
      for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    }
  }
  return names;
}

const CLI::Option* knownOption(const CLI::App& app, const std::string& name) {
  for (const CLI::App* at = &app; at != nullptr; at = at->get_parent()) {
    if (const CLI::Option* option = at->get_option_no_throw(name)) return option;
  }
  return nullptr;
}

std::vector<std::string> commandsOf(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands({})) names.push_back(command->get_name());
  return names;
}

// "unknown option --staton; did you mean --station?", or when no known word
// is near, the text otherwise (after a blank) or nothing more.
std::string unknown(const char* what, std::string_view word, const std::vector<std::string>& known,
                    const std::string& otherwise = "") {
  std::string text = std::string("unknown ") + what + " " + std::string(word);
  if (const std::optional<std::string> nearest = nearestWord(word, known))
    return text + "; did you mean " + *nearest + "?";
  return otherwise.empty() ? text : text + " " + otherwise;
}

}  // namespace

std::optional<std::string> nearestWord(std::string_view word,
                                       const std::vector<std::string>& candidates) {
  const std::size_t allowed = std::max<std::size_t>(1, word.size() / 3);
  std::optional<std::string> nearest;
  std::size_t best = allowed + 1;
  for (const std::string& candidate : candidates) {
    const std::size_t distance = editDistance(word, candidate);
    if (distance < best) {
      best = distance;
      nearest = candidate;
    }
  }
  return nearest;
}

std::optional<std::string> unknownWord(const CLI::App& app, int argc, const char* const* argv) {
  const CLI::App* command = &app;
  bool commandChosen = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument.size() > 2 && argument.substr(0, 2) == "--") {
      const std::string name(argument.substr(0, argument.find('=')));
      const CLI::Option* option = knownOption(*command, name);
      if (option == nullptr) return unknown("option", name, longOptionsOf(*command));
      // A value given apart ("--catalog x.db") is the option's, not a word.
      if (name.size() == argument.size() && option->get_type_size() > 0) ++i;
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') continue;  // CLI11's to judge
    if (!commandChosen && command->get_require_subcommand_min() > 0) {
      const std::vector<std::string> commands = commandsOf(*command);
      const auto chosen = std::find(commands.begin(), commands.end(), argument);
      if (chosen == commands.end()) {
        return unknown("command", argument, commands, "(the commands are " + oneOf(commands) + ")");
      }
      command = command->get_subcommand(std::string(argument));
      commandChosen = true;
    }
  }
  return std::nullopt;
}

}  // namespace cli
