// The pet's context menu as both programs show it: its entries in order, each
// with the command it gives, its caption and its glyph. Free of any window
// system; each program makes its own menu from this table.
#pragma once

#include <array>

namespace pimblo {

enum class MenuCommand { Stop, Go, ShowSpeed, SpeedUp, SlowDown, AutostartOn, AutostartOff, Separator, Help, Visit, Quit };

// The glyph pictures of resources/glyphs.
enum class MenuGlyph { NoGlyph, Stop, Go, Speed, Faster, Slower, Ball, Help, Quit };

struct ContextMenuEntry {
  MenuCommand command;
  const wchar_t* caption;  // "-" is a separator
  MenuGlyph glyph;
};

// The speed entry's caption is the start speed's (SpeedCaption(kStartSpeedFactor)).
inline constexpr std::array<ContextMenuEntry, 12> kContextMenuEntries{{
    {MenuCommand::Stop, L"立正  !!!", MenuGlyph::Stop},
    {MenuCommand::Go, L"动起来!!!", MenuGlyph::Go},
    {MenuCommand::ShowSpeed, L"现速度为:988", MenuGlyph::Speed},
    {MenuCommand::SpeedUp, L"加速运动", MenuGlyph::Faster},
    {MenuCommand::SlowDown, L"减速运动", MenuGlyph::Slower},
    {MenuCommand::AutostartOn, L"开机自动运行", MenuGlyph::Ball},
    {MenuCommand::AutostartOff, L"取消自动运行", MenuGlyph::Ball},
    {MenuCommand::Separator, L"-", MenuGlyph::NoGlyph},
    {MenuCommand::Help, L"使用帮助", MenuGlyph::Help},
    {MenuCommand::Separator, L"-", MenuGlyph::NoGlyph},
    {MenuCommand::Visit, L"访问Vantry软件", MenuGlyph::Ball},
    {MenuCommand::Quit, L"退出桌面Pimblo", MenuGlyph::Quit},
}};

}  // namespace pimblo
