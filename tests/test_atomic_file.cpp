#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/atomic_file.h"
#include "gtest/gtest.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using Status = FileRead::Status;

class AtomicFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quillon-file-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_ / "locked", fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  void put(const fs::path& p, const std::string& content) const { std::ofstream(p) << content; }

  fs::path dir_;
};

TEST_F(AtomicFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
  fs::path target = dir_ / "config.json";
  put(target, std::string(5000, 'x'));
  ASSERT_TRUE(writeFileAtomically(target, "short"));
  EXPECT_EQ(readFile(target, 1 << 20).content, "short");
  ASSERT_TRUE(writeFileAtomically(dir_ / "status.json", ""));
  EXPECT_EQ(entries(), (std::vector<std::string>{"config.json", "status.json"}));
}

TEST_F(AtomicFile, FailsWithoutTouchingAnything) {
  EXPECT_FALSE(writeFileAtomically(dir_ / "absent" / "config.json", "x"));
  // A directory in the target's place cannot be replaced by a file.
  fs::create_directory(dir_ / "config.json");
  EXPECT_FALSE(writeFileAtomically(dir_ / "config.json", "x"));
  EXPECT_EQ(entries(), std::vector<std::string>{"config.json"});
  EXPECT_TRUE(fs::is_directory(dir_ / "config.json"));
}

TEST_F(AtomicFile, ReadsUpToTheLimit) {
  put(dir_ / "exact", std::string(100, 'a'));
  put(dir_ / "over", std::string(101, 'a'));
  put(dir_ / "empty", "");
  put(dir_ / "file", "");
  struct Row {
    fs::path path;
    Status status;
    size_t size;
  };
  for (const Row& r :
       {Row{dir_ / "exact", Status::ok, 100}, Row{dir_ / "over", Status::tooLarge, 0},
        Row{dir_ / "empty", Status::ok, 0}, Row{dir_ / "missing", Status::missing, 0},
        Row{dir_ / "file" / "below", Status::missing, 0}, Row{dir_, Status::notRegularFile, 0}}) {
    FileRead read = readFile(r.path, 100);
    EXPECT_EQ(read.status, r.status) << r.path;
    EXPECT_EQ(read.content.size(), r.size) << r.path;
  }
}

TEST_F(AtomicFile, RefusesAHugeFileWithoutReadingIt) {
  // Sparse: 100 MB that take no disk space; reading them would take time
  // and memory that the size check must save.
  fs::path huge = dir_ / "huge";
  put(huge, "");
  fs::resize_file(huge, 100'000'000);
  FileRead read = readFile(huge, 1 << 20);
  EXPECT_EQ(read.status, Status::tooLarge);
  EXPECT_EQ(describe(read.status, 1 << 20), "larger than 1048576 bytes");
}

TEST_F(AtomicFile, DoesNotWaitOnAFifo) {
  // Without a writer, a blocking open would hang here for ever.
  fs::path fifo = dir_ / "config.json";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(readFile(fifo, 1 << 20).status, Status::notRegularFile);
}

// The pid of a process that has ended and been reaped.
pid_t deadPid() {
  pid_t pid = fork();
  if (pid == 0) _exit(0);
  int status = 0;
  waitpid(pid, &status, 0);
  return pid;
}

TEST_F(AtomicFile, TheNextWriterRemovesTemporariesOfKilledWritersOnly) {
  const std::string dead = std::to_string(deadPid());
  const std::string self = std::to_string(getpid());
  struct Planted {
    std::string name;
    bool removed;
  };
  const std::vector<Planted> planted = {
      {".config.json." + dead + ".0.tmp", true},    // a writer killed mid-write
      {".config.json." + dead + ".17.tmp", true},   // another of its writes
      {".config.json." + self + ".99.tmp", false},  // a live writer's, under way
      {".status.json." + dead + ".0.tmp", false},   // another file's: its writer sweeps it
      {".config.json.0.3.tmp", false},              // no process's id
      {".config.json.-5.3.tmp", false},             // no process's id
      {".config.json.x.3.tmp", false},              // not a writer's name
      {"config.json." + dead + ".0.tmp", false},    // not hidden: someone else's file
      {".config.json." + dead + ".0.tmp.bak", false},
  };
  for (const auto& p : planted) put(dir_ / p.name, "part");
  ASSERT_TRUE(writeFileAtomically(dir_ / "config.json", "{}"));
  for (const auto& p : planted) EXPECT_EQ(fs::exists(dir_ / p.name), !p.removed) << p.name;
  EXPECT_EQ(readFile(dir_ / "config.json", 100).content, "{}");

  // Every file's, for a program that starts.
  removeStaleTemporaryFiles(dir_);
  EXPECT_FALSE(fs::exists(dir_ / (".status.json." + dead + ".0.tmp")));
  EXPECT_TRUE(fs::exists(dir_ / (".config.json." + self + ".99.tmp")));
}

TEST_F(AtomicFile, TellsUnreadableFromMissing) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
  fs::path locked = dir_ / "locked";
  put(locked, "{}");
  fs::permissions(locked, fs::perms::none);
  EXPECT_EQ(readFile(locked, 100).status, Status::unreadable);
}

}  // namespace
}  // namespace quillon
