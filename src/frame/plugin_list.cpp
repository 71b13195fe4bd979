#include "frame/plugin_list.h"

#include "frame/app_frame_client.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <system_error>

namespace orvella {

TPluginList::TLibraryHandle::~TLibraryHandle()
{
    if (Handle)
        dlclose(Handle);
}

TPluginList::TPluginList(const TGuid& category) : category_(category) {}

TPluginList::~TPluginList()
{
    // Nothing of a library may be used after it is closed: the records hold
    // only copies, so closing in reverse order is all that is needed.
    while (!libraries_.empty())
        libraries_.pop_back();
}

void TPluginList::LoadFromFolder(const std::filesystem::path& folder, IAppFrameClient* host)
{
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator entries(folder, error), end; !error && entries != end;
         entries.increment(error)) {
        if (entries->is_regular_file(error) && entries->path().extension() == ".so")
            files.push_back(entries->path());
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files)
        loadLibrary(file, host);
}

bool TPluginList::loadLibrary(const std::filesystem::path& file, IAppFrameClient* host)
{
    auto library = std::make_unique<TLibraryHandle>();
    library->Handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library->Handle)
        return false;
    const auto getClassObject = reinterpret_cast<TGetClassObject>(dlsym(library->Handle, kGetClassObjectName));
    if (!getClassObject)
        return false;

    std::vector<TPluginInfo> found;
    try {
        TComPtr<IClassFactory> factory;
        if (!Succeeded(getClassObject(&CLSID_PluginServer, &IID_IClassFactory, factory.OutPointer())) || !factory)
            return false;
        TComPtr<IPluginServer> server;
        if (!Succeeded(factory->Vtbl->CreateInstance(factory.Get(), nullptr, &IID_IPluginServer, server.OutPointer())) ||
            !server)
            return false;
        if (!Succeeded(server->Vtbl->Initialize(server.Get(), host)))
            return false;
        int32_t count = 0;
        if (!Succeeded(server->Vtbl->GetComponentCount(server.Get(), &count)))
            return false;
        // A library lists a handful of components; a wild count is no reason
        // to spin.
        constexpr int32_t kMaxComponents = 1024;
        for (int32_t index = 0; index < std::min(count, kMaxComponents); ++index) {
            TGuid category{};
            TGuid classId{};
            char16_t* name = nullptr;
            if (!Succeeded(server->Vtbl->GetComponent(server.Get(), index, &category, &classId, &name)))
                continue;
            std::string utf8 = PluginStringToUtf8(name);
            std::free(name);
            if (category == category_)
                found.push_back(TPluginInfo{classId, std::move(utf8), file});
        }
    } catch (...) {
        // A library that throws through the boundary is no server we can use.
        return false;
    }
    items_.insert(items_.end(), found.begin(), found.end());
    libraries_.push_back(std::move(library));
    return true;
}

}  // namespace orvella
