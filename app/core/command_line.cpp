#include "app/core/command_line.h"

#include <algorithm>

namespace quillon::app {

namespace {
// The argument after the first `flag`, if there is one.
std::optional<std::string> valueAfter(const std::vector<std::string>& args, const std::string& flag,
                                      bool& present) {
  if (args.size() < 2) return std::nullopt;
  auto it = std::find(args.begin() + 1, args.end(), flag);
  present = it != args.end();
  if (!present || it + 1 == args.end()) return std::nullopt;
  return *(it + 1);
}
}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  bool helper = false;
  cl.helperWord = valueAfter(args, "--helper", helper);
  cl.snapshotFolder = valueAfter(args, "--snapshot", cl.snapshot);
  cl.survey = args.size() > 1 && std::find(args.begin() + 1, args.end(), "--survey") != args.end();
  return cl;
}

std::string surveyOutcomeText(const SurveyOutcome& outcome) {
  switch (outcome.kind) {
    case SurveyOutcome::Kind::cancelled:
      return "cancelled\n";
    case SurveyOutcome::Kind::skipped:
      return "skipped\n";
    case SurveyOutcome::Kind::answered:
      break;
  }
  std::string text = "reasons: [";
  for (size_t i = 0; i < outcome.reasons.size(); ++i) {
    if (i > 0) text += ", ";
    text += "\"" + outcome.reasons[i] + "\"";
  }
  return text + "]\nmessage: " + outcome.message + "\n";
}

}  // namespace quillon::app
