#include "tests/admin/core/admin_fixture.h"

#include <cstdlib>
#include <fstream>
#include <thread>

#include "admin/core/module_entry.h"

namespace orvane::admin::testing {

AdminFixture::AdminFixture() {
  auto ui = std::make_unique<TestUi>();
  ui_ = ui.get();
  context_ = std::make_unique<AdminContext>(dir_.path().toStdString(), std::move(ui));
  // The simulator reads the line's rate at every frame: no settling needed.
  context_->baudSettlePause = std::chrono::milliseconds(0);
  // A pulled adapter is looked for at every exchange, not once a second.
  context_->reopenInterval = std::chrono::milliseconds(0);
  context_->exitMapFile = dir_.filePath(QStringLiteral("admin.map")).toStdString();
  if (std::getenv("ORVANE_TEST_LINE_THREAD")) context_->line().startThread();
}

sim::Network& AdminFixture::startNetwork(std::vector<sim::ModuleState> modules, int com) {
  network_ = std::make_unique<sim::Network>(std::move(modules));
  mapCom(com, network_->slavePath());
  return *network_;
}

sim::Network& AdminFixture::startNetworkOnLink(std::vector<sim::ModuleState> modules, int com) {
  sim::NetworkOptions options;
  options.linkPath = (context_->configDir / ("line-COM" + std::to_string(com))).string();
  network_ = std::make_unique<sim::Network>(std::move(modules), options);
  mapCom(com, options.linkPath);
  return *network_;
}

bool AdminFixture::startNetworkBehindSer2net(std::vector<sim::ModuleState> modules, bool raw,
                                             int com) {
  if (test::Ser2net::program().empty()) return false;
  sim::NetworkOptions options;
  options.linkPath = (context_->configDir / ("line-COM" + std::to_string(com))).string();
  network_ = std::make_unique<sim::Network>(std::move(modules), options);
  ser2net_ = std::make_unique<test::Ser2net>(options.linkPath, context_->configDir);
  ser2net_->start();
  mapCom(com, raw ? ser2net_->socketUrl() : ser2net_->rfc2217Url());
  return true;
}

void AdminFixture::mapCom(int com, const std::string& device) {
  portsConf_[com] = device;
  std::string text;
  for (const auto& [number, path] : portsConf_)
    text += "COM" + std::to_string(number) + "=" + path + "\n";
  writeConfigFile("ports.conf", text);
}

std::string AdminFixture::disconnectedText(int com, const std::string& cause) const {
  const std::string& device = portsConf_.at(com);
  const bool network = device.find("://") != std::string::npos;
  return "COM" + std::to_string(com) + ": " + device + " is disconnected" +
         (cause.empty() ? "" : " (" + cause + ")") +
         (network ? "; check the device server and the network" : "; plug the adapter back in") +
         " or choose another port (Network > COM Port...)";
}

void AdminFixture::openPort(int com) {
  context_->ComPort = com;
  context_->OrvComm.open(com);
}

void AdminFixture::writeConfigFile(const std::string& name, const std::string& content) {
  std::ofstream file(context_->configDir / name, std::ios::binary | std::ios::trunc);
  file << content;
}

std::string AdminFixture::readConfigFile(const std::string& name) const {
  return readFile((context_->configDir / name).string());
}

ModuleEntry& AdminFixture::start(std::vector<sim::ModuleState> modules) {
  const int address = modules.front().address;
  return start(std::move(modules), address);
}

ModuleEntry& AdminFixture::start(std::vector<sim::ModuleState> modules, int address) {
  sim::ModuleState module;
  for (const auto& m : modules)
    if (m.address == address) module = m;
  startNetwork(std::move(modules));
  openPort();
  ModuleEntry& entry = setEntry(0, module.model, address, module.baudCode, module.checksum ? 1 : 0);
  entry.TypeCode = module.typeCode;
  entry.DataFormat = module.format;
  context_->ModuleCount = 1;
  context_->SelectedIndex = 0;
  return entry;
}

ModuleEntry& AdminFixture::setEntry(int index, const std::string& model, int address, int baudCode,
                                    int checksumFlag) {
  auto& entry = context_->ModuleList.at(static_cast<std::size_t>(index));
  entry = ModuleEntry{};
  entry.ModelName = modelNameField(model);
  entry.Address = address;
  entry.BaudCode = baudCode;
  entry.ChecksumFlag = checksumFlag;
  return entry;
}

std::vector<sim::FrameRecord> AdminFixture::settledFrames() const {
  // The simulator logs a frame on its own thread, possibly just after the
  // reply went out: wait until the log stops growing.
  std::size_t count = network_->frames().size();
  for (int quiet = 0; quiet < 3;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::size_t now = network_->frames().size();
    quiet = now == count ? quiet + 1 : 0;
    count = now;
  }
  return network_->frames();
}

std::vector<std::string> AdminFixture::framesSent() const {
  std::vector<std::string> sent;
  for (const auto& frame : settledFrames()) {
    std::string raw = frame.raw;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    sent.push_back(raw);
  }
  return sent;
}

}  // namespace orvane::admin::testing
