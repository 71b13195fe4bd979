// A plug-in library as a third party would write one against plugin_abi.h:
// a server listing one image import component and one music-disc
// component. Its image component is named from what the host answers, so a
// test that reads the name proves the host interface works both ways.

#include "frame/plugin_abi.h"

#include <atomic>
#include <cstdlib>
#include <string>

using namespace orvella;

namespace {

// {3F1A2B4C-5D6E-4F70-8192-A3B4C5D6E7F8}
constexpr TGuid kImageClass{0x3F1A2B4C, 0x5D6E, 0x4F70, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0xF8}};
// {3F1A2B4C-5D6E-4F70-8192-A3B4C5D6E7F9}
constexpr TGuid kMusicClass{0x3F1A2B4C, 0x5D6E, 0x4F70, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0xF9}};

char16_t* copyString(const std::u16string& text)
{
    auto* out = static_cast<char16_t*>(std::malloc((text.size() + 1) * sizeof(char16_t)));
    if (!out)
        return nullptr;
    text.copy(out, text.size());
    out[text.size()] = 0;
    return out;
}

struct Server {
    IPluginServer Interface;
    std::atomic<uint32_t> References{1};
    IAppFrameClient* Host = nullptr;
    std::u16string ImageName = u"no host";
};

Server* self(IPluginServer* server) { return reinterpret_cast<Server*>(server); }

TResult serverQuery(IPluginServer* server, const TGuid* iid, void** object)
{
    if (*iid != IID_IUnknown && *iid != IID_IPluginServer) {
        *object = nullptr;
        return E_NOINTERFACE_;
    }
    ++self(server)->References;
    *object = server;
    return S_OK_;
}

uint32_t serverAddRef(IPluginServer* server) { return ++self(server)->References; }

uint32_t serverRelease(IPluginServer* server)
{
    const uint32_t left = --self(server)->References;
    if (left == 0) {
        if (self(server)->Host)
            self(server)->Host->Vtbl->Release(self(server)->Host);
        delete self(server);
    }
    return left;
}

TResult serverInitialize(IPluginServer* server, IAppFrameClient* host)
{
    if (!host)
        return E_POINTER_;
    host->Vtbl->AddRef(host);
    self(server)->Host = host;
    char16_t* expanded = nullptr;
    if (Succeeded(host->Vtbl->ExpandText(host, u"$(AppName) image import", &expanded))) {
        self(server)->ImageName = expanded;
        std::free(expanded);
    }
    return S_OK_;
}

TResult serverCount(IPluginServer*, int32_t* count)
{
    *count = 2;
    return S_OK_;
}

TResult serverComponent(IPluginServer* server, int32_t index, TGuid* category, TGuid* classId, char16_t** name)
{
    if (index == 0) {
        *category = CATID_ImageImport;
        *classId = kImageClass;
        *name = copyString(self(server)->ImageName);
    } else if (index == 1) {
        *category = CATID_MusicDisc;
        *classId = kMusicClass;
        *name = copyString(u"Test music disc");
    } else {
        return E_INVALIDARG_;
    }
    return S_OK_;
}

constexpr IPluginServerVtbl kServerVtbl = {serverQuery,      serverAddRef, serverRelease, serverInitialize,
                                           serverCount, serverComponent};

TResult factoryQuery(IClassFactory* factory, const TGuid* iid, void** object)
{
    if (*iid != IID_IUnknown && *iid != IID_IClassFactory) {
        *object = nullptr;
        return E_NOINTERFACE_;
    }
    *object = factory;
    return S_OK_;
}

// The class object is static: its references need no counting.
uint32_t factoryAddRef(IClassFactory*) { return 2; }
uint32_t factoryRelease(IClassFactory*) { return 1; }

TResult factoryCreate(IClassFactory*, IUnknown* outer, const TGuid* iid, void** object)
{
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION_;
    auto* server = new Server;
    server->Interface.Vtbl = &kServerVtbl;
    const TResult result = serverQuery(&server->Interface, iid, object);
    serverRelease(&server->Interface);
    return result;
}

TResult factoryLock(IClassFactory*, int32_t) { return S_OK_; }

constexpr IClassFactoryVtbl kFactoryVtbl = {factoryQuery, factoryAddRef, factoryRelease, factoryCreate, factoryLock};
IClassFactory factory{&kFactoryVtbl};

}  // namespace

extern "C" __attribute__((visibility("default"))) TResult OrvGetClassObject(const TGuid* classId, const TGuid* iid,
                                                                             void** object)
{
    if (*classId != CLSID_PluginServer) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE_;
    }
    return factoryQuery(&factory, iid, object);
}
