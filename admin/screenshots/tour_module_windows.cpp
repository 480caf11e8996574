// The configuration, diagnostic and calibration windows of the tour.
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "admin/core/orvane_form.h"
#include "admin/screenshots/album.h"
#include "admin/screenshots/tour.h"

namespace orvane::admin::screenshots {

namespace {

using std::chrono::milliseconds;

// Ten polls a second: the readings and the trend have moved by then.
constexpr milliseconds kAnalogPolling{1200};
constexpr milliseconds kDigitalPolling{600};
const QSize kAnalogDiagSize(760, 400);
// Tall enough for the longest guide text: the windows keep the height of
// step 1 and would cut the longer texts of later steps off.
const QSize kCalibrationSize(480, 280);

// Presses Space on an output lamp, as a user toggling it from the keyboard.
void toggleLamp(QDialog& window, const QString& name) {
  auto* lamp = window.findChild<QWidget*>(name);
  if (!lamp) return;
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  QApplication::sendEvent(lamp, &press);
}

QString labelText(const QDialog& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QString();
}

}  // namespace

// The 7234 thermocouple module: eight channels, one of them open, and a
// cold-junction sensor to calibrate.
void Tour::analogInputWindows() {
  if (!select("7234")) return;
  open(
      QStringLiteral("AdConfigForm"),
      [this](QDialog& dialog) { return takeAndClose(dialog, QStringLiteral("ad-config.png")); },
      [this] { clickButton(form_, "ConfigBtn"); });
  open(
      QStringLiteral("AdDiagForm"),
      [this](QDialog& dialog) {
        dialog.resize(kAnalogDiagSize);
        dialog.show();
        serveFor(kAnalogPolling);
        if (labelText(dialog, "Reading(0)").isEmpty())
          album_.fail(QStringLiteral("ad-diag.png: AdDiagForm shows no reading"));
        return takeAndClose(dialog, QStringLiteral("ad-diag.png"), kAnalogDiagSize);
      },
      [this] { clickButton(form_, "DiagBtn"); });
  open(
      QStringLiteral("AdCalibForm"),
      [this](QDialog& dialog) {
        dialog.resize(kCalibrationSize);
        dialog.show();
        if (!clickButton(dialog, "NextBtn"))
          album_.fail(QStringLiteral("ad-calib.png: AdCalibForm has no Next button"));
        album_.take(dialog, QStringLiteral("ad-calib.png"), kCalibrationSize);
        if (!clickButton(dialog, "CJCBtn"))
          album_.fail(QStringLiteral("ad-calib-cjc.png: AdCalibForm offers no CJC"));
        if (auto* target = dialog.findChild<QLineEdit*>(QStringLiteral("CJCInput")))
          target->setText(QStringLiteral("24"));
        if (labelText(dialog, "Temperature").isEmpty())
          album_.fail(QStringLiteral("ad-calib-cjc.png: no cold-junction temperature"));
        return takeAndClose(dialog, QStringLiteral("ad-calib-cjc.png"), kCalibrationSize);
      },
      [this] { clickButton(form_, "CalibBtn"); });
}

// The 7451: seven inputs that change by themselves and eight outputs, two of
// them switched on.
void Tour::digitalWindow() {
  if (!select("7451")) return;
  open(
      QStringLiteral("DioDiagForm"),
      [this](QDialog& dialog) {
        dialog.show();
        toggleLamp(dialog, QStringLiteral("OutputBit(0)"));
        toggleLamp(dialog, QStringLiteral("OutputBit(3)"));
        serveFor(kDigitalPolling);
        return takeAndClose(dialog, QStringLiteral("dio-diag.png"));
      },
      [this] { clickButton(form_, "DiagBtn"); });
}

// The 7342 at step 4: it drives 4 mA, and Trim Up and Trim Down correct it.
void Tour::analogOutputCalibration() {
  if (!select("7342")) return;
  open(
      QStringLiteral("DaCalibForm"),
      [this](QDialog& dialog) {
        dialog.resize(kCalibrationSize);
        dialog.show();
        for (int step = 1; step < 4; ++step)
          if (!clickButton(dialog, "NextBtn"))
            album_.fail(QStringLiteral("da-calib.png: DaCalibForm stopped at step %1").arg(step));
        return takeAndClose(dialog, QStringLiteral("da-calib.png"), kCalibrationSize);
      },
      [this] { clickButton(form_, "CalibBtn"); });
}

}  // namespace orvane::admin::screenshots
