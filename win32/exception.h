// Errors raised by the framework (a registry write, a file that cannot be made),
// shown in the standard error box by whoever dispatches the event.
#pragma once

#include <exception>
#include <string>

namespace pimblo::ui {

class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const { return message_; }
  const char* what() const noexcept override { return "pimblo::ui::Exception"; }

 private:
  std::wstring message_;
};

}  // namespace pimblo::ui
