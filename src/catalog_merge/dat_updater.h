#pragma once
// Merging a new edition's catalog into the installed one: genres and
// background groups the user already has stay, new ones are added, changed
// ones take the new value, and every merged section comes out sorted.

#include "catalog_merge/ini_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {
class TMacroString;
}

namespace orvella::velmont {

// Entries are "name=value" lines.
using TEntryList = std::vector<std::string>;

class TDatUpdater {
public:
    explicit TDatUpdater(TMacroString& macro) : macro_(macro) {}
    virtual ~TDatUpdater() = default;
    TDatUpdater(const TDatUpdater&) = delete;
    TDatUpdater& operator=(const TDatUpdater&) = delete;

    // Merges every section of the new catalog into the installed one and
    // writes it back; does nothing unless both catalogs exist.
    void Update();

protected:
    virtual void OpenFiles() = 0;
    virtual TEntryList ReadEntries(const TIniFile& ini, std::string_view section) = 0;
    virtual void WriteEntries(const TEntryList& entries, TIniFile& ini, std::string_view section) = 0;

    // Opens the two catalogs named by macro texts, each only if it exists.
    void OpenPair(std::string_view newCatalog, std::string_view installedCatalog);

private:
    TMacroString& macro_;
    std::optional<TIniFile> new_;
    std::optional<TIniFile> installed_;
    std::filesystem::path installedPath_;
};

// "Template.dat": per face purpose, "Name" lists genres and "Dir" their folders.
class TTemplateDatUpdater : public TDatUpdater {
public:
    explicit TTemplateDatUpdater(TMacroString& macro);

protected:
    void OpenFiles() override;
    TEntryList ReadEntries(const TIniFile& ini, std::string_view section) override;
    void WriteEntries(const TEntryList& entries, TIniFile& ini, std::string_view section) override;
};

// "BackGrnd.dat": plain sections of keys and values.
class TBackGroundDatUpdater : public TDatUpdater {
public:
    explicit TBackGroundDatUpdater(TMacroString& macro);

protected:
    void OpenFiles() override;
    TEntryList ReadEntries(const TIniFile& ini, std::string_view section) override;
    void WriteEntries(const TEntryList& entries, TIniFile& ini, std::string_view section) override;
};

// The file a macro text names: backslash and slash both separate, and each
// component is matched ignoring case, as the catalogs were written on a
// system that does not tell case apart.
std::filesystem::path ResolveCatalogPath(std::string_view path);

}  // namespace orvella::velmont
