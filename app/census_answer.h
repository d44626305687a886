// The main form's answer to the census.
#pragma once

#include <windows.h>

#include <vector>

#include "win32/desktop.h"

namespace pimblo {

class TZibbetWindow;

// The count the census question in `question` asks for; -1 for an unknown question.
LRESULT AnswerCensus(WPARAM question, const Win32Desktop& desktop, const std::vector<TZibbetWindow*>& pets);

}  // namespace pimblo
