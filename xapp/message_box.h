// The program's message boxes as its own skinned windows: a text, an icon that
// tells what kind of message it is, and one button (确定) or two (是, 否).
//
// Modal by a nested loop: the box runs until it is answered, handing every other
// event to the program and calling the program's tick between events, so the
// pet keeps walking and its window keeps being drawn while the box is up. The
// program decides what its other windows do with their input meanwhile.
#pragma once

#include <X11/Xlib.h>

#include <functional>
#include <string>

#include "look/win_skin_data.h"

namespace pimblo::xapp {

enum class MessageKind { kPlain, kInformation, kQuestion, kWarning, kError };
enum class MessageAnswer { kOk, kYes, kNo };

// What keeps the program running while a box is up.
struct ModalLoop {
  // Every event that is not the box's.
  std::function<void(const XEvent&)> dispatch;
  // Runs what of the program is due (the pet's step) and returns the milliseconds until something
  // is due again; a negative wait means nothing is. Unset: nothing runs.
  std::function<int()> tick;
};

// Shows a box of the kind with 确定 (是 and 否 for a question) until it is answered. Closing a box
// with one button (its close button, Escape, the window manager) answers kOk; a question can only
// be answered with its buttons (Return is 是).
MessageAnswer RunMessageBox(Display* display, const TSkinData& skin, const std::wstring& caption,
                            const std::wstring& text, MessageKind kind, const ModalLoop& loop);

// The program's boxes.
// "提示" with the information icon.
void ShowNotice(Display* display, const TSkinData& skin, const std::wstring& text, const ModalLoop& loop);
// "提示" asking a question; whether the answer was 是.
bool AskYesNo(Display* display, const TSkinData& skin, const std::wstring& text, const ModalLoop& loop);
// The first start's usage note: the program's title as the caption, no icon.
void ShowUsage(Display* display, const TSkinData& skin, const std::wstring& appTitle, const std::wstring& text,
               const ModalLoop& loop);
// A skin of the user's that could not be taken: the program's title, the warning icon.
void ShowWarning(Display* display, const TSkinData& skin, const std::wstring& appTitle, const std::wstring& text,
                 const ModalLoop& loop);
// The standard error box: the program's title, the error icon, the message as ErrorBoxText has it.
void ShowError(Display* display, const TSkinData& skin, const std::wstring& appTitle, const std::wstring& message,
               const ModalLoop& loop);

}  // namespace pimblo::xapp
