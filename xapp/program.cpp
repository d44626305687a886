#include "xapp/program.h"

#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <variant>

#include "app/commands.h"
#include "app/autostart.h"
#include "app/user_skin.h"
#include "look/ico_read.h"
#include "look/skin_layout.h"
#include "resources/embedded_assets.h"
#include "x11/config_home.h"
#include "x11/executable_path.h"
#include "x11/text.h"
#include "xapp/system_menu.h"

namespace pimblo::xapp {
namespace {

using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC
constexpr std::chrono::milliseconds kTickPeriod{10};

PetSheets LoadSheets() {
  auto loaded = LoadPetSheets(assets::HeadsStream(), assets::LegsStream());
  if (auto* error = std::get_if<std::string>(&loaded))
    throw std::runtime_error("the pet's pictures could not be loaded: " + *error);
  return std::move(std::get<PetSheets>(loaded));
}

// The seed of the generator from the time of day (UTC), as on Windows.
std::uint32_t SeedNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm utc{};
  gmtime_r(&now.tv_sec, &utc);
  return TimeOfDaySeed(utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(now.tv_nsec / 1000000));
}

// The seed PIMBLO_SEED fixes, a whole number below 2^32; for the tests, which
// compare the pet's path with the simulator's. Unset or unreadable: none.
std::optional<std::uint32_t> SeedFromEnvironment() {
  const char* text = std::getenv("PIMBLO_SEED");
  if (text == nullptr || *text == '\0') return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const unsigned long long seed = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || *text == '-' || seed > UINT32_MAX) return std::nullopt;
  return static_cast<std::uint32_t>(seed);
}

// The file PIMBLO_TRACE names, opened for the tests' trace of the pet; none when unset.
std::FILE* OpenTrace() {
  const char* path = std::getenv("PIMBLO_TRACE");
  if (path == nullptr || *path == '\0') return nullptr;
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) throw std::system_error(errno, std::generic_category(), std::string("opening ") + path);
  std::setvbuf(file, nullptr, _IOLBF, 0);  // read while the program runs
  std::fputs("tick,PosX,PosY,VelX,VelY,Left,Top\n", file);
  return file;
}

// The milliseconds since the system started, for the pet's blinks.
std::uint32_t TickCount() {
  const auto since = Clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

// The counters' request: SIGUSR1 asks the program to print its ticks and its
// desktop's round trips to stderr, for the benchmark that measures it from
// outside. The signal is blocked but while the loop waits, so that it never
// falls between the look at the flag and the wait; unasked it costs nothing.
volatile std::sig_atomic_t countersAsked = 0;
void AskCounters(int) { countersAsked = 1; }

// A descriptor ppoll leaves aside: a wait for the time alone.
constexpr int kNoConnection = -1;

// Waits for the server's connection to have something to read, at most until
// `due` (none: as long as it takes), with the signals of `mask` let through;
// interrupted waits end early.
void WaitForServer(int fd, std::optional<Clock::time_point> due, const sigset_t& mask) {
  pollfd server{fd, POLLIN, 0};
  timespec timeout{};
  timespec* limit = nullptr;
  if (due) {
    const auto left = std::max(Clock::duration::zero(), *due - Clock::now());
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
    timeout.tv_sec = static_cast<time_t>(seconds.count());
    timeout.tv_nsec = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count());
    limit = &timeout;
  }
  if (ppoll(&server, 1, limit, &mask) < 0 && errno != EINTR)
    throw std::system_error(errno, std::generic_category(), "waiting for the X server");
}

// Opens an address in the user's browser, without waiting for it.
void OpenInBrowser(const wchar_t* address) {
  const std::string url = x11::ToUtf8(address);
  char opener[] = "xdg-open";
  char* const argv[] = {opener, const_cast<char*>(url.c_str()), nullptr};
  pid_t child = 0;
  // The browser outlives us or not; its exit is never waited for (SIGCHLD is ignored
  // here). The opener starts with the signals as a new program expects them, not ours:
  // a shell script that ignores SIGCHLD loses its commands' exit statuses.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, ours;
  sigemptyset(&none);
  sigemptyset(&ours);
  sigaddset(&ours, SIGCHLD);
  sigaddset(&ours, SIGUSR1);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &ours);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawnp(&child, opener, nullptr, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
}

// Whether an event of the root's tells of another window mapped or restacked.
bool StackedAnew(const XEvent& event, Window root, Window pet) {
  switch (event.type) {
    case MapNotify: return event.xmap.event == root && event.xmap.window != pet;
    case ConfigureNotify: return event.xconfigure.event == root && event.xconfigure.window != pet;
    case CirculateNotify: return event.xcirculate.event == root && event.xcirculate.window != pet;
    default: return false;
  }
}

// The title's small icon: the program's icon at 16 pixels, see-through in magenta.
Bitmap SmallIcon() {
  const auto pictures = ReadIco(assets::IconFile());
  if (!pictures || pictures->empty()) return {};
  const IconPicture& picture = NearestIconPicture(*pictures, 16);
  Bitmap icon = picture.pixels;
  for (std::int32_t y = 0; y < icon.height; ++y)
    for (std::int32_t x = 0; x < icon.width; ++x)
      if (picture.clear.IsTransparent(x, y)) icon.At(x, y) = kMagenta;
  return icon;
}

std::optional<std::string> AutostartEntry() {
  const std::optional<std::string> config = x11::ConfigHome();
  if (!config) return std::nullopt;
  return x11::AutostartEntryPath(*config);
}

}  // namespace

// The user-facing side of start with the system and the first start: the program's
// own message boxes.
class Program::BoxShell : public Shell {
 public:
  explicit BoxShell(Program& program) : program_(program) {}
  void SetMotion(bool enabled) override { program_.SetMotion(enabled); }
  void Inform(const std::wstring& text) override {
    ShowNotice(program_.display_, program_.skin_, text, program_.Modal());
  }
  void ShowUsage(const std::wstring& text) override {
    xapp::ShowUsage(program_.display_, program_.skin_, kApplicationTitle, text, program_.Modal());
  }
  bool AskYesNo(const std::wstring& text) override {
    return xapp::AskYesNo(program_.display_, program_.skin_, text, program_.Modal());
  }
  void ShowError(const std::wstring& message) override {
    xapp::ShowError(program_.display_, program_.skin_, kApplicationTitle, message, program_.Modal());
  }
  void ArmHelpTimer() override { program_.helpDue_ = true; }

 private:
  Program& program_;
};

Program::Program(Display* display)
    : display_(display),
      skin_(nullptr, {}, [this](std::string_view text) { skinMessage_ = text; }),
      sheets_(LoadSheets()),
      random_(SeedFromEnvironment().value_or(SeedNow())),
      speedFactor_(kStartSpeedFactor),
      desktop_(display),
      hotKeys_(display),
      userKey_(AutostartEntry()),
      exePath_(x11::ExecutablePath()),
      trace_(OpenTrace()) {
  FollowUserSkin();
  // A first start's note and question come before the pet, as on Windows.
  if (const std::optional<std::string> config = x11::ConfigHome()) {
    BoxShell shell(*this);
    RunFirstStart(files_, RunKeys{machineKey_, userKey_}, shell, exePath_,
                  x11::FromUtf8(x11::FirstStartMarkerPath(*config)));
  }
  // The pet is made where the cursor is, and falls from there.
  const ScreenPoint cursor = desktop_.GetCursorPos();
  petWindow_ = std::make_unique<x11::X11PetWindow>(
      display_, desktop_, random_, speedFactor_, sheets_,
      [this](ScreenPoint at) { OpenMenu(at); },
      cursor, TickCount());
  TZibbetForm& pet = petWindow_->Pet();
  pet.PosX = static_cast<float>(cursor.x);
  pet.PosY = static_cast<float>(cursor.y);
  petWindow_->Show();
  if (auto pictures = ReadIco(assets::IconFile()))
    tray_.emplace(display_, std::move(*pictures), x11::ToUtf8(kTrayTip), [this](ScreenPoint at) { OpenMenu(at); });
  XFlush(display_);
}

Program::~Program() = default;

void Program::SetMotion(bool on) {
  if (on && !motion_) restartTicks_ = true;
  motion_ = on;
}

int Program::Run() {
  Clock::time_point due{};
  const int fd = ConnectionNumber(display_);
  sigset_t counters, waiting;
  sigemptyset(&counters);
  sigaddset(&counters, SIGUSR1);
  sigprocmask(SIG_BLOCK, &counters, &waiting);
  sigdelset(&waiting, SIGUSR1);
  struct sigaction ask {};
  ask.sa_handler = AskCounters;
  sigaction(SIGUSR1, &ask, nullptr);
  while (!quitting_) {
    if (countersAsked) {
      countersAsked = 0;
      std::fprintf(stderr, "pimblo: ticks %lld round-trips %lld\n", static_cast<long long>(ticks_),
                   static_cast<long long>(desktop_.RoundTrips()));
    }
    if (motion_ && restartTicks_) {
      due = Clock::now() + kTickPeriod;
      restartTicks_ = false;
    }
    // Events Xlib has read already would not wake the wait. While the pet moves,
    // the events wait for its next tick (10 ms at most): the pet's own moves come
    // back as the root's ConfigureNotify a moment after each tick, and waking for
    // each of them would double the wake-ups.
    if (XPending(display_) == 0) WaitForServer(motion_ ? kNoConnection : fd, NextDue(due), waiting);
    TakeEvents();
    KeepOnTop();
    const Clock::time_point now = Clock::now();
    if (tray_) tray_->OnTime(now);
    if (quitting_ || !motion_ || restartTicks_) continue;
    if (now < due) continue;
    Step();  // the events were taken just above
    // The help window a first start asked for comes a tick after the pet, as the
    // Windows program's two timers of 10 ms come one after the other.
    if (helpDue_) {
      helpDue_ = false;
      ShowHelp();
    }
    // A late tick runs once; the ones missed meanwhile are not made up.
    due += kTickPeriod;
    if (due <= now) due = now + kTickPeriod;
  }
  return 0;
}

std::optional<Clock::time_point> Program::NextDue(Clock::time_point tick) const {
  std::optional<Clock::time_point> due;
  if (motion_) due = tick;
  if (tray_)
    if (const auto tip = tray_->TimeUntilDue(Clock::now())) due = std::min(due.value_or(Clock::time_point::max()), Clock::now() + *tip);
  return due;
}

void Program::TakeEvents() {
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    Dispatch(event);
  }
}

void Program::Dispatch(const XEvent& event) {
  // Another window coming above the standing pet's: the pet goes back on top, as a
  // topmost window stays above the others (a moving pet looks at every tick itself).
  if (!motion_ && petWindow_ && StackedAnew(event, DefaultRootWindow(display_), petWindow_->XWindow()))
    keepOnTop_ = true;
  desktop_.Handle(event);
  if (petWindow_) petWindow_->Handle(event);
  if (const auto key = hotKeys_.KeyOf(event)) SetMotion(*key == x11::HotKeys::Key::Start);
  if (tray_) tray_->Handle(event);
  if (help_ && help_->Owns(event)) help_->Dispatch(event);
  for (const EventHandler& handler : handlers_) handler(event);
}

void Program::Step() {
  KeepOnTop();
  if (quitting_ || !motion_ || !petWindow_) return;
  TZibbetForm& pet = petWindow_->Pet();
  pet.MoveZibbet();
  ++ticks_;
  // The tests' trace: the tick's number and the pet's place, in the simulator's columns.
  if (trace_)
    std::fprintf(trace_.get(), "%" PRId64 ",%.9g,%.9g,%.9g,%.9g,%d,%d\n", ticks_, static_cast<double>(pet.PosX),
                 static_cast<double>(pet.PosY), static_cast<double>(pet.VelX), static_cast<double>(pet.VelY),
                 petWindow_->Left(), petWindow_->Top());
  XFlush(display_);
}

void Program::OpenMenu(ScreenPoint at) {
  if (menuOpen_) return;  // one menu at a time, as on Windows
  menuOpen_ = true;
  const std::optional<MenuCommand> chosen =
      menu_.Popup(display_, at.x, at.y, [this] { Step(); }, [this](XEvent& event) { Dispatch(event); });
  menuOpen_ = false;
  malloc_trim(0);  // what the menu's font took from the heap goes back to the system
  if (chosen) Do(*chosen);
}

void Program::Do(MenuCommand command) {
  switch (command) {
    case MenuCommand::Stop: SetMotion(false); break;
    case MenuCommand::Go: SetMotion(true); break;
    case MenuCommand::SpeedUp:
      if (SpeedUp(speedFactor_)) menu_.SetSpeedCaption(SpeedCaption(speedFactor_));
      break;
    case MenuCommand::SlowDown:
      if (SlowDown(speedFactor_)) menu_.SetSpeedCaption(SpeedCaption(speedFactor_));
      break;
    case MenuCommand::AutostartOn: {
      BoxShell shell(*this);
      if (auto error = SwitchAutostartOn(RunKeys{machineKey_, userKey_}, shell, exePath_)) shell.ShowError(*error);
      break;
    }
    case MenuCommand::AutostartOff: {
      BoxShell shell(*this);
      SwitchAutostartOff(RunKeys{machineKey_, userKey_}, shell);
      break;
    }
    case MenuCommand::Help: ShowHelp(); break;
    case MenuCommand::Visit: OpenInBrowser(kMakerSite); break;
    case MenuCommand::Quit: Quit(); break;
    default: break;
  }
}

void Program::KeepOnTop() {
  if (!keepOnTop_ || !petWindow_) return;
  keepOnTop_ = false;
  if (desktop_.GetTopWindow() != petWindow_->Handle()) petWindow_->BringToTop();
}

// A skin the user brings replaces the carried one; one that does not load leaves the
// carried skin, and the user is told once, naming the file and the reason. Looked at
// on start and whenever the help window is shown.
bool Program::FollowUserSkin() {
  std::vector<std::wstring> places = UserSkinPlaces(exePath_, std::nullopt);
  if (const std::optional<std::string> config = x11::ConfigHome())
    places.push_back(x11::FromUtf8(x11::ProgramFolderPath(*config)) + kUserSkinName);
  const std::optional<UserSkinChange> change = userSkin_.Follow(skin_, files_, places, assets::SkinStream());
  if (!skinMessage_.empty())
    ShowWarning(display_, skin_, kApplicationTitle, x11::FromUtf8(std::exchange(skinMessage_, {})), Modal());
  if (change && change->fault != UserSkinFault::Nothing)
    ShowWarning(display_, skin_, kApplicationTitle, UserSkinMessage(*change->place, change->fault), Modal());
  return change.has_value();
}

void Program::ShowHelp() {
  // A window in the skin before is made anew in the new one (its frame is the skin's).
  if (!(help_ && help_->Visible()) && FollowUserSkin()) help_.reset();
  if (!help_)
    help_.emplace(display_, skin_, SmallIcon(),
                  HelpWindow::Hooks{.shown = [this] { SetMotion(false); },
                                    .closed =
                                        [this] {
                                          SetMotion(true);
                                          malloc_trim(0);  // what its fonts took from the heap
                                        },
                                    .systemMenu = [this](x11::SkinnedWindow& window, std::int32_t x, std::int32_t y) {
                                      RunSystemMenu(display_, window, skin_, x, y, [this] { Step(); },
                                                    [this](XEvent& event) { Dispatch(event); });
                                    }});
  help_->Show();
}

ModalLoop Program::Modal() {
  modalDue_.reset();
  return ModalLoop{.dispatch = [this](const XEvent& event) { Dispatch(event); },
                   .tick = [this]() -> int {
                     KeepOnTop();
                     if (!motion_ || !petWindow_) return -1;
                     const Clock::time_point now = Clock::now();
                     if (!modalDue_ || now >= *modalDue_) {
                       if (modalDue_) Step();
                       modalDue_ = now + kTickPeriod;
                     }
                     return static_cast<int>(
                         std::chrono::duration_cast<std::chrono::milliseconds>(*modalDue_ - now).count());
                   }};
}

}  // namespace pimblo::xapp
