#include "catalog_merge/velmont.h"

#include "frame/macro_string.h"
#include "catalog_merge/dat_updater.h"
#include "platform/utf8.h"

#include <dlfcn.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

namespace {

using orvella::TMacroString;

std::u16string_view wideText(const char16_t* text)
{
    return text ? std::u16string_view(text) : std::u16string_view();
}

TMacroString readMacroText(const char16_t* macroText)
{
    TMacroString macro;
    macro.SetText(orvella::Utf16ToUtf8(wideText(macroText)));
    return macro;
}

// The caption of a message: this library's own file name without extension.
std::string libraryCaption()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&CheckVersion), &info) && info.dli_fname)
        return std::filesystem::path(info.dli_fname).stem().string();
    return "velmont";
}

// A message box has no place in a library called from an installer on this
// system; the message goes to standard error as one line.
void showError(const char* message)
{
    std::string line = libraryCaption() + ": " + message;
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    std::fprintf(stderr, "%s\n", line.c_str());
}

template <typename Work>
int32_t guarded(int32_t onError, Work work)
{
    try {
        return work();
    } catch (const std::exception& error) {
        showError(error.what());
    } catch (...) {
        showError("unknown error");
    }
    return onError;
}

}  // namespace

extern "C" int32_t CheckVersion(void* /*window*/, const char16_t* macroText)
{
    return guarded(2, [&] {
        TMacroString macro = readMacroText(macroText);
        const std::string checkFile = macro.Expand("$(dstDir)$(UpdateCheckFile)");
        // A file is asked for: a folder of that name does not count.
        return std::filesystem::is_regular_file(orvella::velmont::ResolveCatalogPath(checkFile)) ? 0 : 3;
    });
}

extern "C" int32_t FinishInstall(void* /*window*/, const char16_t* macroText)
{
    return guarded(0, [&] {
        TMacroString macro = readMacroText(macroText);
        orvella::velmont::TTemplateDatUpdater(macro).Update();
        orvella::velmont::TBackGroundDatUpdater(macro).Update();
        return -1;
    });
}
