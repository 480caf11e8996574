// The COM Port dialog: the port to use, its parity, data and stop bits, the
// baud rates the search tries and the reply time-out. Nothing is written to
// COM.CFG here; exit writes it.
#pragma once

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace orvane::admin {

class AdminContext;

class ComPortForm : public QDialog {
  Q_OBJECT

 public:
  ComPortForm(AdminContext& context, QWidget* parent = nullptr);

 private slots:
  void onOKBtnClicked();
  void onDataBitSpinUp();
  void onDataBitSpinDown();

 private:
  void buildControls();
  void load();
  int checkedComOption() const;
  // Checks the two number fields; a refusal has been shown when false.
  bool numbersValid();
  void applyPortChoice();

  AdminContext& context_;
  std::array<QRadioButton*, 8> comOption_{};
  std::array<QRadioButton*, 3> parityOption_{};
  std::array<QCheckBox*, 8> baudCheck_{};
  QLineEdit* dataBits_ = nullptr;
  QComboBox* stopBits_ = nullptr;
  QLineEdit* timeout_ = nullptr;
};

}  // namespace orvane::admin
