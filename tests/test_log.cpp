#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "gtest/gtest.h"
#include "helper/log.h"
#include "helper/log_file.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string captureLine(std::string_view message) {
  std::FILE* f = std::tmpfile();
  setLogStream(f);
  logLine(message);
  setLogStream(nullptr);
  std::rewind(f);
  std::string text;
  for (int c; (c = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(f);
  return text;
}

TEST(Log, LineIsStampedInLocalTime) {
  // A zone far from UTC shows whether local time is used at all.
  const char* old = std::getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "<+14>-14", 1);
  std::time_t before = std::time(nullptr);
  std::string line = captureLine("settings: trackpad mac");
  std::time_t after = std::time(nullptr);
  old ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();

  std::smatch m;
  ASSERT_TRUE(
      std::regex_match(line, m, std::regex(R"(\[(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)\] (.*)\n)")))
      << line;
  EXPECT_EQ(m[2], "settings: trackpad mac");
  bool matched = false;
  for (std::time_t t = before; t <= after; ++t) {
    std::time_t shifted = t + std::time_t{14} * 3600;
    std::tm utc{};
    gmtime_r(&shifted, &utc);
    char expected[32];
    std::strftime(expected, sizeof expected, "%Y-%m-%d %H:%M:%S", &utc);
    matched = matched || m[1] == expected;
  }
  EXPECT_TRUE(matched) << m[1];
}

class LogFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quillon-home-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    paths_ = Paths::forHome(pattern);
  }
  void TearDown() override { fs::remove_all(paths_.home); }
  void makeLog(size_t bytes) {
    fs::create_directories(paths_.logFile.parent_path());
    std::ofstream(paths_.logFile) << std::string(bytes, 'x');
  }

  Paths paths_;
};

TEST_F(LogFile, DeletesOnlyALogOverTheLimit) {
  struct Row {
    size_t bytes;
    bool kept;
  };
  for (Row r : {Row{10, true}, Row{1'000'000, true}, Row{1'000'001, false}}) {
    makeLog(r.bytes);
    tidyLogFile(paths_.logFile);
    EXPECT_EQ(fs::exists(paths_.logFile), r.kept) << r.bytes;
  }
}

TEST_F(LogFile, CreatesTheFolderAndIgnoresFailures) {
  tidyLogFile(paths_.logFile);
  EXPECT_TRUE(fs::is_directory(paths_.logFile.parent_path()));
  // A folder where the log should be: neither a size nor a delete works.
  fs::create_directories(paths_.logFile);
  EXPECT_NO_FATAL_FAILURE(tidyLogFile(paths_.logFile));
  EXPECT_TRUE(fs::is_directory(paths_.logFile));
}

TEST_F(LogFile, BothStreamsAppendToTheLog) {
  makeLog(0);
  std::ofstream(paths_.logFile) << "earlier\n";
  // In a child: setUpLog reopens this process's own stdout and stderr.
  EXPECT_EXIT(
      {
        setUpLog(paths_);
        logLine("started");
        std::fputs("to stderr\n", stderr);
        std::fflush(nullptr);
        _exit(0);
      },
      testing::ExitedWithCode(0), "");
  std::string log = contents(paths_.logFile);
  EXPECT_TRUE(log.starts_with("earlier\n[")) << log;
  EXPECT_NE(log.find("] started\n"), std::string::npos) << log;
  EXPECT_TRUE(log.ends_with("to stderr\n")) << log;
}

// Whatever stands at the log's path, set-up returns (opening a FIFO without
// a reader must not wait for one) and the log lines go to standard error,
// which stays where it was.
TEST_F(LogFile, SomethingElseThanAFileAtTheLogPathSendsTheLogToStandardError) {
  enum class Place { folder, fifoWithoutReader, fifoWithReader };
  for (Place place : {Place::folder, Place::fifoWithoutReader, Place::fifoWithReader}) {
    SCOPED_TRACE(static_cast<int>(place));
    fs::create_directories(paths_.logFile.parent_path());
    int reader = -1;
    if (place == Place::folder) {
      fs::create_directories(paths_.logFile);
    } else {
      ASSERT_EQ(::mkfifo(paths_.logFile.c_str(), 0600), 0);
      if (place == Place::fifoWithReader) {
        reader = ::open(paths_.logFile.c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
      }
    }
    EXPECT_EXIT(
        {
          setUpLog(paths_);
          logLine("started");
          std::fputs("still here\n", stderr);
          std::fflush(nullptr);
          _exit(0);
        },
        testing::ExitedWithCode(0), "\\] started\nstill here");
    if (reader >= 0) {
      char byte = 0;
      EXPECT_LE(::read(reader, &byte, 1), 0) << "something was written into the FIFO";
      ::close(reader);
    }
    fs::remove_all(paths_.logFile);
  }
}

}  // namespace
}  // namespace quillon
