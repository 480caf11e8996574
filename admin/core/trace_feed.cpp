#include "admin/core/trace_feed.h"

namespace orvane::admin {

TraceFeed::TraceFeed(Deliver deliver, QObject* parent)
    : QObject(parent), deliver_(std::move(deliver)) {
  batch_.setSingleShot(true);
  batch_.setInterval(kBatchInterval);
  connect(&batch_, &QTimer::timeout, this, &TraceFeed::deliverPending);
  subscription_ = serial::subscribeTrace([this](const serial::TraceEvent& event) { take(event); });
}

// Once the subscription is reset the listener is neither running nor called
// again; a delivery still queued dies with this object.
TraceFeed::~TraceFeed() { subscription_.reset(); }

void TraceFeed::take(const serial::TraceEvent& event) {
  bool first = false;
  {
    std::lock_guard lock(mutex_);
    first = pending_.empty();
    pending_.push_back(event);
  }
  if (first) QMetaObject::invokeMethod(this, &TraceFeed::batchStarted, Qt::QueuedConnection);
}

void TraceFeed::batchStarted() {
  if (!batch_.isActive()) batch_.start();
}

void TraceFeed::deliverPending() {
  std::vector<serial::TraceEvent> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(pending_);
  }
  if (!batch.empty()) deliver_(std::move(batch));
}

}  // namespace orvane::admin
