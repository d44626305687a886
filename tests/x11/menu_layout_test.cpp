#include "x11/menu_layout.h"

#include <gtest/gtest.h>

namespace pimblo::x11 {
namespace {

constexpr int kFrame = kMenuBorder + kMenuMargin;

TEST(LayOutMenu, ItemsStackInsideTheFrameAllAsWideAsTheWidest) {
  const MenuLayout layout = LayOutMenu({{100, 28}, {80, 4}, {120, 36}});
  const int width = 120 + kCheckMarkRoom;
  ASSERT_EQ(layout.items.size(), 3u);
  EXPECT_EQ(layout.items[0], (Rect{kFrame, kFrame, kFrame + width, kFrame + 28}));
  EXPECT_EQ(layout.items[1], (Rect{kFrame, kFrame + 28, kFrame + width, kFrame + 32}));
  EXPECT_EQ(layout.items[2], (Rect{kFrame, kFrame + 32, kFrame + width, kFrame + 68}));
  EXPECT_EQ(layout.width, width + 2 * kFrame);
  EXPECT_EQ(layout.height, 68 + 2 * kFrame);
}

TEST(ItemAt, OnlyInsideAnItem) {
  const MenuLayout layout = LayOutMenu({{50, 20}, {50, 20}});
  EXPECT_EQ(ItemAt(layout, kFrame, kFrame), 0);
  EXPECT_EQ(ItemAt(layout, kFrame + 10, kFrame + 20), 1);
  EXPECT_EQ(ItemAt(layout, 0, kFrame + 5), std::nullopt);                  // the frame
  EXPECT_EQ(ItemAt(layout, kFrame + 5, layout.height - 1), std::nullopt);  // below the last
}

TEST(NextSelectable, SkipsAndWraps) {
  const std::vector<bool> selectable{true, false, true, false};
  struct Case {
    std::optional<int> from;
    int direction;
    std::optional<int> next;
  };
  const Case cases[] = {
      {std::nullopt, 1, 0}, {std::nullopt, -1, 2}, {0, 1, 2}, {2, 1, 0}, {0, -1, 2}, {2, -1, 0}, {1, 1, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NextSelectable(selectable, c.from, c.direction), c.next) << "from " << c.from.value_or(-1) << " by " << c.direction;
  EXPECT_EQ(NextSelectable({false, false}, std::nullopt, 1), std::nullopt);
  EXPECT_EQ(NextSelectable({}, std::nullopt, 1), std::nullopt);
}

TEST(PlaceMenu, FlipsWhereItWouldLeaveTheScreenThenStaysOnIt) {
  const Rect screen{0, 0, 1024, 768};
  struct Case {
    int x, y;
    MenuOrigin origin;
  };
  const Case cases[] = {
      {100, 100, {100, 100}},  // room right and below
      {1000, 100, {900, 100}},  // flipped left
      {100, 700, {100, 500}},   // flipped up
      {1000, 700, {900, 500}},  // both
      {50, 568, {50, 568}},     // exactly fits below
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceMenu(c.x, c.y, 100, 200, screen), c.origin) << c.x << "," << c.y;
  // Flipped and still off the screen: kept on it.
  EXPECT_EQ(PlaceMenu(50, 300, 100, 500, screen), (MenuOrigin{50, 0}));
}

}  // namespace
}  // namespace pimblo::x11
