// A TerminalForm of a test's own orvadmin, on a simulated network at COM1.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "admin/terminal/terminal_form.h"
#include "tests/admin/core/admin_fixture.h"
#include "tests/admin/core/sim_modules.h"

namespace orvane::admin::testing {

class TerminalFixture : public AdminFixture {
 protected:
  TerminalFixture();

  // Starts the network, opens COM1 on it and opens the terminal.
  void start(std::vector<sim::ModuleState> modules);
  // Opens a new terminal window (its load runs again).
  void openTerminal();

  // Types the command into CmdText and presses Enter.
  void type(const std::string& command);
  QPushButton& button(const char* name) const;
  QCheckBox& checkBox(const char* name) const;
  QLineEdit& lineEdit(const char* name) const;
  void click(const char* name) const { button(name).click(); }

  // The display's lines and the row of the entry line.
  std::vector<std::string> shownLines() const;
  int entryRow() const;

  // A file in the test's directory, written with the content.
  std::string writeFile(const std::string& name, const std::string& content) const;
  std::string path(const std::string& name) const;
  // Chooses the batch file through BatchDialogBtn.
  void chooseBatchFile(const std::string& filePath);
  // The frames the network received since the last call, waiting up to a
  // second for at least `expected` of them.
  std::vector<sim::FrameRecord> newFrames(std::size_t expected = 0);

  std::unique_ptr<TerminalForm> form_;
  std::size_t framesSeen_ = 0;
};

// The frame as it goes out: command, checksum digits when on, CR.
std::string frame(const std::string& command, bool withChecksum);

}  // namespace orvane::admin::testing
