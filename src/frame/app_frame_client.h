#pragma once
// TAppFrameClient: the host object every plug-in gets at load. Its
// operations answer through the application frame; an exception inside one
// becomes a failure code and never crosses into the plug-in.

#include "frame/plugin_abi.h"

#include <string>
#include <string_view>

namespace orvella {

// A new host object with one reference, owned by the caller.
IAppFrameClient* CreateAppFrameClient();

// UTF-8 <-> UTF-16 for strings crossing the boundary (malloc'd output).
char16_t* AllocPluginString(std::string_view utf8);
std::string PluginStringToUtf8(const char16_t* text);

// Holds one reference to an interface and releases it.
template <typename Interface>
class TComPtr {
public:
    TComPtr() = default;
    explicit TComPtr(Interface* adopted) : pointer_(adopted) {}
    ~TComPtr() { reset(); }
    TComPtr(const TComPtr&) = delete;
    TComPtr& operator=(const TComPtr&) = delete;

    Interface* Get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }
    // For an out parameter: releases the old reference first.
    void** OutPointer()
    {
        reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    void reset()
    {
        if (pointer_)
            pointer_->Vtbl->Release(pointer_);
        pointer_ = nullptr;
    }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace orvella
