#include "kivhost/model/dialog_answers.h"

namespace kivhost {

void DialogAnswers::Push(Answer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(std::move(answer));
}

std::optional<Answer> DialogAnswers::Next() {
  std::lock_guard lock(mutex_);
  if (answers_.empty()) return std::nullopt;
  Answer a = std::move(answers_.front());
  answers_.pop_front();
  return a;
}

size_t DialogAnswers::Pending() const {
  std::lock_guard lock(mutex_);
  return answers_.size();
}

}  // namespace kivhost
