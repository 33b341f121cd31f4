#pragma once
namespace varnopel {

class TVarnopelForm;

// Marks a long operation for as long as it lives: close requests and drops
// are refused, and the status bar shows the operation's progress.
class OperationScope {
 public:
  explicit OperationScope(TVarnopelForm& form);
  ~OperationScope();
  OperationScope(const OperationScope&) = delete;
  OperationScope& operator=(const OperationScope&) = delete;

 private:
  TVarnopelForm& form_;
};

}  // namespace varnopel
