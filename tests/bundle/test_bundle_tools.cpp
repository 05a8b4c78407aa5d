// The build steps that make Quillon.app on a Mac and can run here: the
// icon's images for iconutil, and the order codesign is run in.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <fstream>

#include "bundle/iconset/iconset.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

constexpr char kSignScript[] = QUILLON_SOURCE_DIR "/cmake/sign_bundle.cmake";

class TempDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/quillon-bundle-test-XXXXXX";
    dir_ = mkdtemp(tmpl);
  }
  void TearDown() override { fs::remove_all(dir_); }
  static void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
  fs::path dir_;
};

using Iconset = TempDir;

TEST_F(Iconset, TheIconRendersAtEverySizeIconutilWants) {
  std::string error;
  const fs::path out = dir_ / "Quillon.iconset";
  ASSERT_TRUE(bundle::renderIconset(QUILLON_SOURCE_DIR "/bundle/icon.svg", out, error)) << error;
  std::set<std::string> expected = {
      "icon_16x16.png",   "icon_16x16@2x.png",   "icon_32x32.png",   "icon_32x32@2x.png",
      "icon_128x128.png", "icon_128x128@2x.png", "icon_256x256.png", "icon_256x256@2x.png",
      "icon_512x512.png", "icon_512x512@2x.png"};
  std::set<std::string> written;
  for (const auto& entry : fs::directory_iterator(out)) written.insert(entry.path().filename());
  EXPECT_EQ(written, expected);

  for (const bundle::IconImage& image : bundle::iconsetImages()) {
    QImage png(QString::fromStdString((out / image.fileName()).string()));
    ASSERT_FALSE(png.isNull()) << image.fileName();
    EXPECT_EQ(png.width(), image.pixels()) << image.fileName();
    EXPECT_EQ(png.height(), image.pixels()) << image.fileName();
    EXPECT_TRUE(png.hasAlphaChannel()) << image.fileName();
    // The rounded square with its margin: clear corners, a painted middle.
    EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0) << image.fileName();
    EXPECT_EQ(qAlpha(png.pixel(png.width() / 2, png.height() / 4)), 255) << image.fileName();
  }
}

TEST_F(Iconset, BadSourceOrFolderIsAnErrorNotAnEmptySet) {
  write(dir_ / "not.svg", "<svg");
  write(dir_ / "file", "x");
  struct Row {
    fs::path svg;
    fs::path out;
    const char* says;
  };
  const std::vector<Row> rows = {
      {dir_ / "missing.svg", dir_ / "a.iconset", "not a readable SVG image"},
      {dir_ / "not.svg", dir_ / "b.iconset", "not a readable SVG image"},
      {QUILLON_SOURCE_DIR "/bundle/icon.svg", dir_ / "file/c.iconset", "cannot create the folder"},
  };
  for (const Row& row : rows) {
    std::string error;
    EXPECT_FALSE(bundle::renderIconset(row.svg, row.out, error)) << row.svg;
    EXPECT_NE(error.find(row.says), std::string::npos) << error;
  }
}

// cmake/sign_bundle.cmake against a codesign that records its arguments.
class SignBundle : public TempDir {
 protected:
  void SetUp() override {
    TempDir::SetUp();
    log_ = dir_ / "codesign.log";
    fake_ = dir_ / "codesign";
    write(fake_,
          "#!/bin/sh\n"
          "for a; do printf '%s|' \"$a\"; done >> \"$LOG\"; echo >> \"$LOG\"\n"
          "case \"$*\" in *\"${FAIL_ON:-none}\"*) exit 1 ;; esac\n");
    fs::permissions(fake_, fs::perms::owner_all);
    bundle_ = dir_ / "Quillon.app";
  }

  // Runs the script; the exit status, the log's lines in `calls`.
  int sign(const std::string& identity, const std::string& failOn = "") {
    fs::remove(log_);
    QProcess cmake;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("LOG", QString::fromStdString(log_.string()));
    if (!failOn.empty()) env.insert("FAIL_ON", QString::fromStdString(failOn));
    cmake.setProcessEnvironment(env);
    cmake.start(QUILLON_CMAKE,
                {"-DBUNDLE=" + QString::fromStdString(bundle_.string()),
                 "-DIDENTITY=" + QString::fromStdString(identity),
                 "-DCODESIGN=" + QString::fromStdString(fake_.string()), "-P", kSignScript});
    cmake.waitForFinished(30000);
    calls.clear();
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    return cmake.exitStatus() == QProcess::NormalExit ? cmake.exitCode() : -1;
  }

  void makeDeployedBundle() {
    for (const char* dir : {"Contents/MacOS", "Contents/Frameworks/QtCore.framework",
                            "Contents/Frameworks/QtGui.framework",
                            "Contents/Helpers/Quillon Helper.app/Contents/MacOS"})
      fs::create_directories(bundle_ / dir);
    for (const char* file :
         {"Contents/Frameworks/libpng16.16.dylib", "Contents/PlugIns/platforms/libqcocoa.dylib",
          "Contents/PlugIns/imageformats/libqsvg.dylib"})
      write(bundle_ / file, "");
  }

  std::string signed_(const std::string& part, const std::string& flags = "--force|--sign|-|") {
    return flags + (bundle_ / part).string() + "|";
  }

  fs::path log_, fake_, bundle_;
  std::vector<std::string> calls;
};

TEST_F(SignBundle, SignsInsideOutWithTheBundleLast) {
  makeDeployedBundle();
  ASSERT_EQ(sign("-"), 0);
  const std::vector<std::string> expected = {
      signed_("Contents/Frameworks/libpng16.16.dylib"),
      signed_("Contents/Frameworks/QtCore.framework"),
      signed_("Contents/Frameworks/QtGui.framework"),
      signed_("Contents/PlugIns/imageformats/libqsvg.dylib"),
      signed_("Contents/PlugIns/platforms/libqcocoa.dylib"),
      signed_("Contents/Helpers/Quillon Helper.app"),
      "--force|--sign|-|" + bundle_.string() + "|",
  };
  EXPECT_EQ(calls, expected);
}

TEST_F(SignBundle, ACertificateAddsTheHardenedRuntime) {
  fs::create_directories(bundle_ / "Contents/Helpers/Quillon Helper.app");
  ASSERT_EQ(sign("Developer ID Application: Quillon"), 0);
  const std::string flags =
      "--force|--sign|Developer ID Application: Quillon|--options|runtime|--timestamp|";
  EXPECT_EQ(calls, (std::vector<std::string>{signed_("Contents/Helpers/Quillon Helper.app", flags),
                                             flags + bundle_.string() + "|"}));
}

TEST_F(SignBundle, AFailureStopsBeforeTheOuterBundle) {
  makeDeployedBundle();
  EXPECT_NE(sign("-", "Quillon Helper.app"), 0);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), signed_("Contents/Helpers/Quillon Helper.app"));

  fs::remove_all(bundle_);
  EXPECT_NE(sign("-"), 0);  // no bundle: nothing signed
  EXPECT_TRUE(calls.empty());
}

}  // namespace
}  // namespace quillon
