// The recent frames of a line, and how many arrived since it was cleared.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "sim/network.h"

namespace orvane::sim {

class FrameLog {
 public:
  void add(FrameRecord record) {
    records_.push_back(std::move(record));
    if (records_.size() > Network::kFrameLogWindow) records_.pop_front();
    ++count_;
  }
  std::vector<FrameRecord> recent() const { return {records_.begin(), records_.end()}; }
  std::size_t countSinceClear() const { return count_; }
  void clear() {
    records_.clear();
    count_ = 0;
  }

 private:
  std::deque<FrameRecord> records_;
  std::size_t count_ = 0;
};

}  // namespace orvane::sim
