#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "helper/command.h"

namespace quillon {
namespace {

// The usage paths must not touch the system at all.
class NoBackend : public platform::Backend {
 public:
  platform::System& system() override { std::abort(); }
  void willRun() override { std::abort(); }
};

TEST(Command, UsageForNoOrUnknownCommand) {
  std::vector<std::vector<std::string>> cases = {
      {"/Applications/Quillon.app/Contents/Helpers/Quillon Helper"},
      {"helper", "Run"},
      {"helper", ""},
      {"helper", "--help", "run"}};
  for (const auto& args : cases) {
    NoBackend backend;
    testing::internal::CaptureStdout();
    int status = runCommand(args, backend);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 1);

    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 8u) << out;
    EXPECT_TRUE(out.ends_with("\n"));
    EXPECT_EQ(lines[0],
              "Quillon Helper - pointer curves and scroll direction for trackpad and mouse.");
    EXPECT_EQ(lines[2], "");
    EXPECT_TRUE(lines[3].starts_with("  run  "));
    EXPECT_TRUE(lines[4].starts_with("  preview --device trackpad|mouse"));
  }
}

}  // namespace
}  // namespace quillon
