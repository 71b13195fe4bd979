#pragma once
// TAppFrame: the one application frame of the process. It owns the macro
// table through which every configured name and message is expanded, routes
// message boxes, unhandled exceptions and help requests to whoever the
// program installed, and gives access to the per-user settings. QtCore only:
// every floor may expand macros, read settings and show messages through it.
// The global functions work through the frame and are safe without one.

#include "frame/execute_condition.h"
#include "frame/macro_string.h"
#include "frame/message_box.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvella {

class TSettingsStore;
struct TProgramPlaces;

using TOnMessageBox = std::function<int(const std::string& inMessage, std::span<const TButtonKind> inButtons,
                                        int inDefault, int inCancel)>;
using TOnCDNotFound = std::function<void(const std::string& inDisplayName, bool& outRetry)>;
using TOnException = std::function<void(std::exception_ptr error)>;
// context 0 asks for the help contents.
using TOnHelp = std::function<void(int context)>;

class TAppFrame {
public:
    // Becomes the global frame; a second frame in one process is refused.
    TAppFrame();
    ~TAppFrame();
    TAppFrame(const TAppFrame&) = delete;
    TAppFrame& operator=(const TAppFrame&) = delete;

    TOnException OnException;
    TOnMessageBox OnMessageBox;
    TOnCDNotFound OnCDNotFound;
    TOnHelp OnHelp;

    // Starts as the single line "AppName=Project"; assigning replaces it.
    TMacroString Macro;
    TExecuteCondition ExecuteCondition = 0;

    // What the frame does once its stored state is in: sets the built-in
    // macros for `places` and takes the title and help file from the table.
    void Loaded(const TProgramPlaces& places);
    const std::string& Title() const noexcept { return title_; }
    const std::string& HelpFile() const noexcept { return helpFile_; }

    // The registry stand-in. Unless one is set, the frame opens the user's
    // settings file at first use.
    void SetSettingsStore(std::shared_ptr<TSettingsStore> store);
    TSettingsStore& SettingsStore();

    bool CheckExecuteCondition(const TExecuteProbes& probes) { return orvella::CheckExecuteCondition(ExecuteCondition, probes); }

    // The exception report: OnException when assigned, else the message
    // window with "$(SysMsgUnexpected)" ("$(SysMsgTwainErr)" for ETwain).
    void HandleException(std::exception_ptr error) noexcept;

    void Help(int context);

private:
    std::shared_ptr<TSettingsStore> store_;
    std::string title_;
    std::string helpFile_;
};

// The frame of this process, or null.
TAppFrame* AppFrame() noexcept;

// Expands through the frame's table; the text unchanged without a frame.
// Raises EMacroString as the table does.
std::string ExpandMacros(std::string_view text);

// "$(SysRegistryKey)" expanded, or nothing when there is no frame or the
// table has no such macro (or it does not expand).
std::optional<std::string> SettingsKey();

// Values directly in the settings key. Reads return the default when there
// is no frame, no key, no such value or a value of another type; writes do
// nothing without a frame or key macro.
bool GetSettingBool(std::string_view name, bool defaultValue);
int32_t GetSettingInt(std::string_view name, int32_t defaultValue);
std::string GetSettingString(std::string_view name, std::string_view defaultValue);
void SetSettingBool(std::string_view name, bool value);
void SetSettingInt(std::string_view name, int32_t value);
void SetSettingString(std::string_view name, std::string_view value);

}  // namespace orvella
