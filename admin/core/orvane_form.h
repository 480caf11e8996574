// The main window: the list of modules found on the network, the five
// picture buttons with their prompts, the menus, and the commands that open
// every other window. It runs the start-up when it loads and the search on
// its first activation.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QToolButton;

namespace orvane::admin {

class AdminContext;
class LineMonitorForm;
struct Dispatch;

class OrvaneForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit OrvaneForm(AdminContext& context);
  // Closes the Line Monitor with it.
  ~OrvaneForm() override;

  // The load event: start-up with COM.CFG and the port. Runs once, before
  // the window is first shown.
  void load();

  // The rows of Device as shown.
  std::vector<std::string> rows() const;
  // 0 none, 1 Search, 2 Terminal, 3 Configuration, 4 Diagnostic, 5 Calibration.
  int shownPrompt() const { return shownPrompt_; }

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void onFormActivate();
  void onSearchBtnClicked();
  void onTerminalBtnClicked();
  void onConfigBtnClicked();
  void onDiagBtnClicked();
  void onCalibBtnClicked();
  void onMnuComPortClick();
  void onMnuLineMonitorClick();
  void onMnuMonitorClick();
  void onMnuAboutClick();
  void onMnuSaveClick();
  void onMnuPrintClick();
  void onMnuExitClick();
  void onDeviceCurrentRowChanged(int row);

 private:
  void buildControls();
  void buildMenus();
  QToolButton* addPictureButton(const QString& name, int picture, const QString& prompt);
  void showPrompt(int prompt);

  void appendRow(int entryIndex);
  void replaceRow(int entryIndex);
  void selectRow(int row);
  void runDispatch(const Dispatch& dispatch, bool rebuildOnChange);
  // Opens the window by name when one is registered; false when none is.
  bool openWindow(const QString& windowName);
  void sendSearchEndBroadcast();

  AdminContext& context_;
  QListWidget* device_ = nullptr;
  std::array<QToolButton*, 5> buttons_{};
  std::array<QLabel*, 5> prompts_{};
  int shownPrompt_ = 0;
  bool firstActivation_ = true;
  bool exiting_ = false;
  // Open while the user keeps it open; it deletes itself when closed.
  QPointer<LineMonitorForm> lineMonitor_;
};

}  // namespace orvane::admin
