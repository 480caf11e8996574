// The calibration window of the analog output modules: the module is
// switched to 0 to 20 mA when the window opens, driven to 4 mA (step 4) and
// 20 mA (step 5) where the user trims it against a meter, each point is
// stored with Next, and the configuration it had when the window opened is
// restored once however the window is left (Done, Exit, Escape, the
// window's close button). A restore the module does not confirm keeps the
// window open until the user retries or closes it.
#pragma once

#include <string>

#include "admin/calib/calib_form.h"

namespace orvane::admin {

class DaCalibForm : public CalibForm {
  Q_OBJECT

 public:
  DaCalibForm(AdminContext& context, QWidget* parent = nullptr);

  void done(int result) override;

 private slots:
  void onTrimUpBtnClicked();
  void onTrimDownBtnClicked();
  void onBackBtnClicked();
  void onNextBtnClicked();

 private:
  void buildControls();
  void load();
  void showStep();
  void restore();
  // Sends the restore: true when the module holds its saved configuration
  // again, or never left it.
  bool moduleRestored();

  int step_ = 1;
  std::string saved_;              // TTCCFF read at load; empty when that read failed
  bool switched_ = false;          // the module confirmed the 0 to 20 mA range
  bool switchUnanswered_ = false;  // no complete reply: it may have switched
  bool left_ = false;
  QPushButton* trimUpButton_;
  QPushButton* trimDownButton_;
};

}  // namespace orvane::admin
