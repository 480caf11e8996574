#include "admin/core/startup.h"

#include <QLocale>

#include "admin/core/admin_context.h"
#include "admin/core/com_config.h"
#include "admin/core/com_port_form.h"
#include "admin/core/map_file.h"
#include "protocol/catalogue.h"
#include "serial/file_write.h"

namespace orvane::admin {

namespace {

constexpr int kDefaultTimeout = 100;
constexpr int kSearchedByDefault = 3;  // 9600 bps

void resetPortSetting(PortSetting& setting) {
  setting.Parity = 0;
  setting.DataBits = 8;
  setting.StopBits = 0;
}

bool isModuleBaudRate(int rate) {
  for (const char* text : protocol::baudRateTexts())
    if (std::to_string(rate) == text) return true;
  return false;
}

// False when the content had to be mended (a port outside 1..4, no baud
// rate to search); throws for failures that need the COM Port dialog.
bool startFromComCfg(AdminContext& context, const ComCfgContent& content) {
  bool ok = true;
  if (content.port < 0 || content.port > 4) {
    context.ComPort = 2;
    ok = false;
  } else {
    context.ComPort = content.port;
  }
  PortSetting& setting = context.portSetting(context.ComPort);
  resetPortSetting(setting);
  bool any = false;
  for (int rate : content.baudRates) {
    if (!isModuleBaudRate(rate)) continue;
    setting.SearchFlags[static_cast<std::size_t>(protocol::baudCodeOf(rate))] = 1;
    any = true;
  }
  if (!any) {
    setting.SearchFlags[kSearchedByDefault] = 1;
    ok = false;
  }
  context.OrvComm.open(context.ComPort);
  const long longTimeout = 4L * content.timeout;
  if (longTimeout > 32767 || longTimeout < -32768)
    throw ComCfgError("the time-out " + std::to_string(content.timeout) + " is too large");
  context.ReplyTimeout = content.timeout;
  context.LongReplyTimeout = static_cast<int>(longTimeout);
  return ok;
}

void startWithoutComCfg(AdminContext& context) {
  context.ComPort = 1;
  PortSetting& setting = context.portSetting(1);
  setting.SearchFlags[kSearchedByDefault] = 1;
  resetPortSetting(setting);
  context.OrvComm.open(1);
  context.ReplyTimeout = kDefaultTimeout;
  context.LongReplyTimeout = 4 * kDefaultTimeout;
}

}  // namespace

char localeDecimalSeparator() {
  const QString text = QLocale().toString(1.2, 'f', 1);
  return text.size() > 1 ? text.at(1).toLatin1() : '.';
}

void runStartup(AdminContext& context, QWidget* parent) {
  context.initializeTables();
  context.DecimalSeparator = localeDecimalSeparator();
  try {
    const auto content = readComCfg(comCfgPath(context));
    if (!content) {
      startWithoutComCfg(context);
      return;
    }
    if (!startFromComCfg(context, *content)) {
      context.ui().message(
          parent, QStringLiteral(
                      "COM config file content error. Use default setting: COM2, baud rate 9600"));
      context.ReplyTimeout = kDefaultTimeout;
      context.LongReplyTimeout = 4 * kDefaultTimeout;
    }
  } catch (const std::exception& failure) {
    context.ui().message(parent, QStringLiteral("COM%1: %2")
                                     .arg(context.ComPort)
                                     .arg(QString::fromLocal8Bit(failure.what())));
    context.ui().message(parent,
                         QStringLiteral("The COM Port Setting dialog box will appear for you to "
                                        "configure and open a COM port."),
                         QStringLiteral("Open or configure COM port error"));
    ComPortForm form(context, parent);
    context.ui().execModal(form);
  }
}

void writeExitFiles(AdminContext& context, const std::vector<std::string>& rows) {
  // A file that cannot be written must not keep the user from leaving, nor
  // keep the other file from being written.
  const auto ignoringFailure = [](const auto& step) {
    try {
      step();
    } catch (const std::exception&) {
    }
  };
  context.OrvComm.close(context.ComPort);
  ignoringFailure(
      [&context] { serial::writeFileAtomically(comCfgPath(context), comCfgText(context)); });
  ignoringFailure([&context, &rows] { writeMapFile(context.exitMapFile, context.ComPort, rows); });
}

}  // namespace orvane::admin
