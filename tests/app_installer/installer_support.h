#pragma once

// What the installer's tests share: the simulated Mac of sim_app_support.h,
// bundles placed at Mac-side paths, folders that even root cannot write,
// and the texts the installer must produce, written out independently of
// the code.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <memory>

#include "sim/app/mac_fs.h"
#include "sim_app_support.h"

namespace quillon::app::test {

namespace fs = std::filesystem;

inline const std::string kHandOverScript =
    "while /bin/kill -0 \"$1\" 2>/dev/null; do sleep 0.2; done; /usr/bin/open \"$2\"; "
    "[ -n \"$3\" ] && /usr/bin/hdiutil detach \"$3\" -quiet; exit 0";
inline const std::string kRelaunchScript =
    "i=0; while /bin/kill -0 \"$1\" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.2; i=$((i+1)); "
    "done; /usr/bin/open \"$0\"";
inline const std::string kOfferMessage = "Move Quillon to Applications?";
inline const std::string kOfferText =
    "Quillon is running from the installer. To work properly, and keep working after the "
    "installer is closed, it needs to be in your Applications folder.";
inline const std::vector<std::string> kOfferButtons = {"Move to Applications", "Quit"};
inline const std::string kFailedMessage = "Quillon couldn't be moved";
inline const std::string kFailedTextStart =
    "Drag Quillon from the installer window onto the Applications folder, then open it from "
    "Applications.\n\n(";

// Makes a folder that this process cannot add entries to. Root ignores the
// mode, so as root the folder is made immutable instead (which needs a file
// system that has the flag). False when neither is possible.
inline bool makeUnwritable(const fs::path& dir) {
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                           fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  if (geteuid() != 0) return true;
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags |= FS_IMMUTABLE_FL;
  ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return ok;
}

// Undoes makeUnwritable, so that the test's folder can be removed.
inline void makeWritable(const fs::path& dir) {
  if (int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
      flags &= ~FS_IMMUTABLE_FL;
      (void)ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
  }
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
}

class InstallerTest : public sim::testing::SimAppTest {
 protected:
  void SetUp() override {
    SimAppTest::SetUp();
    folder_ = std::make_unique<sim::SystemFolder>(root());
    files_ = std::make_unique<sim::MacFileSystem>(*folder_);
  }
  void TearDown() override {
    for (const fs::path& dir : unwritable_) makeWritable(dir);
    SimAppTest::TearDown();
  }

  const sim::SystemFolder& folder() const { return *folder_; }
  const sim::MacFileSystem& files() const { return *files_; }
  fs::path host(const std::string& macPath) const { return files_->hostPath(macPath); }

  // A bundle at a Mac-side path: the built bundle's property lists and, with
  // `executable`, that program as Contents/MacOS/Quillon.
  fs::path placeBundle(const std::string& macPath, const fs::path& executable = {}) {
    fs::path at = host(macPath);
    sim::testing::makeBundle(at);
    if (!executable.empty()) {
      fs::create_directories(at / "Contents/MacOS");
      fs::copy_file(executable, at / "Contents/MacOS/Quillon");
    }
    return at;
  }

  // The Mac's "/Applications" as this user may not write it, and the user's
  // own Applications folder made and unwritable too. False: not possible here.
  bool noApplicationsFolderWritable() {
    fs::create_directories(host("/Applications"));
    fs::create_directories(home() / "Applications");
    for (const fs::path& dir : {host("/Applications"), home() / "Applications"}) {
      unwritable_.push_back(dir);
      if (!makeUnwritable(dir)) return false;
    }
    return true;
  }
  void applicationsNotWritable() {
    fs::create_directories(host("/Applications"));
    unwritable_.push_back(host("/Applications"));
    fs::permissions(host("/Applications"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }

 private:
  std::unique_ptr<sim::SystemFolder> folder_;
  std::unique_ptr<sim::MacFileSystem> files_;
  std::vector<fs::path> unwritable_;
};

}  // namespace quillon::app::test
