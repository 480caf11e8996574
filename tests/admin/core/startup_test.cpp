#include "admin/core/startup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "admin/core/com_port_form.h"
#include "admin/core/ui_naming.h"
#include "serial/file_read.h"
#include "serial/serial_port.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"
#include "tests/admin/terminal/guarded_fifo.h"

namespace orvane::admin {
namespace {

namespace fs = std::filesystem;
using testing::AdminFixture;
using testing::simModule;

const QString kContentError =
    QStringLiteral("COM config file content error. Use default setting: COM2, baud rate 9600");

class StartupTest : public AdminFixture {
 protected:
  void start() { runStartup(*context_, nullptr); }
  const std::array<int, 8>& flags(int com) { return context_->portSetting(com).SearchFlags; }
};

TEST_F(StartupTest, WithoutComCfgOpensCom1AndSearches9600Silently) {
  startNetwork({simModule("7213", 1)}, 1);
  start();
  EXPECT_EQ(context_->ComPort, 1);
  EXPECT_TRUE(context_->OrvComm.isOpen(1));
  EXPECT_EQ(flags(1), (std::array<int, 8>{0, 0, 0, 1, 0, 0, 0, 0}));
  EXPECT_EQ(context_->ReplyTimeout, 100);
  EXPECT_EQ(context_->LongReplyTimeout, 400);
  EXPECT_EQ(context_->SelectedIndex, -1);
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(StartupTest, WorkedComCfgOpensItsPortWithItsRatesAndTimeOut) {
  startNetwork({simModule("7213", 1)}, 3);
  writeConfigFile("COM.CFG", "150\r\n3\r\nn,8,1\r\n4800\r\n9600\r\n");
  start();
  EXPECT_EQ(context_->ComPort, 3);
  EXPECT_TRUE(context_->OrvComm.isOpen(3));
  EXPECT_EQ(flags(3), (std::array<int, 8>{0, 0, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(context_->ReplyTimeout, 150);
  EXPECT_EQ(context_->LongReplyTimeout, 600);
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(StartupTest, PortOutsideOneToFourFallsBackToCom2WithTheContentMessage) {
  startNetwork({simModule("7213", 1)}, 2);
  writeConfigFile("COM.CFG", "150\r\n7\r\nn,8,1\r\n19200\r\n");
  start();
  EXPECT_EQ(context_->ComPort, 2);
  EXPECT_TRUE(context_->OrvComm.isOpen(2));
  EXPECT_EQ(flags(2)[4], 1) << "the baud lines still count for COM2";
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text, kContentError);
  EXPECT_EQ(ui_->messages[0].title, "Orvane");
  EXPECT_EQ(context_->ReplyTimeout, 100);
  EXPECT_EQ(context_->LongReplyTimeout, 400);
}

TEST_F(StartupTest, LoneUnknownBaudRateSearches9600AndResetsTheTimeOut) {
  startNetwork({simModule("7213", 1)}, 1);
  writeConfigFile("COM.CFG", "150\r\n1\r\nn,8,1\r\n300\r\n");
  start();
  EXPECT_EQ(context_->ComPort, 1) << "the port of line 2 stays in use";
  EXPECT_EQ(flags(1), (std::array<int, 8>{0, 0, 0, 1, 0, 0, 0, 0}));
  ASSERT_EQ(ui_->texts(), std::vector<QString>{kContentError});
  EXPECT_EQ(context_->ReplyTimeout, 100);
}

TEST_F(StartupTest, ShortTimeOutIsUsedUnchangedAtStartUp) {
  startNetwork({simModule("7213", 1)}, 1);
  writeConfigFile("COM.CFG", "50\r\n1\r\nn,8,1\r\n9600\r\n");
  start();
  EXPECT_EQ(context_->ReplyTimeout, 50);
  EXPECT_EQ(context_->LongReplyTimeout, 200);
  EXPECT_TRUE(ui_->messages.empty());
}

TEST_F(StartupTest, PortZeroTakesTheErrorPathToTheComPortDialog) {
  startNetwork({simModule("7213", 1)}, 1);
  writeConfigFile("COM.CFG", "100\r\n0\r\nn,8,1\r\n9600\r\n");
  start();
  ASSERT_EQ(ui_->messages.size(), 2u);
  EXPECT_TRUE(ui_->messages[0].text.startsWith("COM0: ")) << ui_->messages[0].text.toStdString();
  EXPECT_EQ(
      ui_->messages[1].text,
      "The COM Port Setting dialog box will appear for you to configure and open a COM port.");
  EXPECT_EQ(ui_->messages[1].title, "Open or configure COM port error");
  EXPECT_EQ(ui_->modalsOpened, std::vector<QString>{"ComPortForm"});
}

TEST_F(StartupTest, ExitAfterPortZeroStillWritesTheMap) {
  startNetwork({simModule("7213", 1)}, 1);
  const std::string original = "100\r\n0\r\nn,8,1\r\n9600\r\n";
  writeConfigFile("COM.CFG", original);
  start();
  ASSERT_EQ(context_->ComPort, 0);
  writeExitFiles(*context_, {"  1(01H)"});
  EXPECT_EQ(readConfigFile("COM.CFG"), original) << "COM0 has no settings to write";
  EXPECT_EQ(testing::readFile(context_->exitMapFile.string()).substr(0, 15), "COMPORT: COM0\r\n");
}

TEST_F(StartupTest, PortInUseNamesTheSerialLayersCause) {
  auto& network = startNetwork({simModule("7213", 1)}, 1);
  auto holder = serial::SerialPort::open(network.slavePath());
  start();
  ASSERT_EQ(ui_->messages.size(), 2u);
  const std::string text = ui_->messages[0].text.toStdString();
  EXPECT_EQ(text.rfind("COM1: " + network.slavePath(), 0), 0u) << text;
  EXPECT_NE(text.find("in use"), std::string::npos) << text;
  EXPECT_FALSE(context_->OrvComm.isOpen(1));
  EXPECT_EQ(ui_->modalsOpened, std::vector<QString>{"ComPortForm"});

  // Once the other program lets go, OK in the dialog opens the same port.
  holder.close();
  ComPortForm form(*context_);
  form.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  EXPECT_TRUE(context_->OrvComm.isOpen(1));
  EXPECT_EQ(ui_->messages.back().text, "COM Port configuration complete.");
}

TEST_F(StartupTest, UnreadableLinesAndOverflowingTimeOutTakeTheErrorPath) {
  startNetwork({simModule("7213", 1)}, 1);
  for (const char* content :
       {"100\r\n1\r\n", "abc\r\n1\r\nn,8,1\r\n9600\r\n", "9000\r\n1\r\nn,8,1\r\n9600\r\n"}) {
    ui_->messages.clear();
    ui_->modalsOpened.clear();
    context_->OrvComm.close(1);
    writeConfigFile("COM.CFG", content);
    start();
    ASSERT_EQ(ui_->messages.size(), 2u) << content;
    EXPECT_TRUE(ui_->messages[0].text.startsWith("COM1: ")) << content;
    EXPECT_EQ(ui_->modalsOpened.size(), 1u);
    EXPECT_EQ(context_->ReplyTimeout, 100) << content;
  }
}

// Both are read without blocking and up to 1 MB: the window comes up with
// the file's name and the cause instead of hanging or filling the memory.
TEST_F(StartupTest, ASettingsFileThatIsNoRegularFileTakesTheErrorPathAtOnce) {
  startNetwork({simModule("7213", 1)}, 1);
  const std::string portsConf = readConfigFile("ports.conf");
  enum class Kind { Fifo, Directory, TooLarge, Device };
  const struct {
    std::string file;
    Kind kind;
    std::string cause;
  } cases[] = {
      {"COM.CFG", Kind::Fifo, "is not a regular file (a FIFO)"},
      {"COM.CFG", Kind::Directory, "is not a regular file (a directory)"},
      {"COM.CFG", Kind::TooLarge, "larger than 1 MB"},
      {"ports.conf", Kind::Fifo, "is not a regular file (a FIFO)"},
      {"ports.conf", Kind::Device, "is not a regular file (a character device)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " " + c.cause);
    ui_->messages.clear();
    ui_->modalsOpened.clear();
    context_->OrvComm.close(1);
    writeConfigFile("COM.CFG", "100\r\n1\r\nn,8,1\r\n9600\r\n");
    writeConfigFile("ports.conf", portsConf);
    const fs::path path = context_->configDir / c.file;
    fs::remove(path);
    std::unique_ptr<testing::GuardedFifo> fifo;
    if (c.kind == Kind::Fifo) fifo = std::make_unique<testing::GuardedFifo>(path.string());
    if (c.kind == Kind::Directory) fs::create_directory(path);
    if (c.kind == Kind::TooLarge)
      writeConfigFile(c.file, std::string(serial::kFileSizeLimit + 1, '1'));
    if (c.kind == Kind::Device) fs::create_symlink("/dev/zero", path);
    start();
    ASSERT_EQ(ui_->messages.size(), 2u);
    EXPECT_EQ(ui_->messages[0].text.toStdString(), "COM1: " + path.string() + ": " + c.cause);
    EXPECT_EQ(ui_->modalsOpened, std::vector<QString>{"ComPortForm"});
    EXPECT_FALSE(context_->OrvComm.isOpen(1));
    fifo.reset();
    fs::remove_all(path);
  }
}

TEST_F(StartupTest, ExitWritesThroughLinksAndLeavesAReadOnlyMapAlone) {
  startNetwork({simModule("7213", 1)}, 1);
  start();
  const fs::path kept = context_->configDir / "kept";
  fs::create_directory(kept);
  writeConfigFile("kept/COM.CFG", "old");
  fs::remove(context_->configDir / "COM.CFG");
  fs::create_symlink("kept/COM.CFG", context_->configDir / "COM.CFG");
  writeConfigFile("admin.map", "the map the user keeps");
  fs::permissions(context_->exitMapFile, fs::perms::owner_read | fs::perms::group_read);
  writeExitFiles(*context_, {"  1(01H)"});
  EXPECT_TRUE(fs::is_symlink(context_->configDir / "COM.CFG"));
  EXPECT_EQ(readConfigFile("kept/COM.CFG"), "100\r\n1\r\nn,8,1\r\n9600\r\n");
  EXPECT_EQ(testing::readFile(context_->exitMapFile.string()), "the map the user keeps")
      << "read-only, also for root";
}

TEST_F(StartupTest, DecimalSeparatorComesFromTheLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(localeDecimalSeparator(), ',');
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(localeDecimalSeparator(), '.');
  QLocale::setDefault(saved);
}

class ComPortFormTest : public AdminFixture {
 protected:
  ComPortFormTest() {
    startNetwork({simModule("7213", 1)}, 1);
    runStartup(*context_, nullptr);
  }
  template <typename T>
  T* control(ComPortForm& form, const QString& name) {
    auto* found = form.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }
  QCheckBox* baudCheck(ComPortForm& form, int code) {
    return control<QCheckBox>(form, indexedName(QStringLiteral("BaudCheck"), code));
  }
  void clickOK(ComPortForm& form) { control<QPushButton>(form, QStringLiteral("OKBtn"))->click(); }
};

TEST_F(ComPortFormTest, ShowsTheSettingsOfTheOpenPort) {
  ComPortForm form(*context_);
  EXPECT_EQ(form.windowTitle(), "COM Port");
  EXPECT_TRUE(control<QRadioButton>(form, "ComOption(1)")->isChecked());
  EXPECT_TRUE(control<QRadioButton>(form, "ParityOption(0)")->isChecked());
  EXPECT_TRUE(baudCheck(form, 3)->isChecked());
  EXPECT_FALSE(baudCheck(form, 4)->isChecked());
  EXPECT_EQ(baudCheck(form, 6)->text(), "115200");
  EXPECT_EQ(control<QLineEdit>(form, "DataBits")->text(), "8");
  EXPECT_EQ(control<QComboBox>(form, "StopBits")->count(), 3);
  EXPECT_EQ(control<QLineEdit>(form, "Timeout")->text(), "100");
  EXPECT_TRUE(control<QPushButton>(form, "OKBtn")->isDefault());
}

TEST_F(ComPortFormTest, TimeOutBelowMinimumIsRaisedAndLongTimeOutIsFiveFold) {
  ComPortForm form(*context_);
  control<QLineEdit>(form, "Timeout")->setText("50");
  clickOK(form);
  EXPECT_EQ(ui_->texts(), (std::vector<QString>{"TimeOut Value must greater than or equal to 100.",
                                                "COM Port configuration complete."}));
  EXPECT_EQ(context_->ReplyTimeout, 100);
  EXPECT_EQ(context_->LongReplyTimeout, 500);
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(ComPortFormTest, AllBaudBoxesClearedSets9600AndLeavesNoBaudLineAtExit) {
  ComPortForm form(*context_);
  baudCheck(form, 3)->setChecked(false);
  control<QRadioButton>(form, "ParityOption(2)")->setChecked(true);
  control<QLineEdit>(form, "Timeout")->setText("120");
  clickOK(form);
  EXPECT_EQ(context_->PortBaudCode[0], 8) << "no code searched: the line runs at 9600";
  EXPECT_EQ(context_->portSetting(1).SearchFlags, (std::array<int, 8>{}));
  writeExitFiles(*context_, {});
  EXPECT_EQ(readConfigFile("COM.CFG"), "120\r\n1\r\ne,8,1\r\n");
  EXPECT_FALSE(context_->OrvComm.isOpen(1));
}

TEST_F(ComPortFormTest, DataBitsSpinStopsAtFourAndEight) {
  ComPortForm form(*context_);
  auto* dataBits = control<QLineEdit>(form, "DataBits");
  auto* up = control<QToolButton>(form, "DataBitSpinUp");
  auto* down = control<QToolButton>(form, "DataBitSpinDown");
  up->click();
  EXPECT_EQ(dataBits->text(), "8");
  for (int i = 0; i < 6; ++i) down->click();
  EXPECT_EQ(dataBits->text(), "4");
  up->click();
  EXPECT_EQ(dataBits->text(), "5");
  clickOK(form);
  EXPECT_EQ(context_->portSetting(1).DataBits, 5);
}

TEST_F(ComPortFormTest, EmptyOrOversizedNumbersAreRefusedAndTheDialogStays) {
  ComPortForm form(*context_);
  control<QLineEdit>(form, "Timeout")->setText("");
  clickOK(form);
  control<QLineEdit>(form, "Timeout")->setText("99999");
  clickOK(form);
  control<QLineEdit>(form, "Timeout")->setText("200");
  control<QLineEdit>(form, "DataBits")->setText("");
  clickOK(form);
  EXPECT_EQ(ui_->texts(),
            (std::vector<QString>{"Please input a number.", "Number can not exceed 6553.",
                                  "Please input a number."}));
  EXPECT_EQ(ui_->messages[0].title, "Error");
  EXPECT_EQ(context_->ReplyTimeout, 100);
  EXPECT_EQ(form.result(), 0) << "still open";
}

TEST_F(ComPortFormTest, ChangingThePortOpensTheNewOneAndClosesTheOld) {
  sim::Network second({simModule("7213", 1)});
  mapCom(2, second.slavePath());
  ComPortForm form(*context_);
  control<QRadioButton>(form, "ComOption(2)")->setChecked(true);
  clickOK(form);
  EXPECT_EQ(context_->ComPort, 2);
  EXPECT_TRUE(context_->OrvComm.isOpen(2));
  EXPECT_FALSE(context_->OrvComm.isOpen(1));
  EXPECT_EQ(context_->portSetting(2).SearchFlags[3], 1) << "the boxes shown go to the new port";
}

TEST_F(ComPortFormTest, FailureAfterThePortChangedKeepsThePortThatIsOpen) {
  if (lineThreaded()) GTEST_SKIP() << testing::kHooksInlineLine;
  sim::Network second({simModule("7213", 1)});
  mapCom(2, second.slavePath());
  // The line fails while the new port settles, after the old one was closed.
  ui_->onPause = [] { throw serial::SerialError("COM2: the line failed"); };
  ComPortForm form(*context_);
  control<QRadioButton>(form, "ComOption(2)")->setChecked(true);
  clickOK(form);
  ui_->onPause = nullptr;
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_EQ(ui_->messages[0].text, "COM2: the line failed");
  EXPECT_EQ(context_->ComPort, 2) << "going back to COM1 would leave no open port";
  EXPECT_TRUE(context_->OrvComm.isOpen(2));
  EXPECT_FALSE(context_->OrvComm.isOpen(1));
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_F(ComPortFormTest, PortThatCannotOpenKeepsTheOldOne) {
  mapCom(5, (dir_.path() + "/no-such-device").toStdString());
  ComPortForm form(*context_);
  control<QRadioButton>(form, "ComOption(5)")->setChecked(true);
  clickOK(form);
  ASSERT_EQ(ui_->messages.size(), 1u);
  EXPECT_NE(ui_->messages[0].text.indexOf("no-such-device"), -1);
  EXPECT_EQ(context_->ComPort, 1);
  EXPECT_TRUE(context_->OrvComm.isOpen(1));
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace orvane::admin
