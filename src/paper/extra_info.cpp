#include "paper/extra_info.h"

#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "formats/doc_stream.h"
#include "formats/property_table.h"
#include "paper/numbered_name.h"
#include "paper/paper_error.h"
#include "paper/read_as.h"

#include <algorithm>
#include <cstring>

namespace orvella {

namespace {

constexpr const char* kImageInfoStream = "ImageInfo";

std::string readStream(TDocStorage& storage, const std::string& name)
{
    TDocStream stream(storage, dmRead, name);
    return stream.ReadAll();
}

void writeStream(TDocStorage& storage, const std::string& name, std::string_view bytes)
{
    TDocStream stream(storage, dmCreate, name);
    stream.WriteAll(bytes);
}

std::string elementPath(const TDocStorage& storage, const std::string& name)
{
    const std::string path = storage.Path();
    return path.empty() ? name : path + "\\" + name;
}

}  // namespace

[[noreturn]] void ThrowDamagedElement(const std::string& element, const std::string& reason)
{
    throw EPaperCatalog("用紙情報の「" + element + "」が壊れています: " + reason);
}

// ---- records

const TClassInfo& TExtraPaperInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TExtraPaperInfo, TComponent>("TExtraPaperInfo", {
        StringProperty("PaperName", &TExtraPaperInfo::PaperName),
    });
    return info;
}

bool TExtraPaperInfo::SameAs(const TExtraPaperInfo* other) const
{
    return other && WriteComponent(*this) == WriteComponent(*other);
}

const TClassInfo& TExPaperInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TExPaperInfo, TExtraPaperInfo>("TExPaperInfo", {
        StringProperty("Purpose", &TExPaperInfo::Purpose),
        StringProperty("Company", &TExPaperInfo::Company),
        IntegerProperty("RoundSize", &TExPaperInfo::RoundSize),
    });
    return info;
}

std::unique_ptr<TExtraPaperInfo> TExPaperInfo::Clone() const
{
    auto copy = std::make_unique<TExPaperInfo>();
    copy->PaperName = PaperName;
    copy->Purpose = Purpose;
    copy->Company = Company;
    copy->RoundSize = RoundSize;
    return copy;
}

bool TFaceObjectList::IsEmpty() const
{
    if (Bytes.size() < 4)
        return true;
    const auto byte = [this](int i) { return uint32_t(uint8_t(Bytes[std::size_t(i)])); };
    return (byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24) == 0;
}

const TClassInfo& TImagePaperInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TImagePaperInfo, TExtraPaperInfo>("TImagePaperInfo", {
        BooleanProperty("SeparatelyDesign", &TImagePaperInfo::SeparatelyDesign),
        IntegerProperty("LabelCount", &TImagePaperInfo::LabelCount),
    });
    return info;
}

bool TImagePaperInfo::IsEmpty() const
{
    return std::all_of(FaceObjects.begin(), FaceObjects.end(), [](const TFaceObjectList& list) { return list.IsEmpty(); });
}

bool TImagePaperInfo::SameAs(const TExtraPaperInfo* other) const
{
    const auto* image = dynamic_cast<const TImagePaperInfo*>(other);
    if (!image || !TExtraPaperInfo::SameAs(other) || image->FaceObjects.size() != FaceObjects.size())
        return false;
    for (std::size_t i = 0; i < FaceObjects.size(); ++i)
        if (FaceObjects[i].Bytes != image->FaceObjects[i].Bytes)
            return false;
    return true;
}

std::unique_ptr<TExtraPaperInfo> TImagePaperInfo::Clone() const
{
    auto copy = std::make_unique<TImagePaperInfo>();
    copy->PaperName = PaperName;
    copy->SeparatelyDesign = SeparatelyDesign;
    copy->LabelCount = LabelCount;
    copy->FaceObjects = FaceObjects;
    return copy;
}

void RegisterExtraInfoClasses()
{
    RegisterClasses({&TExPaperInfo::StaticClassInfo(), &TImagePaperInfo::StaticClassInfo()});
}

// ---- "ExtraInfos"

void TExInfoBase::Attach(std::unique_ptr<TDocStorage> storage)
{
    storage_ = std::move(storage);
    names_.clear();
    storage_->ListStreams(names_);
    std::sort(names_.begin(), names_.end());
    cachedCount_ = 0;
    cache_.clear();
}

std::unique_ptr<TExPaperInfo> TExInfoBase::load(const std::string& streamName)
{
    return ReadElementAs<TExPaperInfo>(readStream(*storage_, streamName), elementPath(*storage_, streamName));
}

const TExPaperInfo* TExInfoBase::find(const std::string& paperName)
{
    if (auto found = cache_.find(paperName); found != cache_.end())
        return found->second.record.get();
    while (cachedCount_ < names_.size()) {
        const std::string& streamName = names_[cachedCount_];
        std::unique_ptr<TExPaperInfo> record = load(streamName);
        const std::string name = record->PaperName;
        if (cache_.count(name))
            throw EPaperCatalog("用紙情報更新エラー(" + name + ")");
        const TExPaperInfo* loaded = record.get();
        cache_.emplace(name, Cached{streamName, std::move(record)});
        ++cachedCount_;
        if (name == paperName)
            return loaded;
    }
    return nullptr;
}

void TExInfoBase::Delete(const std::string& paperName)
{
    if (!storage_ || !find(paperName))
        return;
    auto cached = cache_.find(paperName);
    const std::string streamName = cached->second.streamName;
    storage_->DestroyElement(streamName);
    const auto at = std::find(names_.begin(), names_.begin() + std::ptrdiff_t(cachedCount_), streamName);
    if (at != names_.begin() + std::ptrdiff_t(cachedCount_)) {
        names_.erase(at);
        --cachedCount_;
    }
    cache_.erase(cached);
}

void TExInfoBase::Store(const TExtraPaperInfo& record)
{
    const auto* info = dynamic_cast<const TExPaperInfo*>(&record);
    if (!storage_ || !info || info->PaperName.empty())
        return;
    Delete(info->PaperName);
    if (info->IsEmpty())
        return;
    const std::string streamName = NumberedName(NextNameNumber(names_));
    writeStream(*storage_, streamName, WriteComponent(*info));
    names_.insert(names_.begin() + std::ptrdiff_t(cachedCount_), streamName);
    ++cachedCount_;
    std::unique_ptr<TExtraPaperInfo> copy = info->Clone();
    cache_.emplace(info->PaperName,
                   Cached{streamName, std::unique_ptr<TExPaperInfo>(static_cast<TExPaperInfo*>(copy.release()))});
}

std::unique_ptr<TExtraPaperInfo> TExInfoBase::Get(const std::string& paperName)
{
    if (!storage_)
        return nullptr;
    const TExPaperInfo* record = find(paperName);
    return record ? record->Clone() : nullptr;
}

std::unique_ptr<TExtraPaperInfo> TExInfoBase::GetAt(int index)
{
    if (!storage_ || index < 0 || index >= Count())
        return nullptr;
    return load(names_[std::size_t(index)]);
}

// ---- "PaperImages"

void TImageInfoBase::Attach(std::unique_ptr<TDocStorage> storage)
{
    storage_ = std::move(storage);
    names_.clear();
    storage_->ListStorages(names_);
    std::sort(names_.begin(), names_.end());
}

std::unique_ptr<TImagePaperInfo> TImageInfoBase::load(const std::string& storageName, bool withFaces)
{
    TDocStorage record(*storage_, false, storageName);
    const std::string element = elementPath(record, kImageInfoStream);
    if (!record.StreamExists(kImageInfoStream))
        ThrowDamagedElement(element, "ストリームがありません");
    std::unique_ptr<TImagePaperInfo> info = ReadElementAs<TImagePaperInfo>(readStream(record, kImageInfoStream), element);
    if (withFaces) {
        std::vector<std::string> streams;
        record.ListStreams(streams);
        std::sort(streams.begin(), streams.end());
        for (const std::string& name : streams)
            if (name != kImageInfoStream)
                info->FaceObjects.push_back({readStream(record, name)});
    }
    return info;
}

int TImageInfoBase::indexOf(const std::string& paperName)
{
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (load(names_[i], false)->PaperName == paperName)
            return int(i);
    return -1;
}

void TImageInfoBase::Delete(const std::string& paperName)
{
    if (!storage_)
        return;
    const int index = indexOf(paperName);
    if (index < 0)
        return;
    storage_->DestroyElement(names_[std::size_t(index)]);
    names_.erase(names_.begin() + index);
}

void TImageInfoBase::Store(const TExtraPaperInfo& record)
{
    const auto* info = dynamic_cast<const TImagePaperInfo*>(&record);
    if (!storage_ || !info || info->PaperName.empty())
        return;
    Delete(info->PaperName);
    if (info->IsEmpty())
        return;
    const std::string storageName = NumberedName(NextNameNumber(names_));
    TDocStorage target(*storage_, true, storageName);
    writeStream(target, kImageInfoStream, WriteComponent(*info));
    std::vector<std::string> leftovers;
    target.ListStreams(leftovers);
    for (const std::string& name : leftovers)
        if (name != kImageInfoStream)
            target.DestroyElement(name);
    for (std::size_t j = 0; j < info->FaceObjects.size(); ++j)
        writeStream(target, NumberedName(uint32_t(j + 1)), info->FaceObjects[j].Bytes);
    names_.push_back(storageName);
}

std::unique_ptr<TExtraPaperInfo> TImageInfoBase::Get(const std::string& paperName)
{
    if (!storage_)
        return nullptr;
    const int index = indexOf(paperName);
    return index < 0 ? nullptr : load(names_[std::size_t(index)], true);
}

std::unique_ptr<TExtraPaperInfo> TImageInfoBase::GetAt(int index)
{
    if (!storage_ || index < 0 || index >= Count())
        return nullptr;
    return load(names_[std::size_t(index)], true);
}

}  // namespace orvella
