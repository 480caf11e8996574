#include "admin/core/line_monitor_form.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "admin/core/command_link.h"
#include "admin/core/orvane_form.h"
#include "admin/core/trace_view.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;

class LineMonitorFormTest : public AdminFixture {
 protected:
  ~LineMonitorFormTest() override { delete monitor_; }

  void openMonitor() {
    monitor_ = new LineMonitorForm(*context_);
    monitor_->show();
  }
  template <typename T>
  T& control(const char* name) const {
    auto* found = monitor_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return *found;
  }
  QString traffic() const { return control<TraceView>("Traffic").text(); }
  bool waitForTraffic(const QString& text) const {
    return QTest::qWaitFor([&] { return traffic().contains(text); }, 5000);
  }
  void exchange(const std::string& command, int checksum, int baudCode) {
    context_->LastCommand = command;
    Exchange(*context_, {checksum, baudCode}, 0, context_->ReplyTimeout);
  }

  QPointer<LineMonitorForm> monitor_;
};

TEST_F(LineMonitorFormTest, ShowsWhatWentOverTheLineWithDelaysAndFailures) {
  start({simModule("7213", 1, 3, true), simModule("7213", 2, 4)});
  network_->setFault(1, "$AAF", fault(&sim::FaultSpec::wrongChecksum));
  openMonitor();
  exchange("$01M", 1, 3);
  exchange("$01F", 1, 3);
  exchange("$07M", 0, 3);
  exchange("$02M", 0, 4);
  ASSERT_TRUE(waitForTraffic(QStringLiteral("< !02"))) << traffic().toStdString();

  for (const char* pattern : {
           R"(COM1 \S+ > \$01M[0-9A-F]{2}<CR>$)",
           R"(COM1 \S+ < !017213\w\w<CR>  \d+\.\d{3} ms$)",
           R"(COM1 \S+ ! checksum failure in the reply !01)",
           R"(COM1 \S+ > \$07M<CR>$)",
           R"(COM1 \S+ ! time-out: no reply  \d+\.\d{3} ms$)",
           R"(COM1 \S+ \* line set to 19200 bps, no parity$)",
       })
    EXPECT_TRUE(traffic().contains(
        QRegularExpression(QString::fromLatin1(pattern), QRegularExpression::MultilineOption)))
        << pattern << "\n"
        << traffic().toStdString();

  // One module's traffic: its frames and what came back for them.
  QTest::keyClicks(&control<QLineEdit>("AddressFilter"), "7");
  const QStringList seven = traffic().split('\n');
  ASSERT_EQ(seven.size(), 2) << traffic().toStdString();
  EXPECT_TRUE(seven[0].contains(QStringLiteral("> $07M<CR>")));
  EXPECT_TRUE(seven[1].contains(QStringLiteral("! time-out")));

  // Save As writes what is shown.
  const QString saved = dir_.filePath(QStringLiteral("trace.txt"));
  ui_->fileAnswers.push_back(saved);
  control<QPushButton>("SaveAsBtn").click();
  EXPECT_EQ(readFile(saved.toStdString()), (seven.join('\n') + '\n').toStdString());
  control<QLineEdit>("AddressFilter").clear();

  // Paused, the lines are kept but not shown until the pause ends.
  control<QPushButton>("PauseBtn").click();
  EXPECT_TRUE(control<QLabel>("LineCount").text().startsWith(QStringLiteral("Paused")));
  const QString before = traffic();
  const std::size_t kept = monitor_->log().size();
  exchange("$02F", 0, 4);
  EXPECT_TRUE(QTest::qWaitFor([&] { return monitor_->log().size() >= kept + 2; }, 5000));
  EXPECT_EQ(traffic(), before);
  control<QPushButton>("PauseBtn").click();
  EXPECT_TRUE(waitForTraffic(QStringLiteral("> $02F<CR>")));

  control<QPushButton>("ClearBtn").click();
  EXPECT_TRUE(traffic().isEmpty());
  EXPECT_EQ(monitor_->log().size(), 0u);

  // Closed, the line no longer traces at all.
  monitor_->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return monitor_.isNull(); }, 5000))
      << "the window deletes itself when closed";
  if (qEnvironmentVariableIsEmpty("ORVANE_TRACE")) {
    EXPECT_FALSE(serial::traceActive());
  }
}

TEST_F(LineMonitorFormTest, NetworkMenuOpensOneMonitorThatClosesWithTheMainWindow) {
  const auto monitors = [] {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QStringLiteral("LineMonitorForm")) ++n;
    return n;
  };
  {
    OrvaneForm main(*context_);
    auto* item = main.findChild<QAction*>(QStringLiteral("mnuLineMonitor"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("&Line Monitor..."));
    item->trigger();
    item->trigger();
    EXPECT_EQ(monitors(), 1);
  }
  EXPECT_EQ(monitors(), 0);
}

// The view keeps its newest lines, follows them at its end and keeps the
// place of a user who scrolled back; the oldest lines dropping off under the
// cap do not move that place.
TEST(TraceView, FollowsTheNewLinesOnlyAtItsEndAndKeepsTheNewestUpToItsCapacity) {
  TraceView view(60, nullptr);
  view.resize(200, 60);
  view.show();
  std::vector<std::string> lines;
  for (int i = 0; i < 50; ++i) lines.push_back("line " + std::to_string(i));
  view.append(lines);
  QScrollBar* bar = view.verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  view.append({"line 50"});
  EXPECT_EQ(bar->value(), bar->maximum()) << "at the end the view follows";

  bar->setValue(20);
  view.append({"line 51", "line 52"});
  EXPECT_EQ(bar->value(), 20) << "scrolled back, the place stays";
  view.append(std::vector<std::string>(10, "more"));
  EXPECT_EQ(view.lineCount(), 60u);
  EXPECT_EQ(bar->value(), 17) << "three lines dropped off above the place";
  EXPECT_TRUE(view.text().startsWith(QStringLiteral("line 3\nline 4\n")));
}

// The Line Monitor has no parent: a window modal only to its parents leaves
// it usable; a window without a parent still blocks the whole program.
TEST(DesktopUiModality, WindowsAreModalToTheWindowThatOpenedThem) {
  DesktopUi desktop;
  QWidget owner;
  const auto modalityWhileOpen = [&](QDialog& dialog) {
    Qt::WindowModality seen = Qt::NonModal;
    QTimer::singleShot(0, &dialog, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) seen = modal->windowModality();
      dialog.reject();
    });
    desktop.execModal(dialog);
    return seen;
  };
  QDialog opened(&owner);
  EXPECT_EQ(modalityWhileOpen(opened), Qt::WindowModal);
  QDialog alone;
  EXPECT_EQ(modalityWhileOpen(alone), Qt::ApplicationModal);

  Qt::WindowModality boxModality = Qt::NonModal;
  QTimer::singleShot(0, &owner, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      boxModality = modal->windowModality();
      modal->close();
    }
  });
  desktop.message(&owner, QStringLiteral("text"), kAppTitle, QMessageBox::Ok);
  EXPECT_EQ(boxModality, Qt::WindowModal);
}

}  // namespace
}  // namespace orvane::admin
