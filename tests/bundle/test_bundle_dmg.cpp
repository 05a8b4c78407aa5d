// scripts/make-dmg against stand-ins of the Mac's tools that record their
// calls: what goes into the image, how it is attached, and that it is
// detached whatever a check finds.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace quillon {
namespace {

namespace fs = std::filesystem;

constexpr char kMakeDmg[] = QUILLON_SOURCE_DIR "/scripts/make-dmg";

// The image is a folder next to the .dmg file ("<dmg>.d"); attaching copies
// it to the mount point and detaching removes that. `touch` refuses inside a
// mount point, as on a read-only volume (root writes anywhere on Linux).
constexpr char kTools[] = R"sh(
log() { for a; do printf '%s|' "$a"; done >> "$LOG"; echo >> "$LOG"; }
cat > hdiutil <<'EOF'
#!/bin/bash
. "$TOOLS/log.sh"; log hdiutil "$@"
case $1 in
  create)
    while [ $# -gt 1 ]; do
      case $1 in -srcfolder) src=$2; shift ;; -volname|-fs|-format) shift ;; esac; shift
    done
    rm -rf "$1.d"; cp -a "$src" "$1.d"; echo image > "$1" ;;
  imageinfo) echo "Format: ${FORMAT:-UDZO}" ;;
  attach)
    while [ $# -gt 1 ]; do case $1 in -mountpoint) mp=$2; shift ;; esac; shift; done
    cp -a "$1.d/." "$mp/"; echo "$mp" > "$TOOLS/mounted" ;;
  detach) rm -rf "$2" "$TOOLS/mounted" ;;
esac
EOF
cat > codesign <<'EOF'
#!/bin/bash
. "$TOOLS/log.sh"; log codesign "$@"
case $1 in --display) [ -e "$2.signed" ] || [ -e "$2/.signed" ] ;; esac
EOF
cat > plutil <<'EOF'
#!/bin/bash
case $1 in -lint) [ -s "$2" ] ;; *) sed -n 's/.*<string>\(.*\)<\/string>.*/\1/p' "${@: -1}" | head -1 ;; esac
EOF
cat > ditto <<'EOF'
#!/bin/bash
cp -a "$1" "$2"
EOF
cat > touch <<'EOF'
#!/bin/bash
if [ -e "$TOOLS/mounted" ] && [[ "$1" == "$(cat "$TOOLS/mounted")"/* ]]; then exit 1; fi
exec /usr/bin/touch "$@"
EOF
chmod +x hdiutil codesign plutil ditto touch
)sh";

class MakeDmg : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quillon-dmg-test-XXXXXX";
    dir_ = mkdtemp(tmpl);
    tools_ = dir_ / "tools";
    fs::create_directories(tools_);
    write(tools_ / "log.sh", std::string(kTools).substr(0, std::string(kTools).find("cat >")));
    ASSERT_EQ(QProcess::execute(
                  "/bin/bash",
                  {"-c", QString("cd '%1' && %2").arg(QString::fromStdString(tools_)).arg(kTools)}),
              0);
    app_ = dir_ / "build/Quillon.app";
    makeApp();
  }

  // A bundle with what the checks look at, signed (for codesign --display).
  void makeApp() const {
    fs::remove_all(app_);
    write(app_ / "Contents/Info.plist",
          "<plist><dict><key>CFBundleIdentifier</key><string>com.quillon.app</string></dict>"
          "</plist>");
    write(app_ / "Contents/Library/LaunchAgents/com.quillon.helper.plist", "<plist/>");
    for (const char* exe : {"Contents/MacOS/Quillon",
                            "Contents/Helpers/Quillon Helper.app/Contents/MacOS/Quillon Helper"}) {
      write(app_ / exe, "#!/bin/sh\n");
      fs::permissions(app_ / exe, fs::perms::owner_all);
    }
    write(app_ / ".signed", "");
  }
  void TearDown() override { fs::remove_all(dir_); }

  static void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }

  // Runs the script; its exit status, its output and the tools' calls.
  int run(const QStringList& args, const QString& format = "UDZO") {
    fs::remove(dir_ / "calls.log");
    QProcess script;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", QString::fromStdString(tools_.string()) + ":" + env.value("PATH"));
    env.insert("TOOLS", QString::fromStdString(tools_.string()));
    env.insert("LOG", QString::fromStdString((dir_ / "calls.log").string()));
    env.insert("TMPDIR", QString::fromStdString(dir_.string()));
    env.insert("FORMAT", format);
    script.setProcessEnvironment(env);
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start("/bin/bash", QStringList{kMakeDmg} + args);
    script.waitForFinished(60000);
    output = script.readAll().toStdString();
    calls.clear();
    std::ifstream in(dir_ / "calls.log");
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    return script.exitStatus() == QProcess::NormalExit ? script.exitCode() : -1;
  }
  QStringList paths() const {
    return {QString::fromStdString(app_.string()), QString::fromStdString(dmg().string())};
  }
  fs::path dmg() const { return dir_ / "out/Quillon.dmg"; }
  bool called(const std::string& prefix) const {
    return std::any_of(calls.begin(), calls.end(),
                       [&](const std::string& c) { return c.starts_with(prefix); });
  }
  bool attachedNow() const { return fs::exists(tools_ / "mounted"); }

  fs::path dir_, tools_, app_;
  std::string output;
  std::vector<std::string> calls;
};

TEST_F(MakeDmg, ImagesTheAppWithAnApplicationsLinkAndChecksItReadOnly) {
  ASSERT_EQ(run(paths()), 0) << output;
  const fs::path image = dmg().string() + ".d";
  EXPECT_TRUE(fs::is_regular_file(image / "Quillon.app/Contents/MacOS/Quillon"));
  ASSERT_TRUE(fs::is_symlink(image / "Applications"));
  EXPECT_EQ(fs::read_symlink(image / "Applications"), "/Applications");
  EXPECT_TRUE(called("hdiutil|create|-volname|Quillon|")) << output;
  EXPECT_NE(std::find_if(calls.begin(), calls.end(),
                         [](const std::string& c) {
                           return c.starts_with("hdiutil|create|") &&
                                  c.find("|-format|UDZO|") != std::string::npos;
                         }),
            calls.end());
  EXPECT_TRUE(called("hdiutil|attach|-readonly|-nobrowse|"));
  EXPECT_TRUE(called("hdiutil|detach|"));
  EXPECT_TRUE(called("codesign|--verify|--strict|--deep|"));
  EXPECT_FALSE(called("codesign|--force|"));  // no --sign: the image itself stays unsigned
  EXPECT_FALSE(attachedNow());
  EXPECT_EQ(output.find("FAIL"), std::string::npos) << output;

  // --check only checks what was made.
  ASSERT_EQ(run({"--check", QString::fromStdString(dmg().string())}), 0) << output;
  EXPECT_FALSE(called("hdiutil|create|"));
  EXPECT_TRUE(called("hdiutil|attach|-readonly|-nobrowse|"));
}

TEST_F(MakeDmg, SignsTheImageWithATimestampOnlyForACertificate) {
  ASSERT_EQ(run(QStringList{"--sign", "Developer ID Application: Q"} + paths()), 0) << output;
  EXPECT_TRUE(called("codesign|--force|--timestamp|--sign|Developer ID Application: Q|" +
                     dmg().string() + "|"));
  ASSERT_EQ(run(QStringList{"--sign", "-"} + paths()), 0) << output;
  EXPECT_TRUE(called("codesign|--force|--sign|-|" + dmg().string() + "|"));
}

TEST_F(MakeDmg, AFailedCheckFailsTheScriptAndStillDetaches) {
  const fs::path image = dmg().string() + ".d";
  struct Row {
    const char* breaks;
    std::function<void(MakeDmg&)> spoil;  // after the image is made
    QString format;
  };
  const std::vector<Row> rows = {
      {"the helper's executable is missing",
       [&](MakeDmg&) {
         fs::remove(image / "Quillon.app/Contents/Helpers/Quillon Helper.app/Contents/MacOS" /
                    "Quillon Helper");
       },
       "UDZO"},
      {"a stray file beside the app", [&](MakeDmg&) { write(image / "stray", ""); }, "UDZO"},
      {"the link points elsewhere",
       [&](MakeDmg&) {
         fs::remove(image / "Applications");
         fs::create_directory_symlink("/tmp", image / "Applications");
       },
       "UDZO"},
      {"an unsigned image that is no longer compressed", [](MakeDmg&) {}, "UDRW"},
  };
  const QStringList check = {"--check", QString::fromStdString(dmg().string())};
  for (const Row& row : rows) {
    ASSERT_EQ(run(paths()), 0) << output;
    row.spoil(*this);
    EXPECT_NE(run(check, row.format), 0) << row.breaks << "\n" << output;
    EXPECT_NE(output.find("FAIL"), std::string::npos) << row.breaks << "\n" << output;
    EXPECT_TRUE(called("hdiutil|detach|")) << row.breaks;
    EXPECT_FALSE(attachedNow()) << row.breaks;
  }
}

TEST_F(MakeDmg, RefusesWhatIsNotABundleBeforeMakingAnything) {
  fs::remove_all(app_);
  EXPECT_NE(run(paths()), 0);
  EXPECT_NE(output.find("is not a bundle"), std::string::npos) << output;
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(fs::exists(dmg()));
  EXPECT_NE(run({"--sign"}), 0);
  EXPECT_NE(run({"--check"}), 0);
}

}  // namespace
}  // namespace quillon
