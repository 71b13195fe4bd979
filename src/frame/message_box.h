#pragma once
// Message boxes routed through the application frame. The frame's
// OnMessageBox handler (the program installs its message window) shows them;
// without one, the message only goes to standard error. Either way every
// message is written as one line "orvella: <text>" on standard error, so that
// what the program told its user is visible in a terminal and in bug reports.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace orvella {

enum TButtonKind {
    bkCustom = 0,
    bkOK = 1,
    bkCancel = 2,
    bkHelp = 3,
    bkYes = 4,
    bkNo = 5,
    bkClose = 6,
    bkAbort = 7,
    bkRetry = 8,
    bkIgnore = 9,
    bkAll = 10,
};

// Modal results.
enum : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// The result a standard message dialog gives for a button kind: the close
// kind answers "no to all", the custom kind "yes to all", help none.
int StandardModalResult(TButtonKind kind) noexcept;

// The answer when nobody can be asked: the result of the button Escape
// would press (the cancel index), or mrCancel when the index is out of range.
// Nothing is confirmed behind the user's back.
int UnattendedModalResult(std::span<const TButtonKind> buttons, int cancelIndex) noexcept;

// Expands macros in message (a text that does not expand is shown as it
// is), writes the standard-error line and asks the frame's handler.
int ShowAppMessage(std::string_view message, std::span<const TButtonKind> buttons, int defaultIndex, int cancelIndex);
int ShowAppMessage(std::string_view message, std::initializer_list<TButtonKind> buttons, int defaultIndex,
                   int cancelIndex);

// Shows a text that is already expanded (one carrying user text that must
// not be expanded, such as an exception report).
int ShowExpandedMessage(std::string_view text, std::span<const TButtonKind> buttons, int defaultIndex, int cancelIndex);

// Buttons [OK], default 0, cancel 0.
void ShowInfo(std::string_view message);
// Buttons [OK, Cancel], default 0, cancel 1; true when the answer is OK.
bool ConfirmOK(std::string_view message);

// Replaces the first "%s" of pattern with argument (Format with one string).
std::string FormatMessage(std::string_view pattern, std::string_view argument);

}  // namespace orvella
