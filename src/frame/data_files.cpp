#include "frame/data_files.h"

#include "frame/app_frame.h"
#include "frame/file_error.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella {

namespace {

constexpr char kCannotOpen[] = "アプリケーションに必要なファイル「%s」が開けませんでした";
constexpr char kReadOnly[] = "実行に必要なファイル「%s」が読み取り専用になっています";
constexpr char kCannotCreateFolder[] = "ディレクトリを作成することができません";

bool inGroup(gid_t gid)
{
    if (gid == getegid())
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int filled = getgroups(count, groups.data());
    return filled > 0 && std::find(groups.begin(), groups.begin() + filled, gid) != groups.begin() + filled;
}

void createFolderOf(const std::filesystem::path& file)
{
    const std::filesystem::path folder = file.parent_path();
    if (folder.empty())
        throw EFileError(kCannotCreateFolder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error))
        throw EFileError(kCannotCreateFolder);
}

}  // namespace

bool IsReadOnlyFile(const std::filesystem::path& file)
{
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0)
        return false;
    const uid_t uid = geteuid();
    if (uid == 0 || info.st_uid == uid)
        return (info.st_mode & S_IWUSR) == 0;
    if (inGroup(info.st_gid))
        return (info.st_mode & S_IWGRP) == 0;
    return (info.st_mode & S_IWOTH) == 0;
}

void TDataFileRegistry::Register(TDataFileLoader loader)
{
    // Keep stage order; a later registration of the same stage goes after.
    const auto at = std::upper_bound(loaders_.begin(), loaders_.end(), loader.Stage,
                                     [](TDataFileStage stage, const TDataFileLoader& l) { return stage < l.Stage; });
    loaders_.insert(at, std::move(loader));
}

void TDataFileRegistry::RegisterAtExit(std::function<void()> hook) { exitHooks_.push_back(std::move(hook)); }

void TDataFileRegistry::LoadAll() const
{
    for (const TDataFileLoader& loader : loaders_) {
        // The name being processed goes into the message of any failure.
        std::string name = loader.FileMacro;
        try {
            const std::filesystem::path file = ExpandMacros(loader.FileMacro);
            name = file.filename().string();
            std::error_code error;
            const bool exists = std::filesystem::is_regular_file(file, error);
            switch (loader.Rule) {
            case TDataFileRule::CreateFolder:
                createFolderOf(file);
                break;
            case TDataFileRule::Required:
                if (!exists)
                    throw EFileError(FormatMessage(kCannotOpen, name));
                break;
            case TDataFileRule::Optional:
                if (!exists)
                    continue;
                break;
            case TDataFileRule::Written:
                if (!exists)
                    continue;
                if (IsReadOnlyFile(file))
                    throw EFileError(FormatMessage(kReadOnly, name));
                break;
            }
            if (loader.Load)
                loader.Load(file);
        } catch (const EFileError&) {
            throw;
        } catch (...) {
            throw EFileError(FormatMessage(kCannotOpen, name));
        }
    }
}

void TDataFileRegistry::RunAtExit() const
{
    for (const auto& hook : exitHooks_) {
        try {
            hook();
        } catch (...) {
            if (TAppFrame* frame = AppFrame())
                frame->HandleException(std::current_exception());
        }
    }
}

}  // namespace orvella
