// Catalog files: written and read back equal, written only when they should
// be, replaced whole, and refused clearly when damaged.

#include "paper_fixtures.h"

#include "formats/compound_file.h"
#include "formats/doc_stream.h"
#include "formats/component_stream.h"
#include "formats/storage_error.h"
#include "formats/stream_format.h"
#include "paper/copy_papers.h"
#include "paper/program_catalog.h"
#include "paper/face_info.h"
#include "paper/papers.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvella {
namespace {

namespace fs = std::filesystem;
using test::DiscAndTrayPaper;
using test::GridPaper;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Everything a catalog holds, as comparable text.
std::vector<std::string> contents(const TPapersV2& catalog)
{
    std::vector<std::string> lines;
    for (int i = 0; i < catalog.Count(); ++i) {
        // A paper's purposes gain the catalog's when it is loaded; those are compared below.
        std::unique_ptr<TPaperInfo> paper = catalog.Papers(i).Clone();
        lines.push_back(catalog.StreamName(i) + " " + WriteComponent(*paper));
        for (const char* section : {"ExtraInfos", "PaperImages"})
            if (auto record = catalog.GetExtraInfo(section, paper->PaperName)) {
                std::string faces;
                if (auto* image = dynamic_cast<TImagePaperInfo*>(record.get()))
                    for (const TFaceObjectList& list : image->FaceObjects)
                        faces += "|" + list.Bytes;
                lines.push_back(std::string(section) + " " + WriteComponent(*record) + faces);
            }
    }
    TPLStreamer purposes;
    purposes.List.Assign(catalog.PurposeList());
    lines.push_back(WriteComponent(purposes));
    lines.push_back(std::to_string(catalog.UpdateInfo().PPRNo) + " " + std::to_string(catalog.UpdateInfo().LastUpdate));
    for (const auto& list : {catalog.CompanyList(), catalog.GroupList()})
        for (const std::string& line : list)
            lines.push_back(line);
    std::vector<std::string> genre;
    catalog.ReadGlobalInfo("GenreInfo", genre);
    lines.insert(lines.end(), genre.begin(), genre.end());
    return lines;
}

void fill(TPapersV2& catalog)
{
    catalog.AddStandardSections();
    auto grid = GridPaper("グリッド 2x3", 2, 3, fsBarrelCD);
    grid->Face.CenterShape = csBarrel;
    grid->Face.CutCenterWidth = 150;
    grid->ReadOnly = true;
    grid->PurposeList.Add().ID = "Sticker";
    catalog.Store(*grid);
    catalog.Store(*DiscAndTrayPaper("ディスク+トレイ"));
    TExPaperInfo extra;
    extra.PaperName = "グリッド 2x3";
    extra.Company = "エーワン";
    extra.Purpose = "CDラベル";
    extra.RoundSize = 40;
    catalog.StoreExtraInfo("ExtraInfos", extra);
    TImagePaperInfo image;
    image.PaperName = "ディスク+トレイ";
    image.FaceObjects = {{std::string("\1\0\0\0TPF0\x05", 9)}, {}};
    catalog.StoreExtraInfo("PaperImages", image);
    catalog.SetUpdateInfo(3, 46000.25);
    catalog.SetCompanyList({"エーワン", "Avery"});
    catalog.SetGroupList({"グリッド", "Free"});
    catalog.WriteGlobalInfo("GenreInfo", {"グリッド=CD-R・DVDラベル", "Free=ダイレクトプリント\\その他"});
}

TEST(CatalogFile, WhatIsWrittenReadsBackEqual)
{
    TempDir dir;
    std::vector<std::string> written;
    {
        TPapersV2 catalog(dir.File("c.ppr"), true, false);
        fill(catalog);
        written = contents(catalog);
        catalog.Close();
    }
    ASSERT_TRUE(IsCompoundFile(ReadFile(dir.File("c.ppr"))));
    TPapersV2 reopened(dir.File("c.ppr"), true, true);
    reopened.AddStandardSections();
    EXPECT_EQ(contents(reopened), written);
    const TPurposeList& purposes = reopened.Papers(0).PurposeList;
    EXPECT_GE(purposes.IndexOf("Sticker"), 0) << "the paper's own purposes are kept";
    EXPECT_GE(purposes.IndexOf("CDCover"), 0) << "and the catalog's merged in";
    EXPECT_FALSE(reopened.Modified()) << "opening and attaching change nothing";
}

TEST(CatalogFile, OnlyAWritableModifiedCatalogWritesItsFile)
{
    TempDir dir;
    const std::string file = dir.File("c.ppr");
    {
        TPapersV2 untouched(file, true, false);
        untouched.AddStandardSections();
        untouched.Close();
    }
    EXPECT_FALSE(fs::exists(file)) << "nothing changed, nothing written";
    {
        TPapersV2 catalog(file, true, false);
        catalog.Store(*GridPaper("p", 1, 1));
        catalog.Close();
    }
    const std::string before = ReadFile(file);
    {
        TPapersV2 readOnly(file, true, true);
        readOnly.Store(*GridPaper("q", 1, 1));
        EXPECT_EQ(readOnly.Count(), 2) << "changes live in memory";
        readOnly.Close();
    }
    EXPECT_EQ(ReadFile(file), before);
    {
        TPapersV2 catalog(file, true, false);
        catalog.Store(*GridPaper("q", 1, 1));
        EXPECT_EQ(ReadFile(file), before) << "the file is written on closing, not before";
        catalog.Close();
    }
    EXPECT_EQ(TPapersV2(file, true, true).Count(), 2);
}

TEST(CatalogFile, UserPapersAreSavedWholeAndLoadedOverTheSystemCatalog)
{
    TempDir dir;
    const std::string systemFile = dir.File("orvella.ppr");
    {
        TPapersV2 system(systemFile, true, false);
        system.AddStandardSections();
        auto paper = GridPaper("shared name", 1, 2, fsDoughnut);
        paper->ReadOnly = true;
        system.Store(*paper);
        system.Close();
    }
    const std::string userFile = dir.File("user/UserPaper.ppr");
    fs::create_directories(dir.File("user"));
    {
        auto catalog = OpenProgramCatalog(systemFile, userFile);
        EXPECT_FALSE(catalog->Modified());
        catalog->Store(*GridPaper("shared name", 3, 3));
        catalog->Store(*GridPaper("mine", 1, 1));
        TExPaperInfo extra;
        extra.PaperName = "mine";
        extra.Company = "Me";
        catalog->StoreExtraInfo("ExtraInfos", extra);
        SaveUserPapers(*catalog, userFile);
    }
    {
        auto catalog = OpenProgramCatalog(systemFile, userFile);
        EXPECT_FALSE(catalog->Modified());
        std::vector<std::string> names;
        for (int i = 0; i < catalog->Count(); ++i)
            names.push_back(catalog->Papers(i).PaperName);
        EXPECT_EQ(names, (std::vector<std::string>{"shared name", "shared name$", "mine"}));
        EXPECT_TRUE(catalog->Papers(0).ReadOnly) << "the system paper is the one kept under its name";
        EXPECT_TRUE(catalog->GetExtraInfo("ExtraInfos", "mine"));

        // Deleting every user paper must reach the file too.
        catalog->Delete(catalog->IndexOfName("mine"));
        catalog->Delete(catalog->IndexOfName("shared name$"));
        SaveUserPapers(*catalog, userFile);
    }
    EXPECT_EQ(TPapersV2(userFile, true, true).Count(), 0);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.File("user")))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"UserPaper.ppr"}) << "no temporary file stays behind";
}

// A reload after a paper update must not cost the user the papers added
// since the start; a reload that fails keeps the catalog in use.
TEST(CatalogFile, AReloadSavesTheUsersPapersFirstAndKeepsTheCatalogOnFailure)
{
    TempDir dir;
    const std::string systemFile = dir.File("share/orvella.ppr");
    fs::create_directories(dir.File("share"));
    {
        TPapersV2 system(systemFile, true, false);
        system.AddStandardSections();
        auto paper = GridPaper("system", 1, 1);
        paper->ReadOnly = true;
        system.Store(*paper);
        system.Close();
    }
    const std::string userFile = dir.File("user/Orvella/1.0/UserPaper.ppr");
    SetProgramPapers(OpenProgramCatalog(systemFile, userFile));
    ProgramPapers().Store(*GridPaper("added", 2, 1));
    ProgramPapers().MarkModified();

    ReloadProgramPapers(systemFile, userFile);
    EXPECT_GE(ProgramPapers().IndexOfName("added"), 0);
    EXPECT_FALSE(ProgramPapers().Modified());
    EXPECT_EQ(TPapersV2(userFile, true, true).Count(), 1);

    TPapersV2* inUse = &ProgramPapers();
    WriteFile(systemFile, "no catalog");
    EXPECT_ANY_THROW(ReloadProgramPapers(systemFile, userFile));
    EXPECT_EQ(&ProgramPapers(), inUse);
    SetProgramPapers(nullptr);
}

// Writes a catalog with one paper, then lets the test damage its bytes.
std::string validCatalog(const TempDir& dir)
{
    const std::string file = dir.File("valid.ppr");
    fs::remove(file);
    TPapersV2 catalog(file, true, false);
    catalog.Store(*GridPaper("p", 1, 1));
    catalog.Close();
    return ReadFile(file);
}

void expectRefused(const std::string& file, const std::vector<std::string>& fragments)
{
    try {
        TPapersV2 catalog(file, true, true);
        catalog.AddStandardSections();
        FAIL() << "a damaged catalog was accepted";
    } catch (const EPaperCatalog& error) {
        const std::string message = error.what();
        for (const std::string& fragment : fragments)
            EXPECT_NE(message.find(fragment), std::string::npos) << message;
    }
}

TEST(CatalogFile, DamagedFilesAreRefusedWithAMessageNamingTheFile)
{
    TempDir dir;
    const std::string bytes = validCatalog(dir);
    WriteFile(dir.File("short.ppr"), bytes.substr(0, bytes.size() / 2));
    expectRefused(dir.File("short.ppr"), {"用紙情報ファイル「short.ppr」が開けませんでした"});
    WriteFile(dir.File("text.ppr"), "not a compound file at all");
    expectRefused(dir.File("text.ppr"), {"text.ppr"});
}

TEST(CatalogFile, DamagedElementsAreNamedInTheMessage)
{
    TempDir dir;
    struct {
        const char* path;
        std::string bytes;
        const char* named;
    } const damages[] = {
        {"Papers\\$00000001", "garbage", "Papers\\$00000001"},
        {"Papers\\$00000001", WriteComponent(TPaperUpdate()), "TPaperUpdate"},
        {"UpdateInfo\\UpdateInfo", "TPF0\x07", "UpdateInfo"},
        {"PurposeList\\PurposeList", WriteComponent(TPaperUpdate()).substr(0, 10), "valid.ppr"},
    };
    for (const auto& damage : damages) {
        validCatalog(dir);
        {
            TFileStorage storage(dir.File("valid.ppr"), dmReadWrite);
            TDocStream(storage, dmCreate, damage.path).WriteAll(damage.bytes);
            storage.Commit();
        }
        expectRefused(dir.File("valid.ppr"), {"valid.ppr", damage.named});
    }
}

// A catalog with damage anywhere opens or fails with one of the catalog's
// errors; the sanitizer build shows any read past what the file holds.
TEST(CatalogFile, RandomDamageNeverGetsPastTheChecks)
{
    TempDir dir;
    std::string valid;
    {
        const std::string file = dir.File("valid.ppr");
        TPapersV2 catalog(file, true, false);
        fill(catalog);
        catalog.Close();
        valid = ReadFile(file);
    }
    uint32_t seed = 12345;
    auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
    int opened = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = valid;
        for (int hits = 1 + round % 6; hits > 0; --hits)
            bytes[(next() >> 8) % bytes.size()] = char(next() >> 16);
        WriteFile(dir.File("damaged.ppr"), bytes);
        try {
            TPapersV2 catalog(dir.File("damaged.ppr"), true, true);
            catalog.AddStandardSections();
            for (int i = 0; i < catalog.Count(); ++i) {
                TFaceInfo face;
                for (int32_t f = 0; f < catalog.Papers(i).GetFaceCount(); ++f)
                    face.LoadFromPaper(catalog.Papers(i), f);
                catalog.GetExtraInfo("ExtraInfos", catalog.Papers(i).PaperName);
                catalog.GetExtraInfo("PaperImages", catalog.Papers(i).PaperName);
            }
            ++opened;
        } catch (const EPaperCatalog&) {
        } catch (const EStorageError&) {
        } catch (const EFilerError&) {
        }
    }
    EXPECT_GT(opened, 0) << "some damage falls where nothing is read";
}

TEST(CatalogFile, APaperWithAbsurdlyManyFacesIsRefused)
{
    TempDir dir;
    const std::string file = dir.File("many.ppr");
    {
        TPapersV2 catalog(file, true, false);
        catalog.Store(*GridPaper("huge", 50000, 50000));
        catalog.Close();
    }
    expectRefused(file, {"Papers\\$00000001", "ラベルが多すぎます"});
}

}  // namespace
}  // namespace orvella
