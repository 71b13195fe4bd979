#include "frame/app_frame_client.h"

#include "frame/app_frame.h"
#include "platform/utf8.h"

#include <QGuiApplication>
#include <QWindow>

#include <atomic>
#include <cstdlib>
#include <new>

namespace orvella {

namespace {

struct TAppFrameClient {
    IAppFrameClient Interface;  // first: the pointer handed out is this object's address
    std::atomic<uint32_t> References{1};
};

TAppFrameClient* self(IAppFrameClient* client) { return reinterpret_cast<TAppFrameClient*>(client); }

// Runs an operation, turning every exception into a failure code.
template <typename Operation>
TResult guarded(Operation operation) noexcept
{
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY_;
    } catch (...) {
        return E_FAIL_;
    }
}

TResult returnString(const std::string& text, char16_t** out)
{
    if (!out)
        return E_POINTER_;
    *out = AllocPluginString(text);
    return S_OK_;
}

TResult queryInterface(IAppFrameClient* client, const TGuid* iid, void** object)
{
    if (!object)
        return E_POINTER_;
    *object = nullptr;
    if (!iid)
        return E_INVALIDARG_;
    if (*iid != IID_IUnknown && *iid != IID_IAppFrameClient)
        return E_NOINTERFACE_;
    ++self(client)->References;
    *object = client;
    return S_OK_;
}

uint32_t addRef(IAppFrameClient* client) { return ++self(client)->References; }

uint32_t release(IAppFrameClient* client)
{
    const uint32_t left = --self(client)->References;
    if (left == 0)
        delete self(client);
    return left;
}

TResult getAppName(IAppFrameClient*, char16_t** name)
{
    return guarded([&] { return returnString(ExpandMacros("$(AppName)"), name); });
}

TResult getRegistryKey(IAppFrameClient*, char16_t** key)
{
    return guarded([&] { return returnString(ExpandMacros("$(SysRegistryKey)"), key); });
}

TResult getActiveWindow(IAppFrameClient*, uintptr_t* handle)
{
    return guarded([&] {
        if (!handle)
            return E_POINTER_;
        *handle = 0;
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            if (QWindow* window = QGuiApplication::focusWindow())
                *handle = uintptr_t(window->winId());
        return S_OK_;
    });
}

TResult expandText(IAppFrameClient*, const char16_t* text, char16_t** result)
{
    return guarded([&] {
        if (!text)
            return E_POINTER_;
        return returnString(ExpandMacros(PluginStringToUtf8(text)), result);
    });
}

constexpr IAppFrameClientVtbl kVtbl = {
    queryInterface, addRef, release, getAppName, getRegistryKey, getActiveWindow, expandText,
};

}  // namespace

IAppFrameClient* CreateAppFrameClient()
{
    auto* client = new TAppFrameClient;
    client->Interface.Vtbl = &kVtbl;
    return &client->Interface;
}

char16_t* AllocPluginString(std::string_view utf8)
{
    const std::u16string units = Utf8ToUtf16(utf8);
    auto* out = static_cast<char16_t*>(std::malloc((units.size() + 1) * sizeof(char16_t)));
    if (!out)
        throw std::bad_alloc();
    std::copy(units.begin(), units.end(), out);
    out[units.size()] = 0;
    return out;
}

std::string PluginStringToUtf8(const char16_t* text)
{
    return text ? Utf16ToUtf8(text) : std::string();
}

}  // namespace orvella
