// Which items the component measures and paints: hooking on activation, the
// handlers of other origins it leaves alone, and items added at run time.
#include <gtest/gtest.h>

#include "look/xp_menu.h"
#include "tests/look/recording_canvas.h"

namespace pimblo {
namespace {

bool OursDraw(const MenuEntry& item, const TXPMenu& xp) { return item.OnDrawItem.Source == &xp; }
bool OursMeasure(const MenuEntry& item, const TXPMenu& xp) { return item.OnMeasureItem.Source == &xp; }

struct HookingTest : ::testing::Test {
  HookingTest() {
    // A popup with a sub-menu, and a main menu with one item.
    popup.Items().Add(L"One");
    MenuEntry& sub = popup.Items().Add(L"More");
    sub.Add(L"Deep").Add(L"Deeper");
    bar.Items().Add(L"File");
  }
  std::vector<MenuEntry*> All() {
    std::vector<MenuEntry*> all;
    const auto walk = [&](auto& self, MenuEntry& e) -> void {
      for (int i = 0; i < e.Count(); ++i) {
        all.push_back(&e.Items(i));
        self(self, e.Items(i));
      }
    };
    walk(walk, popup.Items());
    walk(walk, bar.Items());
    return all;
  }

  MenuOwner owner;
  MenuTree& popup = owner.AddMenu(MenuKind::PopupMenu);
  MenuTree& bar = owner.AddMenu(MenuKind::MainMenu);
  test::RecordingCanvas canvas;
};

TEST_F(HookingTest, ActivationHooksEveryItemAndLeavesOthersHandlers) {
  MenuEntry& foreign = popup.Items().Items(0);
  foreign.OnDrawItem = {[](MenuEntry&, MenuCanvas&, const Rect&, bool) {}, nullptr};
  TXPMenu xp(owner);
  xp.SetActive(true);
  EXPECT_TRUE(popup.OwnerDraw && bar.OwnerDraw);
  for (MenuEntry* e : All()) {
    EXPECT_TRUE(OursMeasure(*e, xp)) << std::wstring(e->Caption).size();
    EXPECT_EQ(OursDraw(*e, xp), e != &foreign);
  }

  xp.SetOverrideOwnerDraw(true);  // takes over the foreign handler too
  EXPECT_TRUE(OursDraw(foreign, xp));

  foreign.OnDrawItem = {[](MenuEntry&, MenuCanvas&, const Rect&, bool) {}, nullptr};
  xp.SetActive(false);
  EXPECT_FALSE(popup.OwnerDraw || bar.OwnerDraw);
  EXPECT_TRUE(static_cast<bool>(foreign.OnDrawItem));  // not ours: stays
  for (MenuEntry* e : All()) EXPECT_FALSE(OursDraw(*e, xp) || OursMeasure(*e, xp));
}

TEST_F(HookingTest, ItemAddedAtRunTime) {
  struct Case {
    bool autoDetect;
    bool hookedAtOnce;
  } cases[] = {{false, false}, {true, true}};
  for (const Case& c : cases) {
    MenuOwner o;
    MenuTree& menu = o.AddMenu(MenuKind::PopupMenu);
    MenuEntry& first = menu.Items().Add(L"One");
    TXPMenu xp(o);
    xp.SetActive(true);
    xp.SetAutoDetect(c.autoDetect);
    MenuEntry& added = menu.Items().Add(L"Two");
    MenuEntry& nested = added.Add(L"Two.1");
    EXPECT_EQ(OursDraw(added, xp), c.hookedAtOnce);
    EXPECT_EQ(OursDraw(nested, xp), c.hookedAtOnce);
    // Painting any sibling takes them in.
    xp.PaintMenuItem(first, canvas, {0, 0, 100, 23}, false);
    EXPECT_TRUE(OursDraw(added, xp) && OursMeasure(added, xp));
    EXPECT_TRUE(OursDraw(nested, xp) && OursMeasure(nested, xp));
  }
}

TEST_F(HookingTest, InsertionActivatesOnlyWithAutoDetect) {
  TXPMenu xp(owner);
  popup.Items().Add(L"Two");
  EXPECT_FALSE(xp.Active());
  xp.SetAutoDetect(true);
  xp.Notification(popup.Items().Items(0), MenuOperation::Remove);
  EXPECT_FALSE(xp.Active());
  popup.Items().Insert(0, L"Zero");
  EXPECT_TRUE(xp.Active());
  EXPECT_TRUE(OursDraw(popup.Items().Items(0), xp));
}

TEST_F(HookingTest, DestructionUnhooks) {
  {
    TXPMenu xp(owner);
    xp.SetActive(true);
  }
  for (MenuEntry* e : All()) EXPECT_FALSE(e->OnDrawItem || e->OnMeasureItem);
  popup.Items().Add(L"Later");  // nobody listens any more
}

}  // namespace
}  // namespace pimblo
