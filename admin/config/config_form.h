// What the seven configuration dialogs share: the caption, the module name,
// the address field with its spin button, OK and Cancel, the baud-rate and
// checksum controls with their enabling rule, the exchanges with the entry's
// effective link parameters, ConfigResult and the completion box.
//
// Keyboard: the address field has the focus with its text selected when the
// dialog opens; Enter is OK; Escape and the window's close button are
// Cancel (ConfigResult 2, nothing sent).
#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <string_view>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane::admin {

class AdminContext;
class SpinButton;
struct ModuleEntry;

class ConfigForm : public QDialog {
  Q_OBJECT

 public:
  ConfigForm(AdminContext& context, const QString& name, QWidget* parent);

  void reject() override;

 protected:
  // Called by OK: the dialog's own sequence.
  virtual void applyChanges() = 0;

  ModuleEntry& entry() const;
  int entryIndex() const { return index_; }
  bool isInitializationEntry() const;
  AdminContext& context() const { return context_; }

  // The baud-rate list ("1200" .. "57600", position = BaudCode) and the
  // checksum list ("Disabled", "Enabled"), named BaudRate and ChecksumCombo.
  QComboBox* makeBaudRateList(QWidget* parent) const;
  QComboBox* makeChecksumList(QWidget* parent) const;
  // Addr with AddressSpin beside it, for the dialog's form.
  QHBoxLayout* makeAddressRow() const;
  // Baud rate and checksum can change only for the initialization entry;
  // for any other entry they show the entry's values and stay disabled.
  void applyLinkEnabling(std::initializer_list<QWidget*> controls) const;

  // The typed address, or nullopt after the refusal box (ConfigResult 2, the
  // field focused, the dialog stays open).
  std::optional<int> newAddress();
  // A typed decimal number within [low, high], or nullopt after the refusal
  // box ("Please input a number." or "Number can not exceed <high>."), the
  // field focused with its text selected.
  std::optional<double> typedValue(QLineEdit& field, double low, double high);
  // The value the user sees as text again, with the decimal separator.
  QString shown(double value) const;
  QString shown(float value) const;

  // lead + effective address + body, exchanged with the entry's effective
  // link parameters and the long reply time-out; true on a "!" reply.
  bool send(char lead, std::string_view body);
  // The standard configuration command; true when "!" and the new address
  // came back.
  bool sendConfiguration(int newAddress, int typeCode, int baudCode, int formatByte);
  // What the standard configuration command carries: the new address, the
  // TypeCode, the baud rate, the checksum and the family's bits of the
  // format byte.
  struct StandardSettings {
    int address;
    int typeCode;
    int baudCode;
    int checksum;
    int familyBits;
  };
  // The standard configuration step of OK: sent only when the address, the
  // baud rate or the checksum differ from the entry, or familyChanged (the
  // dialog's own fields of the command). When the module confirms, the entry
  // takes the address, baud rate and checksum, the change is marked and true
  // comes back; the dialog stores its own fields. A failure shows `failure`.
  bool applyStandardSettings(const StandardSettings& wanted, bool familyChanged,
                             const QString& failure);
  // An error box (title "Error", OK only).
  void showError(const QString& text);
  // Marks a change the module confirmed.
  void changed();
  // "Change configuration complete.", for the dialogs that say so as soon as
  // the module confirmed the configuration command.
  void showCompletion();
  // The end of OK: "Change configuration complete." when something
  // changed, then the dialog closes.
  void finish();

  QLabel* moduleName_;
  QLineEdit* addr_;
  SpinButton* addressSpin_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void onOKBtnClicked();
  void onAddressSpinUp();
  void onAddressSpinDown();

 private:
  void refuse(QLineEdit& field, const QString& text);

  AdminContext& context_;
  int index_;
};

// The list's selection, or the entry's own value when the list shows none
// (the entry holds a code the list does not offer).
int chosen(const QComboBox& list, int entryValue);
// Selects the position, or nothing when the value is outside the list.
void select(QComboBox& list, int position);

// The ranges of the model (TypeCodes 0x00 up to lastCode that are valid for
// it) by display name. Each item keeps its own TypeCode, so names that stand
// twice in a list stay apart.
void fillRangeList(QComboBox& list, std::string_view model, int lastCode);
// The data formats valid for the model by name, each item keeping its format.
void fillFormatList(QComboBox& list, std::string_view model);
// Selects the item holding the TypeCode; for a code the list does not hold,
// the first item of the same name; otherwise nothing.
void selectRange(QComboBox& list, int typeCode);
// Selects the item holding the value, or nothing.
void selectData(QComboBox& list, int value);
// The value the selected item holds, or the entry's own when nothing is
// selected.
int chosenData(const QComboBox& list, int entryValue);

}  // namespace orvane::admin
