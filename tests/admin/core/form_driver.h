// Drives the main window in tests: finds controls by name and answers the
// search dialog.
#pragma once

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "admin/core/orvane_form.h"
#include "tests/admin/core/test_ui.h"

namespace orvane::admin::testing {

// Answers SearchForm: types the upper address and presses OK, as often as
// the dialog stays open after a refusal, using the addresses in order.
inline void answerSearch(TestUi& ui, std::vector<QString> addresses) {
  ui.modalHandlers[QStringLiteral("SearchForm")] = [addresses](QDialog& dialog) {
    for (const QString& address : addresses) {
      dialog.findChild<QLineEdit*>(QStringLiteral("HiAddress"))->setText(address);
      dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
      if (dialog.result() == QDialog::Accepted) return int(QDialog::Accepted);
    }
    dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn"))->click();
    return dialog.result();
  };
}

inline void clickButton(OrvaneForm& form, const char* name) {
  form.findChild<QToolButton*>(QString::fromLatin1(name))->click();
}

inline void triggerMenu(OrvaneForm& form, const char* name) {
  form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
}

// Presses Stop of the running ScanForm.
inline void pressStop() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == QStringLiteral("ScanForm") && window->isVisible())
      window->findChild<QPushButton*>(QStringLiteral("StopBtn"))->click();
}

}  // namespace orvane::admin::testing
