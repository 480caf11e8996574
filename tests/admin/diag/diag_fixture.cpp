#include "tests/admin/diag/diag_fixture.h"

#include <QRegularExpression>
#include <QTimer>

namespace orvane::admin::testing {

DiagFixture::DiagFixture() {
  context_->ReplyTimeout = 150;
  context_->LongReplyTimeout = 150;
}

void DiagFixture::stopTimer() { control<QTimer>(QStringLiteral("Timer1")).stop(); }

std::vector<std::string> DiagFixture::tick() {
  network_->clearFrames();
  window_->pollOnce();
  return sent();
}

QString colourOf(const QLabel& label) {
  const auto match = QRegularExpression(QStringLiteral("rgb\\([^)]*\\)")).match(label.styleSheet());
  return match.hasMatch() ? match.captured(0) : QString();
}

}  // namespace orvane::admin::testing
