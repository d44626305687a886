#include "tools/sim/scenario.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <set>

#include "pet/random.h"
#include "pet/zibbet.h"

namespace pimblo {
namespace {

using nlohmann::json;

constexpr std::int64_t kMaxTicks = 1'000'000'000;
constexpr std::int32_t kMaxSide = 1'000'000;
constexpr std::int32_t kMaxCoordinate = 10'000'000;
constexpr std::size_t kMaxWindows = 100'000;

// Thrown while reading and turned into the error line; never leaves this file.
struct ScenarioError {
  std::string message;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) { throw ScenarioError{where + ": " + what}; }

void OnlyKeys(const json& object, const std::string& where, std::initializer_list<const char*> keys) {
  if (!object.is_object()) Fail(where, "must be an object");
  for (auto it = object.begin(); it != object.end(); ++it) {
    const std::string& key = it.key();
    if (std::none_of(keys.begin(), keys.end(), [&](const char* k) { return key == k; }))
      Fail(where, "unknown field \"" + key + "\"");
  }
}

std::int64_t Integer(const json& v, const std::string& where, std::int64_t low, std::int64_t high) {
  if (!v.is_number_integer()) Fail(where, "must be a whole number");
  const std::int64_t n = v.is_number_unsigned() && v.get<std::uint64_t>() > INT64_MAX ? INT64_MAX : v.get<std::int64_t>();
  if (n < low) Fail(where, n < 0 && low >= 0 ? "must not be negative" : "is below " + std::to_string(low));
  if (n > high) Fail(where, "is above " + std::to_string(high));
  return n;
}

std::int32_t Coordinate(const json& v, const std::string& where) {
  return static_cast<std::int32_t>(Integer(v, where, -kMaxCoordinate, kMaxCoordinate));
}

std::int32_t Side(const json& v, const std::string& where) {
  return static_cast<std::int32_t>(Integer(v, where, 1, kMaxSide));
}

const json& Field(const json& object, const char* key, const std::string& where) {
  if (!object.contains(key)) Fail(where, std::string("missing \"") + key + "\"");
  return object.at(key);
}

ScreenPoint Point(const json& v, const std::string& where) {
  if (!v.is_array() || v.size() != 2) Fail(where, "must be a pair [x, y]");
  return {Coordinate(v[0], where + "[0]"), Coordinate(v[1], where + "[1]")};
}

std::vector<Rect> Windows(const json& v, const std::string& where) {
  if (!v.is_array()) Fail(where, "must be a list of windows");
  if (v.size() > kMaxWindows) Fail(where, "has too many windows");
  std::vector<Rect> windows;
  for (std::size_t i = 0; i < v.size(); ++i) {
    const std::string w = where + "[" + std::to_string(i) + "]";
    OnlyKeys(v[i], w, {"left", "top", "right", "bottom"});
    Rect r{Coordinate(Field(v[i], "left", w), w + ".left"), Coordinate(Field(v[i], "top", w), w + ".top"),
                 Coordinate(Field(v[i], "right", w), w + ".right"),
                 Coordinate(Field(v[i], "bottom", w), w + ".bottom")};
    if (r.right < r.left) Fail(w, "has a negative width (right < left)");
    if (r.bottom < r.top) Fail(w, "has a negative height (bottom < top)");
    windows.push_back(r);
  }
  return windows;
}

double SpeedFactor(const json& v, const std::string& where) {
  if (!v.is_number()) Fail(where, "must be a number");
  const double f = v.get<double>();
  // Every value the speed commands can reach is taken (speeding up goes past 1);
  // a factor below 0 or not finite means nothing.
  if (!(f >= 0 && std::isfinite(f))) Fail(where, "must be a finite number, 0 or more");
  return f;
}

MouseButton Button(const json& v, const std::string& where) {
  if (v == "left") return MouseButton::Left;
  if (v == "right") return MouseButton::Right;
  if (v == "middle") return MouseButton::Middle;
  Fail(where, "must be \"left\", \"right\" or \"middle\"");
}

// What an event does, one action each: the key that names it, its kind and how its value is read.
struct EventAction {
  const char* key;
  ScenarioEvent::Kind kind;
  void (*read)(const json& v, const std::string& where, ScenarioEvent& e);
};
using Kind = ScenarioEvent::Kind;
const EventAction kEventActions[] = {
    {"cursor", Kind::Cursor, [](const json& v, const std::string& w, ScenarioEvent& e) { e.point = Point(v, w); }},
    {"press", Kind::Press, [](const json& v, const std::string& w, ScenarioEvent& e) { e.button = Button(v, w); }},
    {"release", Kind::Release, [](const json& v, const std::string& w, ScenarioEvent& e) { e.button = Button(v, w); }},
    {"windows", Kind::Windows, [](const json& v, const std::string& w, ScenarioEvent& e) { e.windows = Windows(v, w); }},
    {"speed_factor", Kind::SpeedFactor,
     [](const json& v, const std::string& w, ScenarioEvent& e) { e.speedFactor = SpeedFactor(v, w); }},
};

ScenarioEvent Event(const json& v, const std::string& where) {
  OnlyKeys(v, where, {"tick", "cursor", "press", "release", "at", "windows", "speed_factor"});
  ScenarioEvent e;
  e.tick = Integer(Field(v, "tick", where), where + ".tick", 1, kMaxTicks);
  int actions = 0;
  for (const EventAction& action : kEventActions) {
    if (!v.contains(action.key)) continue;
    ++actions;
    e.kind = action.kind;
    action.read(v[action.key], where + "." + action.key, e);
  }
  if (actions != 1) Fail(where, "needs exactly one of cursor, press, release, windows, speed_factor");
  if (v.contains("at")) {
    if (e.kind != ScenarioEvent::Kind::Press && e.kind != ScenarioEvent::Kind::Release)
      Fail(where, "\"at\" belongs to a press or release");
    e.point = Point(v["at"], where + ".at");
  }
  return e;
}

Scenario Read(const json& doc) {
  OnlyKeys(doc, "scenario",
           {"screen", "desktop", "windows", "pet", "speed_factor", "ticks", "random", "seed", "events"});
  Scenario s;
  if (doc.contains("screen")) {
    const json& v = doc["screen"];
    OnlyKeys(v, "screen", {"width", "height"});
    s.screenWidth = Side(Field(v, "width", "screen"), "screen.width");
    s.screenHeight = Side(Field(v, "height", "screen"), "screen.height");
  }
  s.desktop = {0, 0, s.screenWidth, s.screenHeight};
  if (doc.contains("desktop")) {
    const json& v = doc["desktop"];
    OnlyKeys(v, "desktop", {"left", "top", "width", "height"});
    s.desktop = {Coordinate(Field(v, "left", "desktop"), "desktop.left"),
                 Coordinate(Field(v, "top", "desktop"), "desktop.top"),
                 Side(Field(v, "width", "desktop"), "desktop.width"),
                 Side(Field(v, "height", "desktop"), "desktop.height")};
  }
  if (doc.contains("windows")) s.windows = Windows(doc["windows"], "windows");
  if (doc.contains("pet")) {
    const json& v = doc["pet"];
    OnlyKeys(v, "pet", {"x", "y"});
    s.pet = {Coordinate(Field(v, "x", "pet"), "pet.x"), Coordinate(Field(v, "y", "pet"), "pet.y")};
  }
  if (doc.contains("speed_factor")) s.speedFactor = SpeedFactor(doc["speed_factor"], "speed_factor");
  s.ticks = Integer(Field(doc, "ticks", "scenario"), "ticks", 0, kMaxTicks);
  if (doc.contains("random")) {
    const json& v = doc["random"];
    if (!v.is_array()) Fail("random", "must be a list of whole numbers");
    for (std::size_t i = 0; i < v.size(); ++i)
      s.random.push_back(static_cast<std::int32_t>(Integer(v[i], "random[" + std::to_string(i) + "]", 0, INT32_MAX)));
  }
  if (doc.contains("seed")) {
    if (doc.contains("random")) Fail("seed", "goes with no \"random\" list: the draws come from the one or the other");
    s.seed = static_cast<std::uint32_t>(Integer(doc["seed"], "seed", 0, UINT32_MAX));
  }
  if (doc.contains("events")) {
    const json& v = doc["events"];
    if (!v.is_array()) Fail("events", "must be a list");
    for (std::size_t i = 0; i < v.size(); ++i) s.events.push_back(Event(v[i], "events[" + std::to_string(i) + "]"));
  }
  return s;
}

}  // namespace

std::variant<Scenario, std::string> ParseScenario(std::string_view text) {
  const json doc = json::parse(text.begin(), text.end(), nullptr, false);
  if (doc.is_discarded()) return std::string("scenario: not valid JSON");
  try {
    return Read(doc);
  } catch (const ScenarioError& e) {
    return e.message;
  }
}

namespace {
void Row(std::ostream& out, std::int64_t tick, const TZibbetForm& pet, const SimPetWindow& window) {
  char line[512];
  std::snprintf(line, sizeof line,
                "%" PRId64 ",%.9g,%.9g,%.9g,%.9g,%d,%d,%.9g,%d,%d,%d,%d,%d,%d,%.9g,%.9g,%d,%d\n", tick,
                static_cast<double>(pet.PosX), static_cast<double>(pet.PosY), static_cast<double>(pet.VelX),
                static_cast<double>(pet.VelY), window.Left(), window.Top(), static_cast<double>(pet.Speed),
                pet.Direction, pet.Dragging ? 1 : 0, pet.BlockedX ? 1 : 0, pet.BlockedY ? 1 : 0, pet.AirTicks,
                pet.StuckCounter, static_cast<double>(pet.HeadFrame), static_cast<double>(pet.LegFrame),
                pet.ShownHead, pet.ShownLeg);
  out << line;
}
}  // namespace

SimCounts RunScenario(const Scenario& s, const PetSheets& sheets, std::ostream& out) {
  SimDesktop desktop(s.screenWidth, s.screenHeight, s.desktop);
  desktop.SetWindows(s.windows);
  desktop.SetCursor(s.pet);
  ScriptedRandom scripted(s.random);
  LinearRandom generator(s.seed.value_or(0));
  RandomSource& random = s.seed ? static_cast<RandomSource&>(generator) : scripted;
  double speedFactor = s.speedFactor;
  SimPetWindow window(desktop, sheets, s.pet);
  TZibbetForm pet(desktop, window, random, speedFactor);
  pet.PosX = static_cast<float>(s.pet.x);
  pet.PosY = static_cast<float>(s.pet.y);
  pet.LegFrame = 0;
  pet.ShownLeg = 1;

  // Events in tick order, those of one tick in the order listed.
  std::vector<const ScenarioEvent*> events;
  for (const ScenarioEvent& e : s.events) events.push_back(&e);
  std::stable_sort(events.begin(), events.end(),
                   [](const ScenarioEvent* a, const ScenarioEvent* b) { return a->tick < b->tick; });
  std::size_t next = 0;

  out << kTraceHeader << '\n';
  for (std::int64_t tick = 1; tick <= s.ticks; ++tick) {
    for (; next < events.size() && events[next]->tick == tick; ++next) {
      const ScenarioEvent& e = *events[next];
      switch (e.kind) {
        case ScenarioEvent::Kind::Cursor: desktop.SetCursor(e.point); break;
        case ScenarioEvent::Kind::Press: pet.ImageMouseDown(e.button, e.point.x, e.point.y); break;
        case ScenarioEvent::Kind::Release: pet.ImageMouseUp(e.button, e.point.x, e.point.y); break;
        case ScenarioEvent::Kind::Windows: desktop.SetWindows(e.windows); break;
        case ScenarioEvent::Kind::SpeedFactor: speedFactor = e.speedFactor; break;
      }
    }
    pet.MoveZibbet();
    Row(out, tick, pet, window);
  }
  return desktop.counts;
}

}  // namespace pimblo
