// The live test window of the counter/frequency module 7586 in counter mode:
// each counter's count polled ten times a second, started, stopped and
// cleared by its buttons; each alarm's setting and limit; and each channel's
// output as a lamp the user switches by a click while its alarm does not
// drive it.
#pragma once

#include <array>

#include "admin/diag/diag_form.h"

class QGroupBox;

namespace orvane::admin {

class Lamp;

class CtrDiagForm : public DiagForm {
  Q_OBJECT

 public:
  CtrDiagForm(AdminContext& context, QWidget* parent = nullptr);

 private:
  // The controls of counter 0 or 1.
  struct Channel {
    QLabel* counter = nullptr;       // Counter(c)
    QLabel* alarmSetting = nullptr;  // AlarmSetting(c)
    QLabel* alarmValue = nullptr;    // AlarmValue(c)
    Lamp* output = nullptr;          // DO_status(c)
    QLabel* alarmSign = nullptr;     // AlarmSign(c)
  };
  QGroupBox* counterFrame(int c);
  QGroupBox* alarmFrame(int c);
  QGroupBox* outputFrame(int c);
  void buildControls();
  void load();
  LinkTask<void> tick() override;
  void runCommand(const std::string& body, const QString& what, int c);
  void onOutputClick(int c);

  std::array<Channel, 2> channels_;
  // Whether each alarm drives its output: the flags the search read, or the
  // module's own answer when the window opened. A click never switches an
  // output its alarm drives.
  std::array<bool, 2> alarmEnabled_{};
  int outState_ = 0;  // OutState: the output bits as last read from the module
};

}  // namespace orvane::admin
