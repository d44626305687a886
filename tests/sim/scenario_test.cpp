// Reading scenarios, and the pet's behaviour in the regression scenarios.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <cinttypes>
#include <algorithm>

#include "tests/common/test_world.h"
#include "tools/sim/scenario.h"

namespace pimblo::test {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream f(path);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

TEST(ParseScenario, FillsTheDefaults) {
  auto parsed = ParseScenario(R"({"ticks": 5})");
  ASSERT_TRUE(std::holds_alternative<Scenario>(parsed)) << std::get<std::string>(parsed);
  const Scenario& s = std::get<Scenario>(parsed);
  EXPECT_EQ(s.screenWidth, 1024);
  EXPECT_EQ(s.screenHeight, 768);
  EXPECT_EQ(s.desktop.width, 1024);
  EXPECT_EQ(s.pet, (ScreenPoint{100, 100}));
  EXPECT_DOUBLE_EQ(s.speedFactor, 0.988);
  EXPECT_TRUE(s.windows.empty());
  EXPECT_TRUE(s.random.empty());
  EXPECT_FALSE(s.seed);
}

TEST(ParseScenario, TakesTheGeneratorsSeed) {
  auto parsed = ParseScenario(R"({"ticks": 5, "seed": 4294967295})");
  ASSERT_TRUE(std::holds_alternative<Scenario>(parsed)) << std::get<std::string>(parsed);
  EXPECT_EQ(std::get<Scenario>(parsed).seed, 4294967295u);
}

TEST(ParseScenario, TakesEverySpeedTheCommandsReach) {
  for (const double factor : {0.0, 0.802, 1.0, 1.006}) {
    const std::string json = R"({"ticks": 1, "speed_factor": )" + std::to_string(factor) + "}";
    const auto parsed = ParseScenario(json);
    ASSERT_TRUE(std::holds_alternative<Scenario>(parsed)) << json << " -> " << std::get<std::string>(parsed);
    EXPECT_DOUBLE_EQ(std::get<Scenario>(parsed).speedFactor, factor);
  }
}

TEST(ParseScenario, TheDesktopDefaultsToTheScreen) {
  const auto s = std::get<Scenario>(ParseScenario(R"({"ticks": 1, "screen": {"width": 800, "height": 600}})"));
  EXPECT_EQ(s.desktop.width, 800);
  EXPECT_EQ(s.desktop.height, 600);
}

TEST(ParseScenario, NamesWhatIsWrong) {
  struct Case {
    const char* json;
    const char* mentions;
  };
  const Case cases[] = {
      {"{", "JSON"},
      {"[]", "object"},
      {R"({})", "ticks"},
      {R"({"ticks": -1})", "negative"},
      {R"({"ticks": 1.5})", "whole number"},
      {R"({"ticks": 1, "screen": {"width": 0, "height": 5}})", "screen.width"},
      {R"({"ticks": 1, "desktop": {"left": 0, "top": 0, "width": -3, "height": 5}})", "desktop.width"},
      {R"({"ticks": 1, "windows": [{"left": 5, "top": 0, "right": 4, "bottom": 5}]})", "negative width"},
      {R"({"ticks": 1, "windows": [{"left": 5, "top": 0, "right": 6}]})", "bottom"},
      {R"({"ticks": 1, "pet": {"x": "a", "y": 1}})", "pet.x"},
      {R"({"ticks": 1, "speed_factor": "fast"})", "speed_factor"},
      {R"({"ticks": 1, "speed_factor": -0.5})", "speed_factor"},
      {R"({"ticks": 1, "events": [{"tick": 1, "speed_factor": -1}]})", "speed_factor"},
      {R"({"ticks": 1, "random": [1, -2]})", "random[1]"},
      {R"({"ticks": 1, "seed": 4294967296})", "seed"},
      {R"({"ticks": 1, "seed": 7, "random": [1]})", "seed"},
      {R"({"ticks": 1, "events": [{"tick": 1, "press": "thumb"}]})", "press"},
      {R"({"ticks": 1, "events": [{"tick": 1}]})", "exactly one"},
      {R"({"ticks": 1, "events": [{"tick": 1, "cursor": [1]}]})", "cursor"},
      {R"({"ticks": 1, "colour": "blue"})", "colour"},
  };
  for (const Case& c : cases) {
    auto parsed = ParseScenario(c.json);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.json;
    const std::string& error = std::get<std::string>(parsed);
    EXPECT_NE(error.find(c.mentions), std::string::npos) << c.json << " -> " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

struct Row {
  std::int64_t tick;
  double posX, posY, velX, velY;
  int left, top;
  double speed;
  int direction, dragging, blockedX, blockedY, airTicks, stuck;
  double head, leg;
  int shownHead, shownLeg;
};

std::vector<Row> RunFile(const std::string& name) {
  auto parsed = ParseScenario(ReadText(std::string(PIMBLO_SOURCE_DIR) + "/tests/sim/" + name));
  EXPECT_TRUE(std::holds_alternative<Scenario>(parsed));
  std::ostringstream out;
  RunScenario(std::get<Scenario>(parsed), ShippedSheets(), out);
  std::istringstream in(out.str());
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, kTraceHeader);
  std::vector<Row> rows;
  while (std::getline(in, line)) {
    Row r{};
    const int n = std::sscanf(line.c_str(), "%" SCNd64 ",%lf,%lf,%lf,%lf,%d,%d,%lf,%d,%d,%d,%d,%d,%d,%lf,%lf,%d,%d",
                              &r.tick, &r.posX, &r.posY, &r.velX, &r.velY, &r.left, &r.top, &r.speed, &r.direction,
                              &r.dragging, &r.blockedX, &r.blockedY, &r.airTicks, &r.stuck, &r.head, &r.leg,
                              &r.shownHead, &r.shownLeg);
    EXPECT_EQ(n, 18) << line;
    rows.push_back(r);
  }
  return rows;
}

TEST(Scenarios, DropOnAWindowFallsBouncesSettlesWalksLeftAndTurnsAtTheLedge) {
  const auto rows = RunFile("drop_on_window.json");
  ASSERT_EQ(rows.size(), 1500u);
  // Falls: the legs hang down on the way.
  EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const Row& r) { return r.shownLeg == 6; }));
  // Bounces: blocked downwards, then moving up.
  std::size_t landing = 0;
  while (landing < rows.size() && !rows[landing].blockedY) ++landing;
  ASSERT_LT(landing, rows.size());
  EXPECT_LT(rows[landing].velY, -1);
  // Settles on the top edge (bottom of its box at top - 2) and stays there.
  for (std::size_t i = 700; i < rows.size(); ++i) ASSERT_EQ(rows[i].top + 31, 300 - 2) << "tick " << rows[i].tick;
  // Walks left at about 0.83 px per tick.
  EXPECT_NEAR(rows[1100].velX, -0.01 / (1 - 0.988), 0.005);
  EXPECT_EQ(rows[1100].direction, 0);
  // Turns at the ledge, when the point 16 px right of its left edge, one tick
  // ahead, has passed the border's end at x = 100, and walks right.
  const auto turn = std::find_if(rows.begin() + 1100, rows.end(), [](const Row& r) { return r.direction == 1; });
  ASSERT_NE(turn, rows.end());
  EXPECT_LT(turn->posX - turn->velX + 16, 100);  // the velocity before the turn
  EXPECT_GE((turn - 1)->posX + (turn - 1)->velX + 16, 100);
  EXPECT_NEAR(rows.back().velX, 0.01 / (1 - 0.988), 0.005);
}

TEST(Scenarios, ADraggedPetFollowsTheCursorAndIsThrown) {
  const auto rows = RunFile("drag_and_throw.json");
  EXPECT_EQ(rows[298].dragging, 0);
  EXPECT_EQ(rows[299].dragging, 1);
  // Held: it swings in under the cursor, the grab point following it.
  const double grabX = 316 - rows[298].left, grabY = 483 - rows[298].top;
  EXPECT_NEAR(rows[798].posX + grabX, 500, 12);
  EXPECT_NEAR(rows[798].posY + grabY, 300, 12);
  // A quick pull to the left, let go: thrown to the left.
  EXPECT_EQ(rows[805].dragging, 0);
  EXPECT_LT(rows[805].velX, -1);
  EXPECT_LT(rows[815].posX, rows[805].posX - 10);
  // It lands on the window again and walks on, faster once the damping is lighter.
  EXPECT_EQ(rows[1700].top + 31, 500 - 2);
  EXPECT_NEAR(std::fabs(rows[1750].velX), 0.01 / (1 - 0.988), 0.01);
  EXPECT_NEAR(std::fabs(rows.back().velX), 0.01 / (1 - 0.99), 0.01);
}

TEST(Scenarios, APetWhoseWindowClosesFallsToTheBottomOfTheScreen) {
  const auto rows = RunFile("windows_change.json");
  EXPECT_EQ(rows[998].top + 31, 400 - 2);
  EXPECT_EQ(rows.back().top + 31, 768 - 2);
}

}  // namespace
}  // namespace pimblo::test
