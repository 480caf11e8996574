// orvadmin_screenshots as scripts/screenshots runs it: every picture of the
// guide is written, is a PNG that decodes, and shows a window of plausible
// size that drew itself.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <chrono>

namespace {

const char* const kPictures[] = {
    "main-window.png", "search.png",   "scan.png",         "com-port.png",       "ad-config.png",
    "ad-diag.png",     "ad-calib.png", "ad-calib-cjc.png", "dio-diag.png",       "da-calib.png",
    "monitor.png",     "terminal.png", "batch.png",        "repeat-command.png",
};

// The guide keeps its pictures small.
constexpr qint64 kLargestFile = 60 * 1024;

int colours(const QImage& image) {
  QSet<QRgb> seen;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) seen.insert(rgb.pixel(x, y));
  return static_cast<int>(seen.size());
}

TEST(Screenshots, EveryPictureOfTheGuideIsWrittenAndShowsAWindow) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QProcess program;
  const auto start = std::chrono::steady_clock::now();
  program.start(QStringLiteral(ORVADMIN_SCREENSHOTS), {folder.path()});
  ASSERT_TRUE(program.waitForFinished(30000)) << "still running after 30 s";
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
  EXPECT_LT(seconds, 15.0) << "the guide's pictures take a few seconds";

  for (const char* name : kPictures) {
    SCOPED_TRACE(name);
    const QString path = QDir(folder.path()).filePath(QString::fromLatin1(name));
    ASSERT_TRUE(QFileInfo::exists(path));
    EXPECT_LT(QFileInfo(path).size(), kLargestFile);
    QImage image;
    ASSERT_TRUE(image.load(path, "png"));
    EXPECT_GE(image.width(), 150);
    EXPECT_GE(image.height(), 80);
    EXPECT_LE(image.width(), 1280);
    EXPECT_LE(image.height(), 960);
    EXPECT_GE(colours(image), 8) << "a blank window";
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
