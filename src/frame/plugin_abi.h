#pragma once
// The binary boundary between Orvella and its plug-ins: shared libraries in
// the program's "Plugins" folder. Every object crossing it is a reference-
// counted interface: a pointer to a struct whose first member points to a
// table of functions, the first three being QueryInterface, AddRef and
// Release. Interfaces are named by GUIDs; functions return result codes
// (negative is failure). Strings are NUL-terminated UTF-16 (char16_t): an
// input string is borrowed for the call; an output string is allocated with
// malloc by the side that produces it and freed with free by the receiver.
//
// A plug-in library exports one function, "OrvGetClassObject", which hands
// out the class object (an IClassFactory) for a class identifier.
//
// This header and the header-only GUID type it includes are all a plug-in
// needs; nothing of Orvella is linked.

#include "platform/guid.h"

#include <cstdint>

namespace orvella {


using TResult = int32_t;

inline constexpr TResult S_OK_ = 0;
inline constexpr TResult S_FALSE_ = 1;
inline constexpr TResult E_NOTIMPL_ = TResult(0x80004001u);
inline constexpr TResult E_NOINTERFACE_ = TResult(0x80004002u);
inline constexpr TResult E_POINTER_ = TResult(0x80004003u);
inline constexpr TResult E_FAIL_ = TResult(0x80004005u);
inline constexpr TResult E_UNEXPECTED_ = TResult(0x8000FFFFu);
inline constexpr TResult E_OUTOFMEMORY_ = TResult(0x8007000Eu);
inline constexpr TResult E_INVALIDARG_ = TResult(0x80070057u);
inline constexpr TResult CLASS_E_NOAGGREGATION_ = TResult(0x80040110u);
inline constexpr TResult CLASS_E_CLASSNOTAVAILABLE_ = TResult(0x80040111u);

constexpr bool Succeeded(TResult result) noexcept { return result >= 0; }

// {00000000-0000-0000-C000-000000000046}
inline constexpr TGuid IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00000001-0000-0000-C000-000000000046}
inline constexpr TGuid IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {7BF0723E-2701-437A-B4CE-F65649F6838F}: the host interface handed to plug-ins.
inline constexpr TGuid IID_IAppFrameClient{0x7BF0723E, 0x2701, 0x437A, {0xB4, 0xCE, 0xF6, 0x56, 0x49, 0xF6, 0x83, 0x8F}};
// {94EC3A94-13A1-4FB0-BC23-89325ADC7876}: the class every plug-in library serves.
inline constexpr TGuid CLSID_PluginServer{0x94EC3A94, 0x13A1, 0x4FB0, {0xBC, 0x23, 0x89, 0x32, 0x5A, 0xDC, 0x78, 0x76}};
// {EDA01AB8-6659-4DD4-9480-0D52D0665DF5}: that class's interface.
inline constexpr TGuid IID_IPluginServer{0xEDA01AB8, 0x6659, 0x4DD4, {0x94, 0x80, 0x0D, 0x52, 0xD0, 0x66, 0x5D, 0xF5}};
// {0D01349C-343D-490A-A363-64130FB91C83}: image import plug-ins.
inline constexpr TGuid CATID_ImageImport{0x0D01349C, 0x343D, 0x490A, {0xA3, 0x63, 0x64, 0x13, 0x0F, 0xB9, 0x1C, 0x83}};
// {07BEF9A3-18CD-4102-B55C-3228E2DC9123}: music-disc plug-ins.
inline constexpr TGuid CATID_MusicDisc{0x07BEF9A3, 0x18CD, 0x4102, {0xB5, 0x5C, 0x32, 0x28, 0xE2, 0xDC, 0x91, 0x23}};

struct IUnknown;
struct IUnknownVtbl {
    TResult (*QueryInterface)(IUnknown* self, const TGuid* iid, void** object);
    uint32_t (*AddRef)(IUnknown* self);
    uint32_t (*Release)(IUnknown* self);
};
struct IUnknown {
    const IUnknownVtbl* Vtbl;
};

struct IClassFactory;
struct IClassFactoryVtbl {
    TResult (*QueryInterface)(IClassFactory* self, const TGuid* iid, void** object);
    uint32_t (*AddRef)(IClassFactory* self);
    uint32_t (*Release)(IClassFactory* self);
    TResult (*CreateInstance)(IClassFactory* self, IUnknown* outer, const TGuid* iid, void** object);
    TResult (*LockServer)(IClassFactory* self, int32_t lock);
};
struct IClassFactory {
    const IClassFactoryVtbl* Vtbl;
};

// What the program offers every plug-in.
struct IAppFrameClient;
struct IAppFrameClientVtbl {
    TResult (*QueryInterface)(IAppFrameClient* self, const TGuid* iid, void** object);
    uint32_t (*AddRef)(IAppFrameClient* self);
    uint32_t (*Release)(IAppFrameClient* self);
    // The expansion of "$(AppName)".
    TResult (*GetAppName)(IAppFrameClient* self, char16_t** name);
    // The expansion of "$(SysRegistryKey)".
    TResult (*GetRegistryKey)(IAppFrameClient* self, char16_t** key);
    // The native handle of the active window (0 when none is active).
    TResult (*GetActiveWindow)(IAppFrameClient* self, uintptr_t* handle);
    // Macro expansion of any text.
    TResult (*ExpandText)(IAppFrameClient* self, const char16_t* text, char16_t** result);
};
struct IAppFrameClient {
    const IAppFrameClientVtbl* Vtbl;
};

// The plug-in library's server: initialised with the host, it lists the
// components the library offers.
struct IPluginServer;
struct IPluginServerVtbl {
    TResult (*QueryInterface)(IPluginServer* self, const TGuid* iid, void** object);
    uint32_t (*AddRef)(IPluginServer* self);
    uint32_t (*Release)(IPluginServer* self);
    TResult (*Initialize)(IPluginServer* self, IAppFrameClient* host);
    TResult (*GetComponentCount)(IPluginServer* self, int32_t* count);
    TResult (*GetComponent)(IPluginServer* self, int32_t index, TGuid* category, TGuid* classId, char16_t** name);
};
struct IPluginServer {
    const IPluginServerVtbl* Vtbl;
};

using TGetClassObject = TResult (*)(const TGuid* classId, const TGuid* iid, void** object);
inline constexpr char kGetClassObjectName[] = "OrvGetClassObject";

}  // namespace orvella
