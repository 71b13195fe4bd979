#include "document/label_data.h"

#include "formats/component_stream.h"
#include "document/data_info.h"
#include "formats/date_time_text.h"
#include "formats/doc_name_list.h"
#include "formats/doc_stream.h"
#include "document/effective_paper.h"
#include "document/grid.h"
#include "document/guide.h"
#include "document/label_data_layout.h"
#include "document/ld_objects.h"
#include "document/product_info.h"
#include "formats/property_table.h"
#include "document/sheet_name.h"
#include "formats/stream_format.h"
#include "paper/extra_info.h"
#include "paper/numbered_name.h"
#include "paper/paper_info.h"
#include "platform/zlib_container.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <stdexcept>

namespace orvella {

using namespace label_layout;

namespace {

// The grid pitch of a new document: 5 mm.
constexpr int32_t kDefaultGridSize = 50;

[[noreturn]] void RefuseFormat() { throw EReadError(stream_message::kInvalidImage); }

// The local time now as a stored date-time.
double CurrentDateTime()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec) +
           double(millis) / 86400000.0;
}

template <class T>
std::unique_ptr<T> ReadRootAs(std::string_view bytes)
{
    std::unique_ptr<TComponent> component = ReadComponentRes(bytes);
    auto* typed = dynamic_cast<T*>(component.get());
    if (!typed)
        RefuseFormat();
    component.release();
    return std::unique_ptr<T>(typed);
}

// A copy of the record, or an empty one for none.
template <class T>
std::unique_ptr<T> CopyOrEmpty(const T* record)
{
    if (!record)
        return std::make_unique<T>();
    return std::unique_ptr<T>(static_cast<T*>(record->Clone().release()));
}

// A paper's images copied whole from a catalog record carry the record
// itself beside the face patterns; it is no pattern.
bool IsImageRecordStream(std::string_view name)
{
    constexpr std::string_view record = "ImageInfo";
    return std::equal(name.begin(), name.end(), record.begin(), record.end(),
                      [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
}

std::string ReadWholeStream(TRootStorage& root, const std::string& path)
{
    return TDocStream(root, dmRead, path).ReadAll();
}

void WriteWholeStream(TRootStorage& root, const std::string& path, std::string_view bytes)
{
    TDocStream(root, dmCreate, path).WriteAll(bytes);
}

}  // namespace

// --- state

struct TLabelData::TSheetSettings {
    std::unique_ptr<TGuide> guide = std::make_unique<TGuide>();
    std::unique_ptr<TGrid> grid = std::make_unique<TGrid>();
    int32_t currentLabelNo = 0;
    bool separatelyDesign = true;
    std::string sheetName;
};

struct TLabelData::TState {
    TSheetSettings settings;
    std::unique_ptr<TTemporaryStorage> root;
    std::unique_ptr<TDocNameList> sheets;
    int current = -1;
    std::shared_ptr<const TPaperInfo> paper;
    std::unique_ptr<TExPaperInfo> extra = std::make_unique<TExPaperInfo>();
    std::unique_ptr<TImagePaperInfo> image = std::make_unique<TImagePaperInfo>();
    std::unique_ptr<TProductInfo> product;
    std::unique_ptr<TProductInfo> creatorE;
    std::unique_ptr<TProductInfo> creatorJ;
    std::string dataName;
    double lastPrint = 0;
    double lastSave = 0;
    double opened = 0;
    bool sheetMode = false;
    bool modified = false;
};

// A sheet's stored settings, read before anything in memory is replaced.
struct TLabelData::TLoadedSheet {
    std::unique_ptr<TSheetSettings> settings;
    std::unique_ptr<TPaperInfo> paper;
    std::unique_ptr<TExPaperInfo> extra;
    std::unique_ptr<TImagePaperInfo> image;
};

const TClassInfo& TLabelData::StaticClassInfo()
{
    using C = TLabelData;
    static const TClassInfo info = DeclareClass<C, TComponent>(
        "TLabelData", {
                          ObjectProperty("Guide", &C::Guide),
                          ObjectProperty("Grid", &C::Grid),
                          IntegerProperty("CurrentLabelNo", &C::CurrentLabelNo, &C::SetCurrentLabelNo).Default(0),
                          BooleanProperty("SeparatelyDesign", &C::SeparatelyDesign, &C::SetSeparatelyDesign)
                              .Default(1),
                          StringProperty("SheetName", &C::SheetName, &C::SetSheetName),
                      });
    return info;
}

TLabelData::TLabelData(Bare) : state_(std::make_unique<TState>()), mainThread_(std::this_thread::get_id()) {}

TLabelData::TLabelData() : TLabelData(Bare{})
{
    TState& s = *state_;
    s.root = std::make_unique<TTemporaryStorage>();
    s.sheets = std::make_unique<TDocNameList>(*s.root, kSheetList);
    const TProductRecordSource& source = ProductRecordSource();
    s.product = source.DefaultProduct();
    s.creatorE = source.CreatorE();
    s.creatorJ = source.CreatorJ();
    s.opened = s.lastPrint = s.lastSave = CurrentDateTime();
    s.settings.grid->SetSize(kDefaultGridSize);
    addSheet(kNewSheetStem, false);
    s.modified = false;
}

TLabelData::~TLabelData() = default;

// --- stored settings

TGuide& TLabelData::Guide() const { return *state_->settings.guide; }
TGrid& TLabelData::Grid() const { return *state_->settings.grid; }
int32_t TLabelData::CurrentLabelNo() const { return state_->settings.currentLabelNo; }
bool TLabelData::SeparatelyDesign() const { return state_->settings.separatelyDesign; }
const std::string& TLabelData::SheetName() const { return state_->settings.sheetName; }

void TLabelData::SetCurrentLabelNo(int32_t value)
{
    if (value == state_->settings.currentLabelNo)
        return;
    state_->settings.currentLabelNo = value;
    markModified();
}

void TLabelData::SetSeparatelyDesign(bool value)
{
    if (value == state_->settings.separatelyDesign)
        return;
    state_->settings.separatelyDesign = value;
    markModified();
}

void TLabelData::SetSheetName(const std::string& value)
{
    if (value == state_->settings.sheetName)
        return;
    state_->settings.sheetName = value;
    markModified();
}

// --- sheets

int TLabelData::SheetCount() const { return state_->sheets ? state_->sheets->Count() : 0; }
int TLabelData::CurrentSheet() const { return state_->current; }

std::string TLabelData::sheetPath() const { return state_->sheets->ElementPath(state_->current); }

void TLabelData::saveSheetSettings()
{
    TState& s = *state_;
    if (s.current < 0)
        return;
    TRootStorage& root = *s.root;
    const std::string path = sheetPath();
    WriteWholeStream(root, path + "\\" + kInfoStream, WriteComponentRes(kInfoStream, *this));
    if (s.paper)
        WriteWholeStream(root, path + "\\" + kPaperInfoStream, WriteComponentRes(kPaperInfoStream, *s.paper));

    const std::string extraPath = path + "\\" + kExtraInfoStream;
    if (s.extra->IsEmpty())
        root.DestroyElement(extraPath);
    else
        WriteWholeStream(root, extraPath, WriteComponentRes(kExtraInfoStream, *s.extra));

    const std::string imageInfoPath = path + "\\" + kImageInfoStream;
    const std::string imagesPath = path + "\\" + kImagesStorage;
    if (s.image->IsEmpty()) {
        root.DestroyElement(imageInfoPath);
        root.DestroyElement(imagesPath);
        return;
    }
    WriteWholeStream(root, imageInfoPath, WriteComponentRes(kImageInfoStream, *s.image));
    TDocStorage images(root, true, imagesPath);
    std::vector<std::string> leftovers;
    images.ListStreams(leftovers);
    for (const std::string& name : leftovers)
        images.DestroyElement(name);
    for (std::size_t j = 0; j < s.image->FaceObjects.size(); ++j)
        WriteWholeStream(root, imagesPath + "\\" + NumberedName(uint32_t(j + 1)), s.image->FaceObjects[j].Bytes);
}

TLabelData::TLoadedSheet TLabelData::readSheet(int index) const
{
    TRootStorage& root = *state_->root;
    const std::string path = state_->sheets->ElementPath(index);
    auto has = [&](const char* name) { return root.StreamExists(path + "\\" + name); };
    auto read = [&](const char* name) { return ReadWholeStream(root, path + "\\" + name); };

    TLoadedSheet sheet;
    if (has(kInfoStream)) {
        TLabelData scratch{Bare{}};
        ReadComponentRes(read(kInfoStream), scratch);
        sheet.settings = std::make_unique<TSheetSettings>(std::move(scratch.state_->settings));
    }
    if (has(kPaperInfoStream))
        sheet.paper = ReadRootAs<TPaperInfo>(read(kPaperInfoStream));
    if (has(kExtraInfoStream))
        sheet.extra = ReadRootAs<TExPaperInfo>(read(kExtraInfoStream));
    if (has(kImageInfoStream)) {
        sheet.image = ReadRootAs<TImagePaperInfo>(read(kImageInfoStream));
        const std::string imagesPath = path + "\\" + kImagesStorage;
        if (root.StorageExists(imagesPath)) {
            TDocStorage images(root, false, imagesPath);
            std::vector<std::string> streams;
            images.ListStreams(streams);
            std::sort(streams.begin(), streams.end());
            for (const std::string& name : streams)
                if (!IsImageRecordStream(name))
                    sheet.image->FaceObjects.push_back({ReadWholeStream(root, imagesPath + "\\" + name)});
        }
    }
    return sheet;
}

void TLabelData::applySheet(int index, TLoadedSheet&& sheet)
{
    TState& s = *state_;
    const bool modified = s.modified;
    s.current = index;
    if (sheet.settings)
        s.settings = std::move(*sheet.settings);
    if (sheet.paper)
        installPaper(std::move(sheet.paper));
    SetExtraPaperInfo(sheet.extra.get());
    SetImagePaperInfo(sheet.image.get());
    // A face index the paper does not have would send the views past its faces.
    if (s.paper && (s.settings.currentLabelNo < 0 || s.settings.currentLabelNo >= s.paper->GetFaceCount()))
        s.settings.currentLabelNo = 0;
    s.modified = modified;
}

void TLabelData::SelectSheet(int index)
{
    TState& s = *state_;
    if (index == s.current)
        return;
    if (index < 0 || index >= SheetCount())
        throw std::out_of_range("シート番号が範囲外です (" + std::to_string(index) + ")");
    const bool modified = s.modified;
    saveSheetSettings();
    applySheet(index, readSheet(index));
    s.modified = modified;
}

std::vector<std::string> TLabelData::sheetNames()
{
    TState& s = *state_;
    std::vector<std::string> names;
    for (int i = 0; i < SheetCount(); ++i) {
        if (i == s.current) {
            names.push_back(s.settings.sheetName);
            continue;
        }
        const std::string info = s.sheets->ElementPath(i) + "\\" + kInfoStream;
        std::string name;
        if (s.root->StreamExists(info)) {
            TLabelData scratch{Bare{}};
            ReadComponentRes(ReadWholeStream(*s.root, info), scratch);
            name = scratch.SheetName();
        }
        names.push_back(std::move(name));
    }
    return names;
}

void TLabelData::GetSheetNames(std::vector<std::string>& names)
{
    std::vector<std::string> own = sheetNames();
    names.insert(names.end(), own.begin(), own.end());
}

void TLabelData::addSheet(const std::string& stem, bool copyContent)
{
    TState& s = *state_;
    const std::vector<std::string> used = sheetNames();
    saveSheetSettings();
    const int previous = s.current;
    const int added = s.sheets->AddNew();
    const std::string path = s.sheets->ElementPath(added);
    // A damaged file may hold an element under the name the counter gives.
    s.root->DestroyElement(path);
    if (copyContent && previous >= 0) {
        const std::string from = s.sheets->ElementPath(previous);
        if (s.root->StorageExists(from)) {
            TDocStorage source(*s.root, false, from);
            TDocStorage target(*s.root, true, path);
            source.CopyTo(target);
        }
    }
    s.current = added;
    s.settings.sheetName = NumberedSheetName(stem, used);
    markModified();
}

void TLabelData::AddSheet() { addSheet(kNewSheetStem, false); }

void TLabelData::CopySheet() { addSheet(CopySheetStem(SheetName()), true); }

void TLabelData::DeleteSheet()
{
    TState& s = *state_;
    const int count = SheetCount();
    if (count <= 1)
        throw std::logic_error("最後のシートは削除できません");
    const int deleted = s.current;
    const int next = deleted < count - 1 ? deleted + 1 : deleted - 1;
    TLoadedSheet sheet = readSheet(next);
    s.sheets->DeleteEntry(deleted);
    s.current = -1;
    applySheet(std::min(deleted, count - 2), std::move(sheet));
    markModified();
}

void TLabelData::MoveSheet(int newIndex)
{
    TState& s = *state_;
    if (newIndex == s.current)
        return;
    if (newIndex < 0 || newIndex >= SheetCount())
        throw std::out_of_range("シート番号が範囲外です (" + std::to_string(newIndex) + ")");
    saveSheetSettings();
    s.sheets->MoveEntry(s.current, newIndex);
    s.current = newIndex;
    markModified();
}

// --- paper

const TPaperInfo* TLabelData::Paper() const { return state_->paper.get(); }

void TLabelData::installPaper(std::unique_ptr<TPaperInfo> paper)
{
    std::shared_ptr<const TPaperInfo> shared(std::move(paper));
    state_->paper = shared;
    {
        std::lock_guard lock(effectiveLock_);
        paperSnapshot_ = std::move(shared);
        effective_.reset();
        effectiveKey_.clear();
    }
    trimObjectList();
}

void TLabelData::trimObjectList()
{
    TState& s = *state_;
    if (s.current < 0 || !s.paper)
        return;
    const std::string path = sheetPath() + "\\" + kObjectList;
    if (!s.root->StreamExists(path))
        return;
    TDocNameList list(*s.root, path);
    const int faces = std::max(0, s.paper->GetFaceCount());
    while (list.Count() > faces)
        list.DeleteEntry(list.Count() - 1);
}

void TLabelData::SetPaper(const TPaperInfo& paper)
{
    dropChangedPreviews(paper);
    installPaper(paper.Clone());
    // The face being edited may be one the new paper does not have.
    TState& s = *state_;
    if (s.settings.currentLabelNo < 0 || s.settings.currentLabelNo >= std::max(1, s.paper->GetFaceCount()))
        s.settings.currentLabelNo = 0;
    markModified();
}

void TLabelData::SetPaperResetPreviews(const TPaperInfo& paper)
{
    SetPaper(paper);
    const std::string path = sheetPath() + "\\" + kPreviewList;
    if (!state_->root->StreamExists(path))
        return;
    TDocNameList previews(*state_->root, path);
    for (int i = 0; i < previews.Count(); ++i)
        state_->root->DestroyElement(previews.ElementPath(i));
}

void TLabelData::dropEffectivePaper()
{
    std::lock_guard lock(effectiveLock_);
    effective_.reset();
    effectiveKey_.clear();
}

std::shared_ptr<const TPaperInfo> TLabelData::EffectivePaper()
{
    if (std::this_thread::get_id() != mainThread_) {
        std::lock_guard lock(effectiveLock_);
        return effective_ ? effective_ : paperSnapshot_;
    }
    const std::shared_ptr<const TPaperInfo> paper = state_->paper;
    if (!paper)
        return nullptr;
    const std::string key = EffectivePaperKey(*paper);
    {
        std::lock_guard lock(effectiveLock_);
        if (effective_ && effectiveKey_ == key)
            return effective_;
    }
    std::shared_ptr<const TPaperInfo> made(MakeEffectivePaper(*paper));
    std::lock_guard lock(effectiveLock_);
    effective_ = made;
    effectiveKey_ = key;
    return made;
}

const TExPaperInfo& TLabelData::ExtraPaperInfo() const { return *state_->extra; }
const TImagePaperInfo& TLabelData::ImagePaperInfo() const { return *state_->image; }

void TLabelData::SetExtraPaperInfo(const TExPaperInfo* info)
{
    state_->extra = CopyOrEmpty(info);
    markModified();
}

void TLabelData::SetImagePaperInfo(const TImagePaperInfo* info)
{
    state_->image = CopyOrEmpty(info);
    markModified();
}

TSizeAdjust TLabelData::GetSizeAdjust() const { return state_->paper ? ReadSizeAdjust(*state_->paper) : TSizeAdjust{}; }

void TLabelData::SetSizeAdjust(TSizeAdjust adjust)
{
    if (state_->paper)
        WriteSizeAdjust(*state_->paper, adjust);
    dropEffectivePaper();
}

// --- information

TProductInfo& TLabelData::ProductInfo() const { return *state_->product; }
TProductInfo& TLabelData::CreatorInfoE() const { return *state_->creatorE; }
TProductInfo& TLabelData::CreatorInfoJ() const { return *state_->creatorJ; }
const std::string& TLabelData::DataName() const { return state_->dataName; }
double TLabelData::LastPrint() const { return state_->lastPrint; }
double TLabelData::LastSave() const { return state_->lastSave; }
double TLabelData::Opened() const { return state_->opened; }
bool TLabelData::SheetMode() const { return state_->sheetMode; }
bool TLabelData::Modified() const { return state_->modified; }
void TLabelData::SetModified(bool modified) { state_->modified = modified; }
void TLabelData::markModified() { state_->modified = true; }
TRootStorage& TLabelData::Storage() const { return *state_->root; }

std::string TLabelData::SheetStoragePath(int sheet) const { return state_->sheets->ElementPath(sheet); }

void TLabelData::SetDataName(const std::string& name)
{
    if (name != state_->dataName) {
        state_->dataName = name;
        markModified();
    }
}

void TLabelData::SetLastPrint(double value) { state_->lastPrint = value; }
void TLabelData::SetLastSave(double value) { state_->lastSave = value; }

void TLabelData::SetSheetMode(bool value)
{
    if (value != state_->sheetMode) {
        state_->sheetMode = value;
        markModified();
    }
}

// --- files

void TLabelData::SaveToFile(const std::string& fileName)
{
    TState& s = *state_;
    saveSheetSettings();

    TDataInfo info;
    info.SheetCount = SheetCount();
    info.DataName = s.dataName;
    info.CurrentSheetNo = s.current;
    info.LastPrint = s.lastPrint;
    info.LastSave = s.lastSave;
    info.SheetMode = s.sheetMode;
    info.SetRecord(kProductInfoName, *s.product);
    info.SetRecord(kCreatorInfoEName, *s.creatorE);
    info.SetRecord(kCreatorInfoJName, *s.creatorJ);
    WriteWholeStream(*s.root, kDataInfoStream, WriteComponentRes(kDataInfoStream, info));

    const int previous = s.current;
    try {
        prepareSheetsForSaving();
    } catch (...) {
        restoreSheet(previous);
        throw;
    }
    // The saved file is the open document from now on: held against other processes.
    s.root->SaveToFile(fileName, true);
    s.modified = false;
}

void TLabelData::restoreSheet(int index) noexcept
{
    // The windows still show this sheet; a face written back later must land
    // on it. Its settings were stored when the loop left it, and the sheet the
    // loop failed on has nothing unsaved, so nothing is saved on the way.
    TState& s = *state_;
    if (s.current == index)
        return;
    try {
        applySheet(index, readSheet(index));
    } catch (...) {
        // It read a moment ago; the first failure is the one to report.
    }
}

void TLabelData::LoadFromFile(const std::string& fileName)
{
    // Everything is read into a document of its own; this one changes only
    // once the whole file has been accepted.
    TLabelData fresh{Bare{}};
    TState& f = *fresh.state_;
    f.root = std::make_unique<TTemporaryStorage>();
    f.root->LoadFromFile(fileName, true);
    if (!f.root->StreamExists(kDataInfoStream) || !f.root->StreamExists(kSheetList))
        RefuseFormat();
    f.sheets = std::make_unique<TDocNameList>(*f.root, kSheetList);
    if (f.sheets->Count() == 0)
        RefuseFormat();

    TDataInfo info;
    ReadComponentRes(ReadWholeStream(*f.root, kDataInfoStream), info);
    if (info.CurrentSheetNo < 0 || info.CurrentSheetNo >= f.sheets->Count())
        RefuseFormat();
    f.dataName = info.DataName;
    f.lastPrint = info.LastPrint;
    f.lastSave = info.LastSave;
    f.sheetMode = info.SheetMode;
    if (const TProductInfo* stored = info.Record(kProductInfoName)) {
        f.product = std::make_unique<TProductInfo>();
        f.product->Assign(*stored);
        f.product->CompleteFields(ProductFieldNames());
    }
    f.opened = CurrentDateTime();
    fresh.applySheet(info.CurrentSheetNo, fresh.readSheet(info.CurrentSheetNo));

    // The creator records stay those of this document's creation, and so
    // does the product record when the file has none.
    TState& s = *state_;
    if (!f.product)
        f.product = std::move(s.product);
    f.creatorE = std::move(s.creatorE);
    f.creatorJ = std::move(s.creatorJ);
    f.modified = false;
    std::swap(state_, fresh.state_);
    std::lock_guard lock(effectiveLock_);
    paperSnapshot_ = state_->paper;
    effective_.reset();
    effectiveKey_.clear();
}

void RegisterLabelDataClasses()
{
    RegisterDataInfoClasses();
    RegisterLDObjectsClasses();
    RegisterPaperClasses();
    RegisterExtraInfoClasses();
}

}  // namespace orvella
