// The app's layers, checked on the source tree. Every target shares the
// repository root as its include path, so a wrong include links fine and
// only a scan of the includes catches it:
// - the kit (app/ui/kit) and the look (app/ui/style) know nothing of the
//   model or of the windows built on them;
// - the app's core (app/core) knows nothing of its windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
  std::string folder;               // below the repository root
  std::vector<std::string> mayUse;  // "app/…" prefixes it may include
};

const std::vector<Layer> kLayers = {
    {"app/ui/style", {"app/ui/style/"}},
    {"app/ui/kit", {"app/ui/kit/", "app/ui/style/"}},
    {"app/core", {"app/core/"}},
};

// The quoted include of a line, if it has one.
std::optional<std::string> quotedInclude(const std::string& line) {
  static const std::regex include(R"(^\s*#\s*(?:include|import)\s*"([^"]+)\")");
  std::smatch m;
  if (!std::regex_search(line, m, include)) return std::nullopt;
  return m[1].str();
}

// Whether a layer may include a path. Only the app's own folders are
// ruled; common/, platform/ and the libraries are below every layer.
bool allowed(const Layer& layer, const std::string& path) {
  if (path.rfind("app/", 0) != 0) return true;
  for (const std::string& prefix : layer.mayUse) {
    if (path.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// "file:line: include" for every include of a layer's files that breaks
// its rule.
std::vector<std::string> violations(const fs::path& root, const Layer& layer) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(root / layer.folder)) {
    const fs::path& p = entry.path();
    const std::string ext = p.extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".mm")) continue;
    std::ifstream in(p);
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      const auto path = quotedInclude(line);
      if (path && !allowed(layer, *path)) {
        found.push_back(fs::relative(p, root).string() + ":" + std::to_string(n) + ": " + *path);
      }
    }
  }
  return found;
}

TEST(UiLayering, TheRuleRejectsTheModelAndTheFeatureFoldersInTheKit) {
  const Layer& kit = kLayers[1];
  struct Case {
    const char* line;
    bool ok;
  };
  const Case cases[] = {
      {R"(#include "app/core/model.h")", false},
      {R"(#include "app/core/binding.h")", false},
      {R"(#include "app/ui/panel/panel_view.h")", false},
      {R"(#include "app/ui/graph/curves.h")", false},
      {R"(#include "app/ui/app_windows.h")", false},
      {R"(  #  include "app/ui/setup/setup_view.h")", false},
      {R"(#import "app/ui/mac/panel_platform_mac.h")", false},
      {R"(#include "app/ui/kit/push_button.h")", true},
      {R"(#include "app/ui/style/theme.h")", true},
      {R"(#include "common/binding.h")", true},
      {R"(#include <QWidget>)", true},
      {R"(// #include "app/core/model.h" is not an include)", true},
  };
  for (const Case& c : cases) {
    const auto path = quotedInclude(c.line);
    EXPECT_EQ(!path || allowed(kit, *path), c.ok) << c.line;
  }
}

TEST(UiLayering, TheStyleMayNotUseTheKit) {
  EXPECT_FALSE(allowed(kLayers[0], "app/ui/kit/push_button.h"));
  EXPECT_TRUE(allowed(kLayers[0], "app/ui/style/fonts.h"));
}

TEST(UiLayering, EveryLayerOfTheTreeKeepsItsRule) {
  const fs::path root = QUILLON_SOURCE_DIR;
  for (const Layer& layer : kLayers) {
    ASSERT_TRUE(fs::is_directory(root / layer.folder)) << layer.folder;
    const std::vector<std::string> found = violations(root, layer);
    std::string list;
    for (const std::string& v : found) list += "\n  " + v;
    EXPECT_TRUE(found.empty()) << layer.folder << " includes what it may not:" << list;
  }
}

}  // namespace
