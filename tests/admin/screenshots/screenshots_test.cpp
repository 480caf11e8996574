// orvadmin_screenshots as scripts/screenshots runs it: every picture of the
// guide is written, is a PNG that decodes, and shows a window of plausible
// size that drew itself, and so does its dark twin, in which the program
// found every text readable. How many bytes a picture takes depends on the
// fonts of the machine; scripts/screenshots keeps the guide's small.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QColor>
#include <QHash>
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

int colours(const QImage& image) {
  QSet<QRgb> seen;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) seen.insert(rgb.pixel(x, y));
  return static_cast<int>(seen.size());
}

// The lightness of the colour most of the picture has: the window's.
int backgroundLightness(const QImage& image) {
  QHash<QRgb, int> count;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) ++count[rgb.pixel(x, y)];
  QRgb most = 0;
  for (auto it = count.cbegin(); it != count.cend(); ++it)
    if (it.value() > count.value(most)) most = it.key();
  return QColor(most).lightness();
}

QImage picture(const QString& folder, const char* name) {
  QImage image;
  const QString path = QDir(folder).filePath(QString::fromLatin1(name));
  EXPECT_TRUE(image.load(path, "png")) << path.toStdString();
  return image;
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

  const QString dark = QDir(folder.path()).filePath(QStringLiteral("dark"));
  for (const char* name : kPictures) {
    SCOPED_TRACE(name);
    const QImage image = picture(folder.path(), name);
    EXPECT_GE(image.width(), 150);
    EXPECT_GE(image.height(), 80);
    EXPECT_LE(image.width(), 1280);
    EXPECT_LE(image.height(), 960);
    EXPECT_GE(colours(image), 8) << "a blank window";
    EXPECT_GT(backgroundLightness(image), 128) << "the guide shows a light theme";

    const QImage twin = picture(dark, name);
    EXPECT_EQ(twin.size(), image.size()) << "the same window";
    EXPECT_GE(colours(twin), 8) << "a blank window";
    EXPECT_LT(backgroundLightness(twin), 128) << "not dark";
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
