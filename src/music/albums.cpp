#include "music/albums.h"

#include "formats/component_stream.h"
#include "formats/doc_storage.h"
#include "formats/doc_stream.h"
#include "frame/app_frame.h"
#include "paper/numbered_name.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace orvella {

namespace {

constexpr const char* kAlbumsStorage = "Albums";

std::unique_ptr<TAlbumInfo> ReadAlbum(TDocStorage& storage, const std::string& name)
{
    auto album = std::make_unique<TAlbumInfo>();
    try {
        TDocStream stream(storage, dmRead, name);
        const std::string bytes = stream.ReadAll();
        TAlbumInfo read;
        ReadComponent(bytes, read);
        album->Assign(read);
    } catch (const std::exception&) {
        // A damaged album reads as an empty one and keeps its place.
    }
    return album;
}

void WriteAlbum(TDocStorage& storage, const std::string& name, const TAlbumInfo& album)
{
    TDocStream stream(storage, dmCreate, name);
    stream.WriteAll(WriteComponent(album));
}

} // namespace

std::string AlbumStoreFileName()
{
    return ExpandMacros("$(UserPreferenceFolder)Albums.dat");
}

TAlbums::TAlbums() = default;

TAlbums::~TAlbums()
{
    Close();
}

void TAlbums::Close()
{
    storage_.reset();
    root_.reset();
    items_.clear();
}

void TAlbums::Open(const std::string& fileName, bool readOnly)
{
    Close();
    fileName_ = fileName;
    readOnly_ = readOnly;
    namespace fs = std::filesystem;
    if (readOnly) {
        root_ = std::make_unique<TFileStorage>(fileName, dmRead | dmShareDenyWrite);
        if (!root_->StorageExists(kAlbumsStorage))
            return;
        storage_ = std::make_unique<TDocStorage>(*root_, false, kAlbumsStorage);
    } else {
        const fs::path folder = fs::path(fileName).parent_path();
        if (!folder.empty())
            fs::create_directories(folder);
        if (fs::exists(fileName))
            root_ = std::make_unique<TFileStorage>(fileName, dmReadWrite | dmShareExclusive);
        else
            root_ = std::make_unique<TFileStorage>(fileName, dmCreate);
        storage_ = std::make_unique<TDocStorage>(*root_, true, kAlbumsStorage);
        root_->Commit();
    }
    std::vector<std::string> names;
    storage_->ListStreams(names);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        items_.push_back({name, ReadAlbum(*storage_, name)});
}

template <class Change, class Undo> void TAlbums::commit(Change change, Undo undo)
{
    if (!storage_ || readOnly_)
        throw std::runtime_error(fileName_ + ": アルバム情報は読み取り専用です");
    try {
        change();
        root_->Commit();
    } catch (...) {
        // The file was not replaced; put the storage tree back the way the
        // file has it, so that a later change does not write this one.
        try {
            undo();
        } catch (...) {
        }
        throw;
    }
}

const TAlbumInfo& TAlbums::Album(int index) const
{
    return *items_.at(std::size_t(index)).album;
}

const std::string& TAlbums::StreamName(int index) const
{
    return items_.at(std::size_t(index)).name;
}

void TAlbums::Store(const TAlbumInfo& album, int index)
{
    auto copy = std::make_unique<TAlbumInfo>();
    copy->Assign(album);
    if (index < 0 || index >= Count()) {
        const std::uint32_t last = items_.empty() ? 0 : NameNumber(items_.back().name);
        const std::string name = NumberedName(last + 1);
        commit([&] { WriteAlbum(*storage_, name, album); }, [&] { storage_->DestroyElement(name); });
        items_.push_back({name, std::move(copy)});
        return;
    }
    TItem& item = items_[std::size_t(index)];
    commit(
        [&] {
            storage_->DestroyElement(item.name);
            WriteAlbum(*storage_, item.name, album);
        },
        [&] { WriteAlbum(*storage_, item.name, *item.album); });
    item.album = std::move(copy);
}

void TAlbums::InsertAt(const TAlbumInfo& album, int index)
{
    if (index < 0 || index >= Count()) {
        Store(album, -1);
        return;
    }
    std::vector<std::string> newNames;
    for (const TItem& item : items_)
        newNames.push_back(item.name);
    const std::string insertedName = items_[std::size_t(index)].name;
    // Renames done so far, to be undone from the last when the write fails.
    std::vector<std::pair<std::string, std::string>> renamed;
    bool written = false;
    commit(
        [&] {
            for (int i = Count() - 1; i >= index; --i) {
                const std::string& from = items_[std::size_t(i)].name;
                const std::string to
                    = i + 1 < Count() ? items_[std::size_t(i) + 1].name : NumberedName(NameNumber(from) + 1);
                storage_->RenameElement(from, to);
                renamed.emplace_back(from, to);
                newNames[std::size_t(i)] = to;
            }
            WriteAlbum(*storage_, insertedName, album);
            written = true;
        },
        [&] {
            if (written)
                storage_->DestroyElement(insertedName);
            for (auto it = renamed.rbegin(); it != renamed.rend(); ++it)
                storage_->RenameElement(it->second, it->first);
        });
    for (std::size_t i = 0; i < items_.size(); ++i)
        items_[i].name = newNames[i];
    auto copy = std::make_unique<TAlbumInfo>();
    copy->Assign(album);
    items_.insert(items_.begin() + index, TItem {insertedName, std::move(copy)});
}

void TAlbums::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    const TItem& item = items_[std::size_t(index)];
    commit([&] { storage_->DestroyElement(item.name); }, [&] { WriteAlbum(*storage_, item.name, *item.album); });
    items_.erase(items_.begin() + index);
}

} // namespace orvella
