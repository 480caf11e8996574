#include "admin/terminal/command_history.h"

namespace orvane::admin {

void CommandHistory::add(const std::string& command) {
  if (command.find_first_not_of(' ') != std::string::npos &&
      (commands_.empty() || commands_.back() != command))
    commands_.push_back(command);
  position_ = commands_.size();
  draft_.clear();
}

std::string CommandHistory::older(const std::string& current) {
  if (commands_.empty()) return current;
  if (position_ == commands_.size()) draft_ = current;
  if (position_ > 0) --position_;
  return commands_[position_];
}

std::string CommandHistory::newer(const std::string& current) {
  if (position_ >= commands_.size()) return current;
  ++position_;
  return position_ == commands_.size() ? draft_ : commands_[position_];
}

}  // namespace orvane::admin
