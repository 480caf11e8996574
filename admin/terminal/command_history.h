// The commands typed in one terminal window, recalled with Up and Down as in
// every terminal: Up steps to older commands, Down back to newer ones and
// finally to the text that was being typed before the recall began.
#pragma once

#include <string>
#include <vector>

namespace orvane::admin {

class CommandHistory {
 public:
  // Records a sent command (a repeat of the newest one is kept once) and
  // ends any recall.
  void add(const std::string& command);
  // The command before the one shown; `current` is the entry's text, kept to
  // come back to. At the oldest command it stays there.
  std::string older(const std::string& current);
  // The command after the one shown, or the kept text past the newest.
  std::string newer(const std::string& current);

 private:
  std::vector<std::string> commands_;
  std::size_t position_ = 0;  // commands_.size() = not recalling
  std::string draft_;
};

}  // namespace orvane::admin
