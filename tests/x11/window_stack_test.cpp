#include "x11/window_stack.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pimblo::x11 {
namespace {

// Three mapped windows, bottom first: 1 under 2 under 3, overlapping at (50, 50).
std::vector<StackedWindow> Three() {
  return {{1, {0, 0, 100, 100}, true, false}, {2, {40, 40, 140, 140}, true, false}, {3, {45, 45, 60, 60}, true, false}};
}

std::vector<WindowId> Order(const WindowStack& stack) {
  std::vector<WindowId> ids;
  for (const StackedWindow& w : stack.BottomFirst()) ids.push_back(w.id);
  return ids;
}

struct Happening {
  std::string what;
  std::function<void(WindowStack&)> apply;
  std::vector<WindowId> bottomFirst;
};

class Events : public testing::TestWithParam<Happening> {};

TEST_P(Events, PutTheWindowsInTheirOrder) {
  WindowStack stack;
  stack.Reset(Three());
  GetParam().apply(stack);
  EXPECT_EQ(Order(stack), GetParam().bottomFirst);
}

INSTANTIATE_TEST_SUITE_P(
    WindowStack, Events,
    testing::Values(
        Happening{"created_on_top", [](WindowStack& s) { s.Created(9, {0, 0, 5, 5}); }, {1, 2, 3, 9}},
        Happening{"created_again_replaces", [](WindowStack& s) { s.Created(1, {0, 0, 5, 5}); }, {2, 3, 1}},
        Happening{"removed", [](WindowStack& s) { s.Removed(2); }, {1, 3}},
        Happening{"removed_unknown", [](WindowStack& s) { s.Removed(7); }, {1, 2, 3}},
        Happening{"configured_to_bottom", [](WindowStack& s) { s.Configured(3, {}, 0); }, {3, 1, 2}},
        Happening{"configured_above_bottom", [](WindowStack& s) { s.Configured(3, {}, 1); }, {1, 3, 2}},
        Happening{"configured_above_top", [](WindowStack& s) { s.Configured(1, {}, 3); }, {2, 3, 1}},
        Happening{"configured_in_place", [](WindowStack& s) { s.Configured(2, {}, 1); }, {1, 2, 3}},
        Happening{"configured_unknown", [](WindowStack& s) { s.Configured(8, {}, 1); }, {1, 2, 3}},
        Happening{"configured_above_unknown_goes_on_top", [](WindowStack& s) { s.Configured(1, {}, 8); }, {2, 3, 1}},
        Happening{"circulated_to_top", [](WindowStack& s) { s.Circulated(1, StackEnd::Top); }, {2, 3, 1}},
        Happening{"circulated_to_bottom", [](WindowStack& s) { s.Circulated(3, StackEnd::Bottom); }, {3, 1, 2}},
        Happening{"unmapped_keeps_place", [](WindowStack& s) { s.Unmapped(2); }, {1, 2, 3}}),
    [](const testing::TestParamInfo<Happening>& p) { return p.param.what; });

struct Probe {
  std::string what;
  std::function<void(WindowStack&)> apply;
  std::int32_t x, y;
  WindowId found;  // 0: none
};

class Probes : public testing::TestWithParam<Probe> {};

TEST_P(Probes, FindTheTopmostMappedWindow) {
  WindowStack stack;
  stack.Reset(Three());
  GetParam().apply(stack);
  const StackedWindow* w = stack.At(GetParam().x, GetParam().y);
  EXPECT_EQ(w ? w->id : 0, GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    WindowStack, Probes,
    testing::Values(Probe{"topmost_of_three", [](WindowStack&) {}, 50, 50, 3},
                    Probe{"right_edge_is_outside", [](WindowStack&) {}, 60, 50, 2},
                    Probe{"left_edge_is_inside", [](WindowStack&) {}, 45, 50, 3},
                    Probe{"nothing_there", [](WindowStack&) {}, 500, 500, 0},
                    Probe{"unmapped_is_passed_over", [](WindowStack& s) { s.Unmapped(3); }, 50, 50, 2},
                    Probe{"mapped_again", [](WindowStack& s) { s.Unmapped(3), s.Mapped(3, false); }, 50, 50, 3},
                    Probe{"created_is_not_mapped", [](WindowStack& s) { s.Created(9, {0, 0, 200, 200}); }, 50, 50, 3},
                    Probe{"created_and_mapped",
                          [](WindowStack& s) { s.Created(9, {0, 0, 200, 200}), s.Mapped(9, false); }, 50, 50, 9},
                    Probe{"lowered", [](WindowStack& s) { s.Configured(3, {45, 45, 60, 60}, 0); }, 50, 50, 2},
                    Probe{"moved_away", [](WindowStack& s) { s.Configured(3, {300, 300, 315, 315}, 2); }, 50, 50, 2},
                    Probe{"moved_there", [](WindowStack& s) { s.Configured(3, {300, 300, 315, 315}, 2); }, 314, 314, 3},
                    Probe{"gravity_keeps_size", [](WindowStack& s) { s.Moved(3, 0, 0); }, 14, 14, 3},
                    Probe{"gravity_moves_away", [](WindowStack& s) { s.Moved(3, 0, 0); }, 50, 50, 2},
                    Probe{"destroyed", [](WindowStack& s) { s.Removed(3); }, 50, 50, 2}),
    [](const testing::TestParamInfo<Probe>& p) { return p.param.what; });

TEST(WindowStack, SkipsWhatTheCallerRefuses) {
  WindowStack stack;
  stack.Reset(Three());
  const StackedWindow* w = stack.At(50, 50, [](const StackedWindow& c) { return c.id == 3; });
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->id, 2u);
}

TEST(WindowStack, TopIsTheTopmostMapped) {
  WindowStack stack;
  EXPECT_EQ(stack.Top(), nullptr);
  stack.Reset(Three());
  stack.Created(9, {});
  ASSERT_NE(stack.Top(), nullptr);
  EXPECT_EQ(stack.Top()->id, 3u);
  stack.Mapped(9, false);
  EXPECT_EQ(stack.Top()->id, 9u);
}

TEST(WindowStack, MappedRemembersTheDesktopType) {
  WindowStack stack;
  stack.Reset(Three());
  stack.Mapped(1, true);
  EXPECT_TRUE(stack.Find(1)->desktopType);
  stack.Unmapped(1);
  stack.Mapped(1, false);
  EXPECT_FALSE(stack.Find(1)->desktopType);
}

TEST(WindowStack, RectangleFollowsTheLastConfigure) {
  WindowStack stack;
  stack.Reset(Three());
  stack.Configured(2, {1, 2, 3, 4}, 3);
  EXPECT_EQ(stack.Find(2)->rect, (Rect{1, 2, 3, 4}));
  EXPECT_EQ(stack.Find(7), nullptr);
}

}  // namespace
}  // namespace pimblo::x11
