#include "paper/papers.h"

#include "formats/class_registry.h"
#include "formats/component_stream.h"
#include "formats/doc_stream.h"
#include "formats/property_table.h"
#include "paper/numbered_name.h"
#include "paper/read_as.h"
#include "platform/cp932.h"

#include <algorithm>
#include <filesystem>

namespace orvella {

namespace {

constexpr const char* kPapersStorage = "Papers";
constexpr const char* kPurposeListStream = "PurposeList\\PurposeList";
constexpr const char* kUpdateInfoStream = "UpdateInfo\\UpdateInfo";
constexpr const char* kCompanyListStream = "CompanyList\\CompanyList";
constexpr const char* kGroupListStream = "GroupList\\GroupList";
constexpr const char* kGlobalInfoStorage = "GlobalInfo";

std::string readStream(TDocStorage& storage, std::string_view path)
{
    TDocStream stream(storage, dmRead, path);
    return stream.ReadAll();
}

void writeStream(TDocStorage& storage, std::string_view path, std::string_view bytes)
{
    TDocStream stream(storage, dmCreate, path);
    stream.WriteAll(bytes);
}

// Keeps a catalog's modified state across work that only completes its layout.
class TUnmodifiedScope {
public:
    explicit TUnmodifiedScope(TPapers& papers) : papers_(papers), wasModified_(papers.Modified()) {}
    ~TUnmodifiedScope()
    {
        if (!wasModified_)
            papers_.MarkUnmodified();
    }

private:
    TPapers& papers_;
    bool wasModified_;
};

}  // namespace

const TClassInfo& TPaperUpdate::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TPaperUpdate, TComponent>("TPaperUpdate", {
        IntegerProperty("PPRNo", &TPaperUpdate::PPRNo),
        FloatProperty("LastUpdate", &TPaperUpdate::LastUpdate),
    });
    return info;
}

void RegisterCatalogClasses()
{
    RegisterPaperClasses();
    RegisterExtraInfoClasses();
    RegisterClasses({&TPaperUpdate::StaticClassInfo()});
}

std::string JoinCatalogLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += EncodeCp932(line) + "\r\n";
    return text;
}

std::vector<std::string> SplitCatalogLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(DecodeCp932(line));
        start = end + 1;
    }
    return lines;
}

// ---- TPapers

TPapers::TPapers(const std::string& fileName, bool, bool readOnly, bool startEmpty)
    : fileName_(fileName), readOnly_(readOnly), root_(std::make_unique<TTemporaryStorage>())
{
    RegisterCatalogClasses();
    try {
        if (!startEmpty && std::filesystem::exists(fileName))
            root_->LoadFromFile(fileName, !readOnly);  // a catalog open for writing is held
        if (root_->StreamExists(kPurposeListStream))
            ReadPurposeList(readStream(*root_, kPurposeListStream), purposes_);
        else
            SetDefaultPurposes(purposes_);
        papers_ = std::make_unique<TDocStorage>(*root_, true, kPapersStorage);
        loadPapers();
    } catch (const std::exception& error) {
        failOpen(error);
    }
    root_->MarkSaved();
}

TPapers::~TPapers() = default;

void TPapers::failOpen(const std::exception& error) const
{
    const std::string name = std::filesystem::path(fileName_).filename().string();
    throw EPaperCatalog("用紙情報ファイル「" + name + "」が開けませんでした: " + error.what());
}

void TPapers::loadPapers()
{
    std::vector<std::string> names;
    papers_->ListStreams(names);
    std::sort(names.begin(), names.end());
    entries_.clear();
    entries_.reserve(names.size());
    for (const std::string& name : names) {
        const std::string element = std::string(kPapersStorage) + "\\" + name;
        std::unique_ptr<TPaperInfo> paper = ReadElementAs<TPaperInfo>(readStream(*papers_, name), element);
        const auto* matrix = dynamic_cast<const TMatrixPaperInfo*>(paper.get());
        if ((matrix && int64_t(matrix->FaceCountX) * matrix->FaceCountY > kMaxFaceCount) ||
            paper->GetFaceCount() > kMaxFaceCount)
            ThrowDamagedElement(element, "ラベルが多すぎます");
        MergePurposeList(paper->PurposeList, purposes_);
        entries_.push_back({name, std::move(paper)});
    }
}

void TPapers::Close()
{
    if (!readOnly_ && Modified())
        Flush();
}

void TPapers::Flush()
{
    if (readOnly_)
        return;
    root_->SaveToFile(fileName_);
}

const TPaperInfo& TPapers::Papers(int index) const { return *entries_.at(std::size_t(index)).Paper; }

const std::string& TPapers::StreamName(int index) const { return entries_.at(std::size_t(index)).StreamName; }

int TPapers::IndexOfName(std::string_view paperName) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].Paper->PaperName == paperName)
            return int(i);
    return -1;
}

std::vector<std::string> TPapers::streamNames() const
{
    std::vector<std::string> names;
    for (const Entry& entry : entries_)
        names.push_back(entry.StreamName);
    return names;
}

void TPapers::sortEntries()
{
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.StreamName < b.StreamName; });
}

void TPapers::writePurposeList() { writeStream(*root_, kPurposeListStream, WritePurposeList(purposes_)); }

void TPapers::Store(const TPaperInfo& paper)
{
    if (MergePurposeList(purposes_, paper.PurposeList))
        writePurposeList();

    // The catalog keeps upright sizes and the paper's purposes.
    std::unique_ptr<TPaperInfo> stored = paper.Clone();
    stored->Landscape = false;
    stored->StorePurposeList = true;
    const std::string bytes = WriteComponent(*stored);

    int index = IndexOfName(paper.PaperName);
    std::string streamName = index >= 0 ? entries_[std::size_t(index)].StreamName
                                        : NumberedName(NextNameNumber(streamNames()));
    writeStream(*papers_, streamName, bytes);
    if (index >= 0) {
        entries_[std::size_t(index)].Paper = paper.Clone();
    } else {
        entries_.push_back({streamName, paper.Clone()});
        sortEntries();
    }
    MarkModified();
}

void TPapers::Delete(int index)
{
    const Entry& entry = entries_.at(std::size_t(index));
    papers_->DestroyElement(entry.StreamName);
    entries_.erase(entries_.begin() + index);
    MarkModified();
}

void TPapers::Reorder(const std::vector<std::string>& names)
{
    const uint64_t first = NextNameNumber(streamNames());
    if (first + entries_.size() > UINT32_MAX)
        throw EPaperCatalog("用紙情報の番号が尽きました");
    struct Resort {
        TPapers& papers;
        ~Resort()
        {
            papers.sortEntries();
            papers.MarkModified();
        }
    } resort{*this};
    for (std::size_t j = 0; j < entries_.size(); ++j) {
        const int index = j < names.size() ? IndexOfName(names[j]) : -1;
        if (index < 0)
            throw EPaperCatalog("Bad paper name");
        Entry& entry = entries_[std::size_t(index)];
        const std::string newName = NumberedName(uint32_t(first + j));
        papers_->RenameElement(entry.StreamName, newName);
        entry.StreamName = newName;
    }
}

void TPapers::GetGroupNames(std::vector<std::string>& names) const
{
    for (const Entry& entry : entries_)
        if (std::find(names.begin(), names.end(), entry.Paper->GroupName) == names.end())
            names.push_back(entry.Paper->GroupName);
}

void TPapers::SetPurposeList(const TPurposeList& list)
{
    purposes_.Assign(list);
    writePurposeList();
    MarkModified();
}

bool TPapers::Modified() const { return root_->IsModified(); }
void TPapers::MarkModified() { root_->MarkModified(); }
void TPapers::MarkUnmodified() { root_->MarkSaved(); }

// ---- TPapersV2

TPapersV2::TPapersV2(const std::string& fileName, bool workOnCopy, bool readOnly, bool startEmpty)
    : TPapers(fileName, workOnCopy, readOnly, startEmpty)
{
    TUnmodifiedScope unmodified(*this);
    TRootStorage& root = Storage();
    try {
        if (root.StreamExists(kUpdateInfoStream)) {
            std::unique_ptr<TPaperUpdate> stamp = ReadElementAs<TPaperUpdate>(readStream(root, kUpdateInfoStream),
                                                                                kUpdateInfoStream);
            update_.PPRNo = stamp->PPRNo;
            update_.LastUpdate = stamp->LastUpdate;
        } else {
            writeUpdateInfo();
        }
        if (root.StreamExists(kCompanyListStream))
            companies_ = SplitCatalogLines(readStream(root, kCompanyListStream));
        else
            writeStream(root, kCompanyListStream, "");
        if (root.StreamExists(kGroupListStream))
            groups_ = SplitCatalogLines(readStream(root, kGroupListStream));
        else
            writeStream(root, kGroupListStream, "");
    } catch (const std::exception& error) {
        failOpen(error);
    }
}

TPapersV2::~TPapersV2() = default;

void TPapersV2::writeUpdateInfo() { writeStream(Storage(), kUpdateInfoStream, WriteComponent(update_)); }

void TPapersV2::SetUpdateInfo(int32_t pprNo, double lastUpdate)
{
    update_.PPRNo = pprNo;
    update_.LastUpdate = lastUpdate;
    writeUpdateInfo();
    MarkModified();
}

void TPapersV2::SetCompanyList(std::vector<std::string> lines)
{
    if (lines == companies_)
        return;
    writeStream(Storage(), kCompanyListStream, JoinCatalogLines(lines));
    companies_ = std::move(lines);
    MarkModified();
}

void TPapersV2::SetGroupList(std::vector<std::string> lines)
{
    if (lines == groups_)
        return;
    writeStream(Storage(), kGroupListStream, JoinCatalogLines(lines));
    groups_ = std::move(lines);
    MarkModified();
}

void TPapersV2::Delete(int index)
{
    const std::string paperName = Papers(index).PaperName;
    for (const auto& section : sections_)
        section->Delete(paperName);
    TPapers::Delete(index);
}

void TPapersV2::AddExtraInfo(std::unique_ptr<TExtraInfoBase> section)
{
    TUnmodifiedScope unmodified(*this);
    try {
        section->Attach(std::make_unique<TDocStorage>(Storage(), true, section->Name()));
    } catch (const std::exception& error) {
        failOpen(error);
    }
    sections_.push_back(std::move(section));
}

void TPapersV2::AddStandardSections()
{
    AddExtraInfo(std::make_unique<TExInfoBase>());
    AddExtraInfo(std::make_unique<TImageInfoBase>());
}

TExtraInfoBase* TPapersV2::FindExtraInfo(std::string_view sectionName) const
{
    for (const auto& section : sections_)
        if (section->Name() == sectionName)
            return section.get();
    return nullptr;
}

std::vector<std::string> TPapersV2::SectionNames() const
{
    std::vector<std::string> names;
    for (const auto& section : sections_)
        names.push_back(section->Name());
    return names;
}

std::unique_ptr<TExtraPaperInfo> TPapersV2::GetExtraInfo(std::string_view sectionName,
                                                          const std::string& paperName) const
{
    TExtraInfoBase* section = FindExtraInfo(sectionName);
    return section ? section->Get(paperName) : nullptr;
}

void TPapersV2::StoreExtraInfo(std::string_view sectionName, const TExtraPaperInfo& record)
{
    TExtraInfoBase* section = FindExtraInfo(sectionName);
    if (!section || record.PaperName.empty())
        return;
    section->Store(record);
    MarkModified();
}

void TPapersV2::DeleteExtraInfo(std::string_view sectionName, const std::string& paperName)
{
    if (TExtraInfoBase* section = FindExtraInfo(sectionName)) {
        section->Delete(paperName);
        MarkModified();
    }
}

void TPapersV2::ReadGlobalInfo(std::string_view key, std::vector<std::string>& lines) const
{
    const std::string path = std::string(kGlobalInfoStorage) + "\\" + std::string(key);
    if (key.empty() || !Storage().StreamExists(path))
        return;
    lines = SplitCatalogLines(readStream(Storage(), path));
}

void TPapersV2::WriteGlobalInfo(std::string_view key, const std::vector<std::string>& lines)
{
    writeStream(Storage(), std::string(kGlobalInfoStorage) + "\\" + std::string(key), JoinCatalogLines(lines));
    MarkModified();
}

void TPapersV2::CopyGlobalInfoFrom(const TPapersV2& source)
{
    if (!source.Storage().StorageExists(kGlobalInfoStorage))
        return;
    TDocStorage from(source.Storage(), false, kGlobalInfoStorage);
    Storage().DestroyElement(kGlobalInfoStorage);
    TDocStorage to(Storage(), true, kGlobalInfoStorage);
    from.CopyTo(to);
    MarkModified();
}

}  // namespace orvella
