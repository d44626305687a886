// The ownership tree: a component owns the components created with it as owner
// and destroys them, last created first, when it is destroyed itself.
#pragma once

#include <string>
#include <vector>

namespace pimblo::ui {

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }

  std::wstring Name;
  int Tag = 0;

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;  // owned
};

}  // namespace pimblo::ui
