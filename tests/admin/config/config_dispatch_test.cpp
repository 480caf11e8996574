// The configuration dialogs opened from the main window: the row of a
// changed module follows the module.
#include <QListWidget>

#include "admin/config/config_windows.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/form_driver.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin {
namespace {

using namespace testing;

class ConfigDispatchTest : public AdminFixture {
 protected:
  ConfigDispatchTest() : form_(*context_) { registerConfigWindows(context_->windows); }

  // Finds the modules, then configures the first with the handler.
  void configure(std::vector<sim::ModuleState> modules, const QString& window,
                 std::function<void(QDialog&)> work) {
    startNetwork(std::move(modules), 1);
    writeConfigFile("COM.CFG", "60\r\n1\r\nn,8,1\r\n9600\r\n");
    form_.load();
    answerSearch(*ui_, {"20"});
    clickButton(form_, "SearchBtn");
    ui_->modalHandlers[window] = [work](QDialog& dialog) {
      work(dialog);
      return dialog.result();
    };
    clickButton(form_, "ConfigBtn");
  }
  QString row(int i) {
    return form_.findChild<QListWidget*>(QStringLiteral("Device"))->item(i)->text();
  }

  OrvaneForm form_;
};

TEST_F(ConfigDispatchTest, NewAddressMovesTheModuleAndItsRowFollows) {
  configure({simModule("7231", 3)}, QStringLiteral("AdConfigForm"), [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("12"));
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  });
  EXPECT_EQ(ui_->modalsOpened.back(), "AdConfigForm");
  EXPECT_EQ(context_->ModuleList[0].Address, 12);
  EXPECT_TRUE(row(0).startsWith("  12(0CH)   7231")) << row(0).toStdString();
  EXPECT_EQ(network_->addresses(), std::vector<int>{12});
}

TEST_F(ConfigDispatchTest, CancelLeavesTheRow) {
  configure({simModule("7231", 3)}, QStringLiteral("AdConfigForm"), [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("12"));
    dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
  });
  EXPECT_EQ(context_->ConfigResult, 2);
  EXPECT_TRUE(row(0).startsWith("   3(03H)   7231")) << row(0).toStdString();
}

TEST_F(ConfigDispatchTest, AnalogOutputAndDigitalModulesOpenTheirDialogs) {
  const auto moveTo12 = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("12"));
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  };
  configure({simModule("7342", 3)}, QStringLiteral("DaConfigForm"), moveTo12);
  EXPECT_EQ(ui_->modalsOpened.back(), "DaConfigForm");
  EXPECT_TRUE(row(0).startsWith("  12(0CH)   7342")) << row(0).toStdString();
  EXPECT_EQ(network_->addresses(), std::vector<int>{12});
}

TEST_F(ConfigDispatchTest, DigitalModuleOpensItsDialogAndItsRowFollows) {
  configure({simModule("7451", 3)}, QStringLiteral("DioConfigForm"), [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("12"));
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  });
  EXPECT_EQ(ui_->modalsOpened.back(), "DioConfigForm");
  EXPECT_TRUE(row(0).startsWith("  12(0CH)   7451")) << row(0).toStdString();
  EXPECT_EQ(network_->addresses(), std::vector<int>{12});
}

TEST_F(ConfigDispatchTest, The7469OpensItsOwnDialogAndItsRowFollows) {
  auto m = simModule("7469", 3);
  m.portDirections = 0x06;
  configure({m}, QStringLiteral("N69ConfigForm"), [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("12"));
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  });
  EXPECT_EQ(ui_->modalsOpened.back(), "N69ConfigForm");
  EXPECT_TRUE(row(0).startsWith("  12(0CH)   7469")) << row(0).toStdString();
  EXPECT_EQ(network_->state(12).portDirections, 0x06) << "the directions read are sent back";
}

TEST_F(ConfigDispatchTest, ConverterKeepsEverySettingTheSearchReadWhenItMoves) {
  auto m = simModule("7912", 3);
  m.statusWord = 0x811E;  // non-addressable, RS-422, CR, even parity, 7 data bits, 2 stop bits
  m.rs232BaudCode = 4;
  configure({m}, QStringLiteral("N7912ConfigForm"), [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>(QStringLiteral("Addr"))->setText(QStringLiteral("12"));
    dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
  });
  EXPECT_EQ(ui_->modalsOpened.back(), "N7912ConfigForm");
  EXPECT_TRUE(row(0).startsWith("  12(0CH)   7912")) << row(0).toStdString();
  EXPECT_TRUE(row(0).contains("e,7,2")) << row(0).toStdString();
  EXPECT_EQ(network_->state(12).statusWord, 0x811E);
  EXPECT_EQ(network_->state(12).rs232BaudCode, 4);
}

}  // namespace
}  // namespace orvane::admin
