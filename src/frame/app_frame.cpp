#include "frame/app_frame.h"

#include "frame/exception_report.h"
#include "frame/program_macros.h"
#include "platform/settings_store.h"

#include <cstdio>
#include <stdexcept>

namespace orvella {

namespace {

TAppFrame* globalFrame = nullptr;

}  // namespace

TAppFrame::TAppFrame()
{
    if (globalFrame)
        throw std::logic_error("an application frame exists already");
    Macro.Add("AppName=Project");
    globalFrame = this;
}

TAppFrame::~TAppFrame()
{
    if (globalFrame == this)
        globalFrame = nullptr;
}

void TAppFrame::Loaded(const TProgramPlaces& places)
{
    SetBuiltInMacros(Macro, places);
    try {
        title_ = Macro.Expand("$(AppName)");
    } catch (const EMacroString&) {
        title_.clear();
    }
    try {
        helpFile_ = Macro.Expand("$(SysHelpFile:inessential)");
    } catch (const EMacroString&) {
        helpFile_.clear();
    }
}

void TAppFrame::SetSettingsStore(std::shared_ptr<TSettingsStore> store) { store_ = std::move(store); }

TSettingsStore& TAppFrame::SettingsStore()
{
    if (!store_)
        store_ = std::make_shared<TSettingsStore>(TSettingsStore::DefaultFileName());
    return *store_;
}

void TAppFrame::HandleException(std::exception_ptr error) noexcept
{
    try {
        if (OnException)
            OnException(error);
        else
        {
            const TButtonKind ok[] = {bkOK};
            ShowExpandedMessage(ExceptionReportText(error), ok, 0, 0);
        }
    } catch (...) {
        // The report itself failed (a handler threw): the line on standard
        // error is all that is left, and the program goes on.
        std::fputs("orvella: the exception report failed\n", stderr);
    }
}

void TAppFrame::Help(int context)
{
    if (OnHelp)
        OnHelp(context);
}

TAppFrame* AppFrame() noexcept { return globalFrame; }

std::string ExpandMacros(std::string_view text)
{
    if (!globalFrame)
        return std::string(text);
    return globalFrame->Macro.Expand(text);
}

std::optional<std::string> SettingsKey()
{
    if (!globalFrame || globalFrame->Macro.IndexOfName("SysRegistryKey") < 0)
        return std::nullopt;
    try {
        std::string key = globalFrame->Macro.Expand("$(SysRegistryKey)");
        if (key.empty())
            return std::nullopt;
        return key;
    } catch (const EMacroString&) {
        return std::nullopt;
    }
}

bool GetSettingBool(std::string_view name, bool defaultValue)
{
    const std::optional<std::string> key = SettingsKey();
    if (!key)
        return defaultValue;
    return globalFrame->SettingsStore().ReadBool(*key, name).value_or(defaultValue);
}

int32_t GetSettingInt(std::string_view name, int32_t defaultValue)
{
    const std::optional<std::string> key = SettingsKey();
    if (!key)
        return defaultValue;
    return globalFrame->SettingsStore().ReadInteger(*key, name).value_or(defaultValue);
}

std::string GetSettingString(std::string_view name, std::string_view defaultValue)
{
    const std::optional<std::string> key = SettingsKey();
    if (!key)
        return std::string(defaultValue);
    return globalFrame->SettingsStore().ReadString(*key, name).value_or(std::string(defaultValue));
}

void SetSettingBool(std::string_view name, bool value)
{
    if (const std::optional<std::string> key = SettingsKey())
        globalFrame->SettingsStore().WriteBool(*key, name, value);
}

void SetSettingInt(std::string_view name, int32_t value)
{
    if (const std::optional<std::string> key = SettingsKey())
        globalFrame->SettingsStore().WriteInteger(*key, name, value);
}

void SetSettingString(std::string_view name, std::string_view value)
{
    if (const std::optional<std::string> key = SettingsKey())
        globalFrame->SettingsStore().WriteString(*key, name, value);
}

}  // namespace orvella
