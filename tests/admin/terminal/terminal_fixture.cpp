#include "tests/admin/terminal/terminal_fixture.h"

#include <QTest>
#include <fstream>

#include "admin/terminal/terminal_display.h"
#include "protocol/frame.h"

namespace orvane::admin::testing {

TerminalFixture::TerminalFixture() {
  // A short settle pause after each baud change, and a reply time-out that
  // keeps unanswered commands cheap.
  context_->baudSettlePause = std::chrono::milliseconds(10);
  context_->LongReplyTimeout = 150;
}

void TerminalFixture::start(std::vector<sim::ModuleState> modules) {
  startNetwork(std::move(modules), 1);
  openPort(1);
  openTerminal();
}

void TerminalFixture::openTerminal() {
  form_.reset();
  form_ = std::make_unique<TerminalForm>(*context_);
  form_->show();
}

void TerminalFixture::type(const std::string& command) {
  QLineEdit& entry = lineEdit("CmdText");
  entry.setFocus();
  QTest::keyClicks(&entry, QString::fromStdString(command));
  QTest::keyClick(&entry, Qt::Key_Return);
}

QPushButton& TerminalFixture::button(const char* name) const {
  auto* found = form_->findChild<QPushButton*>(QString::fromLatin1(name));
  if (!found) throw std::runtime_error(std::string("no button ") + name);
  return *found;
}

QCheckBox& TerminalFixture::checkBox(const char* name) const {
  auto* found = form_->findChild<QCheckBox*>(QString::fromLatin1(name));
  if (!found) throw std::runtime_error(std::string("no check box ") + name);
  return *found;
}

QLineEdit& TerminalFixture::lineEdit(const char* name) const {
  auto* found = form_->findChild<QLineEdit*>(QString::fromLatin1(name));
  if (!found) throw std::runtime_error(std::string("no text box ") + name);
  return *found;
}

std::vector<std::string> TerminalFixture::shownLines() const {
  return form_->findChild<TerminalDisplay*>(QStringLiteral("Terminal"))->lines();
}

int TerminalFixture::entryRow() const {
  return form_->findChild<TerminalDisplay*>(QStringLiteral("Terminal"))->entryRow();
}

std::string TerminalFixture::path(const std::string& name) const {
  return dir_.filePath(QString::fromStdString(name)).toStdString();
}

std::string TerminalFixture::writeFile(const std::string& name, const std::string& content) const {
  std::ofstream file(path(name), std::ios::binary | std::ios::trunc);
  file << content;
  return path(name);
}

void TerminalFixture::chooseBatchFile(const std::string& filePath) {
  ui_->fileAnswers.push_back(QString::fromStdString(filePath));
  click("BatchDialogBtn");
}

std::vector<sim::FrameRecord> TerminalFixture::newFrames(std::size_t expected) {
  network_->waitForFrames(framesSeen_ + expected, std::chrono::seconds(1));
  auto all = network_->frames();
  std::vector<sim::FrameRecord> fresh(all.begin() + static_cast<std::ptrdiff_t>(framesSeen_),
                                      all.end());
  framesSeen_ = all.size();
  return fresh;
}

std::string frame(const std::string& command, bool withChecksum) {
  return protocol::completeCommand(command, withChecksum);
}

}  // namespace orvane::admin::testing
