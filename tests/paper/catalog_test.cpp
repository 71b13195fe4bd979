// The catalog's operations: numbering, replacing, reordering, sections,
// copying between catalogs.

#include "paper_fixtures.h"

#include "formats/doc_stream.h"
#include "paper/copy_papers.h"
#include "paper/papers.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using test::DiscAndTrayPaper;
using test::GridPaper;
using test::TempDir;

std::vector<std::string> streamNames(const TPapers& catalog)
{
    std::vector<std::string> names;
    for (int i = 0; i < catalog.Count(); ++i)
        names.push_back(catalog.StreamName(i));
    return names;
}

std::vector<std::string> paperNames(const TPapers& catalog)
{
    std::vector<std::string> names;
    for (int i = 0; i < catalog.Count(); ++i)
        names.push_back(catalog.Papers(i).PaperName);
    return names;
}

std::vector<std::string> storedStreams(const TPapers& catalog, const std::string& storage)
{
    std::vector<std::string> names;
    if (catalog.Storage().StorageExists(storage)) {
        TDocStorage papers(catalog.Storage(), false, storage);
        papers.ListStreams(names);
        papers.ListStorages(names);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Catalog : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.File("papers.ppr");
};

TEST_F(Catalog, NewPapersAreNumberedAndStoringAgainReplacesInPlace)
{
    TPapersV2 catalog(file, true, false);
    catalog.Store(*GridPaper("first", 1, 2));
    catalog.Store(*DiscAndTrayPaper("second"));
    EXPECT_EQ(streamNames(catalog), (std::vector<std::string>{"$00000001", "$00000002"}));

    auto changed = GridPaper("first", 3, 3);
    catalog.Store(*changed);
    EXPECT_EQ(streamNames(catalog), (std::vector<std::string>{"$00000001", "$00000002"}));
    EXPECT_EQ(paperNames(catalog), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(catalog.Papers(0).GetFaceCount(), 9);
    EXPECT_EQ(storedStreams(catalog, "Papers"), (std::vector<std::string>{"$00000001", "$00000002"}));

    changed->FaceCountX = 1;
    EXPECT_EQ(catalog.Papers(0).GetFaceCount(), 9) << "the catalog keeps its own copy";
    EXPECT_EQ(catalog.IndexOfName("FIRST"), -1) << "names compare exactly";
}

TEST_F(Catalog, NumbersContinueAfterTheHighestEvenAfterDeletes)
{
    TPapersV2 catalog(file, true, false);
    for (const char* name : {"a", "b", "c"})
        catalog.Store(*GridPaper(name, 1, 1));
    catalog.Delete(1);
    catalog.Store(*GridPaper("d", 1, 1));
    EXPECT_EQ(streamNames(catalog), (std::vector<std::string>{"$00000001", "$00000003", "$00000004"}));
    catalog.Delete(2);
    catalog.Store(*GridPaper("e", 1, 1));
    EXPECT_EQ(streamNames(catalog).back(), "$00000004") << "only numbers above the highest living one";
}

TEST_F(Catalog, ReorderGivesNewHigherNumbersInTheWantedOrder)
{
    TPapersV2 catalog(file, true, false);
    for (const char* name : {"one", "two", "three"})
        catalog.Store(*GridPaper(name, 1, 1));
    catalog.Reorder({"three", "one", "two"});
    EXPECT_EQ(paperNames(catalog), (std::vector<std::string>{"three", "one", "two"}));
    EXPECT_EQ(streamNames(catalog), (std::vector<std::string>{"$00000004", "$00000005", "$00000006"}));
    EXPECT_EQ(storedStreams(catalog, "Papers"), streamNames(catalog));

    try {
        catalog.Reorder({"two", "missing", "one"});
        FAIL() << "a name not in the catalog is refused";
    } catch (const EPaperCatalog& error) {
        EXPECT_STREQ(error.what(), "Bad paper name");
    }
    // "two" already took its new number; the list is sorted again.
    EXPECT_EQ(streamNames(catalog), (std::vector<std::string>{"$00000004", "$00000005", "$00000007"}));
    EXPECT_EQ(paperNames(catalog), (std::vector<std::string>{"three", "one", "two"}));
    EXPECT_THROW(catalog.Reorder({"one"}), EPaperCatalog) << "every paper must be named";
}

TEST_F(Catalog, LandscapePapersAreStoredUpright)
{
    {
        TPapersV2 catalog(file, true, false);
        auto paper = GridPaper("turned", 2, 1);
        paper->Landscape = true;
        catalog.Store(*paper);
        EXPECT_TRUE(paper->Landscape) << "the caller's paper is left as it was";
        catalog.Close();
    }
    TPapersV2 reopened(file, true, true);
    ASSERT_EQ(reopened.Count(), 1);
    EXPECT_FALSE(reopened.Papers(0).Landscape);
    EXPECT_EQ(reopened.Papers(0).Width(), 2100);
    EXPECT_EQ(reopened.Papers(0).Height(), 2970);
}

TEST_F(Catalog, StoringMergesThePapersPurposesIntoTheCatalog)
{
    TPapersV2 catalog(file, true, false);
    ASSERT_EQ(catalog.PurposeList().Count(), 5u) << "a new catalog starts with the default purposes";
    auto paper = GridPaper("own purpose", 1, 1);
    paper->PurposeList.Add().ID = "Sticker";
    paper->PurposeList.Add().ID = "FD";
    catalog.Store(*paper);
    EXPECT_EQ(catalog.PurposeList().Count(), 6u);
    EXPECT_EQ(catalog.PurposeList().IndexOf("Sticker"), 5);
    EXPECT_TRUE(catalog.Storage().StreamExists("PurposeList\\PurposeList"));
}

TEST_F(Catalog, ExtraInfoRecordsAreReplacedAndEmptyOnesDelete)
{
    TPapersV2 catalog(file, true, false);
    catalog.AddStandardSections();
    catalog.Store(*GridPaper("p", 1, 1));
    TExPaperInfo record;
    record.PaperName = "p";
    record.Company = "Maker";
    catalog.StoreExtraInfo("ExtraInfos", record);
    record.Purpose = "Genre";
    catalog.StoreExtraInfo("ExtraInfos", record);
    EXPECT_EQ(storedStreams(catalog, "ExtraInfos"), (std::vector<std::string>{"$00000001"}));
    auto got = catalog.GetExtraInfo("ExtraInfos", "p");
    ASSERT_TRUE(got);
    EXPECT_EQ(dynamic_cast<TExPaperInfo&>(*got).Purpose, "Genre");
    EXPECT_TRUE(got->SameAs(&record));

    TExPaperInfo empty;
    empty.PaperName = "p";
    catalog.StoreExtraInfo("ExtraInfos", empty);
    EXPECT_FALSE(catalog.GetExtraInfo("ExtraInfos", "p"));
    EXPECT_TRUE(storedStreams(catalog, "ExtraInfos").empty());

    TExPaperInfo nameless;
    nameless.Company = "x";
    catalog.StoreExtraInfo("ExtraInfos", nameless);
    catalog.StoreExtraInfo("NoSuchSection", record);
    EXPECT_TRUE(storedStreams(catalog, "ExtraInfos").empty());
    EXPECT_FALSE(catalog.GetExtraInfo("NoSuchSection", "p"));
}

TEST_F(Catalog, DeletingAPaperDeletesItsRecordsInEverySection)
{
    TPapersV2 catalog(file, true, false);
    catalog.AddStandardSections();
    for (const char* name : {"keep", "drop"}) {
        catalog.Store(*GridPaper(name, 1, 2));
        TExPaperInfo extra;
        extra.PaperName = name;
        extra.RoundSize = 30;
        catalog.StoreExtraInfo("ExtraInfos", extra);
        TImagePaperInfo image;
        image.PaperName = name;
        image.FaceObjects = {{std::string("\1\0\0\0pattern", 11)}, {}};
        catalog.StoreExtraInfo("PaperImages", image);
    }
    EXPECT_EQ(storedStreams(catalog, "PaperImages"), (std::vector<std::string>{"$00000001", "$00000002"}));
    catalog.Delete(catalog.IndexOfName("drop"));
    EXPECT_FALSE(catalog.GetExtraInfo("ExtraInfos", "drop"));
    EXPECT_FALSE(catalog.GetExtraInfo("PaperImages", "drop"));
    EXPECT_EQ(storedStreams(catalog, "PaperImages"), (std::vector<std::string>{"$00000001"}));
    EXPECT_TRUE(catalog.GetExtraInfo("ExtraInfos", "keep"));
    EXPECT_TRUE(catalog.GetExtraInfo("PaperImages", "keep"));
}

TEST_F(Catalog, PaperImagesKeepTheirFaceListsByteForByte)
{
    TPapersV2 catalog(file, true, false);
    catalog.AddStandardSections();
    TImagePaperInfo image;
    image.PaperName = "patterned";
    image.SeparatelyDesign = false;
    image.LabelCount = 2;
    image.FaceObjects = {{std::string("\2\0\0\0TPF0first", 13)}, {std::string("\0\0\0\0", 4)}};
    catalog.StoreExtraInfo("PaperImages", image);
    TDocStorage record(catalog.Storage(), false, "PaperImages\\$00000001");
    std::vector<std::string> streams;
    record.ListStreams(streams);
    std::sort(streams.begin(), streams.end());
    EXPECT_EQ(streams, (std::vector<std::string>{"$00000001", "$00000002", "ImageInfo"}));

    auto got = catalog.GetExtraInfo("PaperImages", "patterned");
    ASSERT_TRUE(got);
    EXPECT_TRUE(got->SameAs(&image));
    image.FaceObjects[0].Bytes[5] = 'X';
    EXPECT_FALSE(got->SameAs(&image)) << "face lists take part in the comparison";

    TImagePaperInfo blank;
    blank.PaperName = "patterned";
    blank.FaceObjects = {{std::string("\0\0\0\0", 4)}, {}};
    EXPECT_TRUE(blank.IsEmpty());
    catalog.StoreExtraInfo("PaperImages", blank);
    EXPECT_FALSE(catalog.GetExtraInfo("PaperImages", "patterned")) << "an empty record deletes";
}

TEST_F(Catalog, ImportedUserPapersNamedLikeSystemPapersGetDollarSigns)
{
    TPapersV2 system(dir.File("system.ppr"), true, false);
    system.AddStandardSections();
    for (const char* name : {"A4 disc", "A4 disc$"}) {
        auto paper = GridPaper(name, 1, 2);
        paper->ReadOnly = true;
        system.Store(*paper);
    }
    TPapersV2 user(dir.File("user.ppr"), true, false);
    user.AddStandardSections();
    user.Store(*GridPaper("A4 disc", 2, 2));
    user.Store(*GridPaper("mine", 1, 1));
    TExPaperInfo extra;
    extra.PaperName = "A4 disc";
    extra.Company = "Me";
    user.StoreExtraInfo("ExtraInfos", extra);

    std::vector<int> progress;
    CopyPapers(system, user, true, [&](int position, int count) { progress.push_back(position * 10 + count); }, false);
    EXPECT_EQ(progress, (std::vector<int>{12, 22}));
    EXPECT_EQ(paperNames(system), (std::vector<std::string>{"A4 disc", "A4 disc$", "A4 disc$$", "mine"}));
    EXPECT_EQ(system.Papers(2).GetFaceCount(), 4);
    auto moved = system.GetExtraInfo("ExtraInfos", "A4 disc$$");
    ASSERT_TRUE(moved) << "records follow the renamed paper";
    EXPECT_EQ(dynamic_cast<TExPaperInfo&>(*moved).Company, "Me");
    EXPECT_FALSE(system.GetExtraInfo("ExtraInfos", "A4 disc"));

    // A user paper over a user paper of the same name replaces it; one named
    // like a system paper gets a name of its own again.
    CopyPapers(system, user, true, {}, false);
    EXPECT_EQ(paperNames(system), (std::vector<std::string>{"A4 disc", "A4 disc$", "A4 disc$$", "mine", "A4 disc$$$"}));
}

TEST_F(Catalog, ImportingUserPapersNeverOverwritesAUserPaperWithADollarName)
{
    TPapersV2 catalog(dir.File("catalog.ppr"), true, false);
    catalog.AddStandardSections();
    auto system = GridPaper("A", 1, 1);
    system->ReadOnly = true;
    catalog.Store(*system);
    catalog.Store(*GridPaper("A$", 3, 1));  // imported earlier
    TPapersV2 backup(dir.File("backup.ppr"), true, false);
    backup.AddStandardSections();
    backup.Store(*GridPaper("A", 2, 1));

    CopyPapers(catalog, backup, true, {}, false);
    EXPECT_EQ(paperNames(catalog), (std::vector<std::string>{"A", "A$", "A$$"}));
    EXPECT_EQ(catalog.Papers(1).GetFaceCount(), 3) << "the earlier user paper stays as it was";
    EXPECT_EQ(catalog.Papers(2).GetFaceCount(), 2);
}

TEST_F(Catalog, CopyingSystemPapersTakesTheReleaseAndTheTexts)
{
    TPapersV2 source(dir.File("release.ppr"), true, false);
    source.AddStandardSections();
    auto paper = GridPaper("sys", 1, 1);
    paper->ReadOnly = true;
    source.Store(*paper);
    source.Store(*GridPaper("usr", 1, 1));
    source.SetUpdateInfo(7, 1.5);
    source.SetCompanyList({"Maker A", "メーカーB"});
    source.SetGroupList({"Group"});
    source.WriteGlobalInfo("GenreInfo", {"Group=CD-R・DVDラベル"});

    TPapersV2 destination(file, true, false);
    destination.AddStandardSections();
    destination.WriteGlobalInfo("Stale", {"old"});
    destination.MarkUnmodified();
    CopyPapers(destination, source, false, {}, true);
    EXPECT_TRUE(destination.Modified());
    EXPECT_EQ(paperNames(destination), (std::vector<std::string>{"sys"}));
    EXPECT_EQ(destination.UpdateInfo().PPRNo, 7);
    EXPECT_GT(destination.UpdateInfo().LastUpdate, 40000.0) << "stamped with the current date";
    EXPECT_EQ(destination.CompanyList(), source.CompanyList());
    EXPECT_EQ(destination.GroupList(), source.GroupList());
    std::vector<std::string> lines{"untouched"};
    destination.ReadGlobalInfo("Stale", lines);
    EXPECT_EQ(lines, std::vector<std::string>{"untouched"}) << "GlobalInfo is replaced as a whole";
    destination.ReadGlobalInfo("GenreInfo", lines);
    EXPECT_EQ(lines, std::vector<std::string>{"Group=CD-R・DVDラベル"});
}

TEST_F(Catalog, DuplicateExtraInfoRecordsAreReportedByName)
{
    {
        TPapersV2 catalog(file, true, false);
        catalog.AddStandardSections();
        TExPaperInfo record;
        record.PaperName = "twice";
        record.Company = "x";
        catalog.StoreExtraInfo("ExtraInfos", record);
        // A second stream with the same paper name, as a damaged file may hold.
        TDocStream copy(catalog.Storage(), dmCreate, "ExtraInfos\\$00000009");
        copy.WriteAll(TDocStream(catalog.Storage(), dmRead, "ExtraInfos\\$00000001").ReadAll());
        catalog.Flush();
    }
    TPapersV2 reopened(file, true, true);
    reopened.AddStandardSections();
    try {
        reopened.GetExtraInfo("ExtraInfos", "someone else");
        FAIL() << "the duplicate is found while looking further";
    } catch (const EPaperCatalog& error) {
        EXPECT_STREQ(error.what(), "用紙情報更新エラー(twice)");
    }
}

}  // namespace
}  // namespace orvella
