// Shows one of the program's skinned windows for the end-to-end test to drive:
//   skin_window_demo help [ICON.bmp]   the help window; prints "shown", "menu X Y" for each system
//                                      menu asked for, then "closed" and ends
//   skin_window_demo ask|notice|usage|error
//                                      that message box; prints "answer yes|no|ok ticks N" and ends
// The tick the box's loop runs counts, to show the program goes on under a box.
#include "app/commands.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "look/bmp_read.h"
#include "look/win_skin_data.h"
#include "resources/embedded_assets.h"
#include "xapp/help_window.h"
#include "xapp/message_box.h"

namespace {

void Say(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
}

pimblo::Bitmap ReadIcon(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return pimblo::ReadBmp(bytes).value_or(pimblo::Bitmap());
}

int ShowHelp(Display* display, const pimblo::TSkinData& skin, pimblo::Bitmap icon) {
  bool open = true;
  pimblo::xapp::HelpWindow help(display, skin, std::move(icon),
                                {.shown = [] { Say("shown"); },
                                 .closed = [&open] { Say("closed"); open = false; },
                                 .systemMenu = [](pimblo::x11::SkinnedWindow&, std::int32_t x, std::int32_t y) {
                                   std::printf("menu %d %d\n", x, y);
                                   std::fflush(stdout);
                                 }});
  help.Show();
  while (open) {
    XEvent event;
    XNextEvent(display, &event);
    if (help.Owns(event)) help.Dispatch(event);
  }
  return 0;
}

int ShowBox(Display* display, const pimblo::TSkinData& skin, const std::string& which) {
  using namespace pimblo::xapp;
  int ticks = 0;
  constexpr int kTickMs = 40;
  const ModalLoop loop{.dispatch = {}, .tick = [&ticks] { ++ticks; return kTickMs; }};
  const std::wstring title = L"桌面Pimblo";
  std::string answer = "ok";
  if (which == "ask")
    answer = AskYesNo(display, skin, L"确定要取消Pimblo的自动运行吗?", loop) ? "yes" : "no";
  else if (which == "notice")
    ShowNotice(display, skin, L"Pimblo已设置为开机自动运行.", loop);
  else if (which == "usage")
    ShowUsage(display, skin, title, L"第一次使用Pimblo:\r\n右键点击Pimblo可以打开菜单.", loop);
  else if (which == "error")
    ShowError(display, skin, title, L"无法打开文件", loop);
  else
    return 2;
  std::printf("answer %s ticks %d\n", answer.c_str(), ticks);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  int result;
  {
    pimblo::TSkinData skin;
    skin.ReadSkinStream(pimblo::assets::SkinStream());
    const std::string what = argv[1];
    result = what == "help" ? ShowHelp(display, skin, argc > 2 ? ReadIcon(argv[2]) : pimblo::Bitmap())
                            : ShowBox(display, skin, what);
  }
  XCloseDisplay(display);
  return result;
}
