#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "app/core/windows.h"

namespace quillon::app {

// The app's arguments, recognised anywhere in the list (exact,
// case-sensitive). The app is normally started without any.
struct CommandLine {
  // "--helper WORD": the one-shot command-line tool.
  std::optional<std::string> helperWord;
  // "--snapshot" (preview-only start) and the folder that follows it.
  bool snapshot = false;
  std::optional<std::string> snapshotFolder;
  // "--survey": preview-only start that shows the uninstall survey.
  bool survey = false;

  bool previewOnly() const { return snapshot || survey; }
};

// `args` as the process got them, the program path first.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// "cancelled\n", "skipped\n", or "reasons: [\"A\", \"B\"]\nmessage: text\n".
std::string surveyOutcomeText(const SurveyOutcome& outcome);

}  // namespace quillon::app
