#include "frame/message_box.h"

#include "frame/app_frame.h"
#include "frame/macro_string.h"

#include <cstdio>
#include <vector>

namespace orvella {

namespace {

// One line on standard error: line breaks inside the message become blanks.
void writeErrorLine(std::string_view text)
{
    std::string line = "orvella: ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line += ' ';
        } else {
            line += c;
        }
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

int StandardModalResult(TButtonKind kind) noexcept
{
    switch (kind) {
    case bkOK: return mrOk;
    case bkCancel: return mrCancel;
    case bkYes: return mrYes;
    case bkNo: return mrNo;
    case bkClose: return mrNoToAll;
    case bkCustom: return mrYesToAll;
    case bkAbort: return mrAbort;
    case bkRetry: return mrRetry;
    case bkIgnore: return mrIgnore;
    case bkAll: return mrAll;
    case bkHelp: return mrNone;
    }
    return mrNone;
}

int UnattendedModalResult(std::span<const TButtonKind> buttons, int cancelIndex) noexcept
{
    if (cancelIndex < 0 || std::size_t(cancelIndex) >= buttons.size())
        return mrCancel;
    return StandardModalResult(buttons[std::size_t(cancelIndex)]);
}

std::string FormatMessage(std::string_view pattern, std::string_view argument)
{
    std::string text(pattern);
    if (const std::size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

int ShowAppMessage(std::string_view message, std::span<const TButtonKind> buttons, int defaultIndex, int cancelIndex)
{
    std::string text;
    try {
        text = ExpandMacros(message);
    } catch (const EMacroString&) {
        // A message may carry user text (a file name, an exception's words)
        // that looks like a macro; showing it raw beats failing to show it.
        text = std::string(message);
    }
    return ShowExpandedMessage(text, buttons, defaultIndex, cancelIndex);
}

int ShowExpandedMessage(std::string_view text, std::span<const TButtonKind> buttons, int defaultIndex, int cancelIndex)
{
    writeErrorLine(text);
    TAppFrame* frame = AppFrame();
    if (!frame || !frame->OnMessageBox)
        return UnattendedModalResult(buttons, cancelIndex);
    return frame->OnMessageBox(std::string(text), buttons, defaultIndex, cancelIndex);
}

int ShowAppMessage(std::string_view message, std::initializer_list<TButtonKind> buttons, int defaultIndex,
                   int cancelIndex)
{
    const std::vector<TButtonKind> list(buttons);
    return ShowAppMessage(message, std::span<const TButtonKind>(list), defaultIndex, cancelIndex);
}

void ShowInfo(std::string_view message) { ShowAppMessage(message, {bkOK}, 0, 0); }

bool ConfirmOK(std::string_view message) { return ShowAppMessage(message, {bkOK, bkCancel}, 0, 1) == mrOk; }

}  // namespace orvella
