#pragma once
// TPluginList: the plug-ins of one category found in a folder of shared
// libraries. Every "*.so" file is loaded, its server is initialised with the
// host object and asked for its components; the components of the list's
// category are recorded. A file that is no such server is skipped. The
// libraries stay loaded as long as the list lives.

#include "frame/plugin_abi.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orvella {

struct TPluginInfo {
    TGuid ClassId;
    std::string Name;
    std::filesystem::path Library;
};

class TPluginList {
public:
    explicit TPluginList(const TGuid& category);
    ~TPluginList();
    TPluginList(const TPluginList&) = delete;
    TPluginList& operator=(const TPluginList&) = delete;

    // Files are taken in name order, so the list does not depend on the
    // order the file system returns them in.
    void LoadFromFolder(const std::filesystem::path& folder, IAppFrameClient* host);

    const TGuid& Category() const noexcept { return category_; }
    const std::vector<TPluginInfo>& Items() const noexcept { return items_; }

private:
    // Loads one library; false (and nothing recorded) when it is no server.
    bool loadLibrary(const std::filesystem::path& file, IAppFrameClient* host);

    struct TLibraryHandle {
        void* Handle = nullptr;
        ~TLibraryHandle();
    };

    TGuid category_;
    std::vector<TPluginInfo> items_;
    std::vector<std::unique_ptr<TLibraryHandle>> libraries_;
};

}  // namespace orvella
