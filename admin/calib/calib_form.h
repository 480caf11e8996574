// What both calibration windows share: the module's name and address, the
// step number and its guide text, the buttons "< Back", "Next >" and "Exit",
// the exchanges with the entry's effective link parameters, the check of
// every stored point, and a line that shows a failure of the serial line
// itself.
//
// Keyboard: Enter is NextBtn, the default button; Escape and the window's
// close button are Exit.
#pragma once

#include <QDialog>
#include <string>
#include <string_view>

class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;

namespace orvane::admin {

class AdminContext;
struct ModuleEntry;

inline const QString kCalibrationTitle = QStringLiteral("Calibration");

class CalibForm : public QDialog {
  Q_OBJECT

 protected:
  // stepLabelName names the label "Step" (the two windows number their
  // labels differently).
  CalibForm(AdminContext& context, const QString& name, const QString& caption,
            const QString& stepLabelName, QWidget* parent);

  ModuleEntry& entry() const;
  int entryIndex() const { return index_; }
  AdminContext& context() const { return context_; }

  // lead + effective address + body with the entry's effective link
  // parameters, delay 0; returns LastExchangeOK.
  bool exchange(char lead, std::string_view body, int timeoutMs);
  // The same, written without waiting for the reply.
  void writeOnly(char lead, std::string_view body);
  const std::string& reply() const;
  // "$AA" + body, a command that stores a calibration point ("$AA0", "$AA1",
  // "$AA9+0055"), with the reply time-out: true when the module confirmed it
  // with "!AA".
  bool store(std::string_view body);
  // Tells the user that the module did not confirm the point ("the 4 mA
  // point"), so that nobody takes it as stored.
  void tellNotConfirmed(const QString& point);

  // A button's action begins: the line shows no failure until one of its
  // exchanges fails on the serial line itself, and then the first one.
  void beginAction();
  void showStepNumber(int step, const QString& guide);
  // Grows the window when the step now shown needs more room than it has.
  void fitToContents();

  // The rows "Module:" and "Address:" with the labels Label1 and Label2,
  // and further rows added by the window.
  QGridLayout* identityRows();
  // The identity rows, Frame1 with the step and its guide text above the
  // window's own controls, the link line, Line1 and the three buttons.
  void buildLayout(QGridLayout* identity, QWidget* stepControls);
  QPushButton* button(const QString& name, const QString& caption);

  QLabel* moduleName_;
  QLabel* addr_;
  QLabel* stepLabel_;
  QLabel* stepNo_;
  QLabel* guideText_;
  QLabel* linkStatus_;  // the serial layer's text while the line itself fails
  QPushButton* backButton_;
  QPushButton* nextButton_;
  QPushButton* exitButton_;

 private:
  void showLinkFailure();

  AdminContext& context_;
  int index_;
};

}  // namespace orvane::admin
