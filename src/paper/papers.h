#pragma once
// The paper catalog: an ordered, named collection of papers in a compound
// file (".ppr"; exported user papers ".ppb" have the same layout). The file
// is copied into a private in-memory compound file when the catalog opens;
// all work goes there, and the file itself is replaced (through a temporary
// file and a rename) only when a writable, modified catalog is closed.
//
// Layout: "Papers\$nnnnnnnn" one paper per stream; "PurposeList\PurposeList";
// "UpdateInfo\UpdateInfo"; "CompanyList\CompanyList" and
// "GroupList\GroupList" (CP932 text, CR LF lines); "GlobalInfo\<key>" texts
// other parts of the program read; the sections "ExtraInfos" and
// "PaperImages". Catalog files are downloaded and exchanged, so everything
// read from them is checked; a damaged file raises EPaperCatalog.

#include "formats/component.h"
#include "formats/doc_storage.h"
#include "paper/extra_info.h"
#include "paper/paper_error.h"
#include "paper/paper_info.h"
#include "paper/purpose_list.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

// The catalog's data release stamp.
class TPaperUpdate : public TComponent {
    ORVELLA_PERSISTENT(TPaperUpdate)

public:
    int32_t PPRNo = 0;
    double LastUpdate = 0;  // date-time: days since 1899-12-30
};

class TPapers {
public:
    // Opens fileName (a missing file gives an empty catalog). A read-only
    // catalog is never written back. With startEmpty the file's present
    // content is ignored; closing replaces it. workOnCopy is kept for
    // callers: every catalog works on a private copy.
    TPapers(const std::string& fileName, bool workOnCopy, bool readOnly, bool startEmpty = false);
    virtual ~TPapers();
    TPapers(const TPapers&) = delete;
    TPapers& operator=(const TPapers&) = delete;

    const std::string& FileName() const { return fileName_; }
    bool ReadOnly() const { return readOnly_; }

    // Writes the file when the catalog is writable and modified. Destroying
    // a catalog never writes it: a failure must reach the caller.
    void Close();
    // Writes the file now when the catalog is writable, modified or not.
    void Flush();

    int Count() const { return int(entries_.size()); }
    // The catalog's own paper; copy it before changing it.
    const TPaperInfo& Papers(int index) const;
    // The stream that holds the paper ("$00000001").
    const std::string& StreamName(int index) const;
    // Exact, case-sensitive; -1 when absent.
    int IndexOfName(std::string_view paperName) const;

    // Adds or replaces the paper of that name; the catalog keeps a copy.
    void Store(const TPaperInfo& paper);
    virtual void Delete(int index);
    // names lists every paper once in the wanted order; the papers get new,
    // higher numbers. A name not in the catalog raises "Bad paper name".
    void Reorder(const std::vector<std::string>& names);
    // Appends every distinct group name not yet in the list, in catalog order.
    void GetGroupNames(std::vector<std::string>& names) const;

    const TPurposeList& PurposeList() const { return purposes_; }
    void SetPurposeList(const TPurposeList& list);

    bool Modified() const;
    void MarkModified();
    void MarkUnmodified();
    TRootStorage& Storage() const { return *root_; }

protected:
    // Wraps a failure while opening or reading into a message naming the file.
    [[noreturn]] void failOpen(const std::exception& error) const;

private:
    struct Entry {
        std::string StreamName;
        std::unique_ptr<TPaperInfo> Paper;
    };

    void loadPapers();
    void writePurposeList();
    void sortEntries();
    std::vector<std::string> streamNames() const;

    std::string fileName_;
    bool readOnly_;
    std::unique_ptr<TTemporaryStorage> root_;
    std::unique_ptr<TDocStorage> papers_;
    std::vector<Entry> entries_;  // sorted by stream name: the catalog order
    TPurposeList purposes_;
};

class TPapersV2 : public TPapers {
public:
    TPapersV2(const std::string& fileName, bool workOnCopy, bool readOnly, bool startEmpty = false);
    ~TPapersV2() override;

    void Delete(int index) override;

    const TPaperUpdate& UpdateInfo() const { return update_; }
    void SetUpdateInfo(int32_t pprNo, double lastUpdate);
    const std::vector<std::string>& CompanyList() const { return companies_; }
    void SetCompanyList(std::vector<std::string> lines);
    const std::vector<std::string>& GroupList() const { return groups_; }
    void SetGroupList(std::vector<std::string> lines);

    // Opens (creating when absent) the section's storage and attaches it.
    void AddExtraInfo(std::unique_ptr<TExtraInfoBase> section);
    // Both sections every catalog of the program carries.
    void AddStandardSections();
    TExtraInfoBase* FindExtraInfo(std::string_view sectionName) const;
    std::vector<std::string> SectionNames() const;
    std::unique_ptr<TExtraPaperInfo> GetExtraInfo(std::string_view sectionName, const std::string& paperName) const;
    // Does nothing for a record without a paper name or a missing section.
    void StoreExtraInfo(std::string_view sectionName, const TExtraPaperInfo& record);
    void DeleteExtraInfo(std::string_view sectionName, const std::string& paperName);

    // The lines of "GlobalInfo\<key>"; lines stays untouched when there is none.
    void ReadGlobalInfo(std::string_view key, std::vector<std::string>& lines) const;
    void WriteGlobalInfo(std::string_view key, const std::vector<std::string>& lines);
    // Replaces this catalog's "GlobalInfo" by a copy of the other's, when it has one.
    void CopyGlobalInfoFrom(const TPapersV2& source);

private:
    void writeUpdateInfo();

    TPaperUpdate update_;
    std::vector<std::string> companies_;
    std::vector<std::string> groups_;
    std::vector<std::unique_ptr<TExtraInfoBase>> sections_;
};

// Registers every class a catalog stores (once; repeating is harmless).
void RegisterCatalogClasses();

// CP932 text with CR LF line ends, and back (a lone LF also ends a line).
std::string JoinCatalogLines(const std::vector<std::string>& lines);
std::vector<std::string> SplitCatalogLines(std::string_view bytes);

}  // namespace orvella
