// Papers as component streams: what is written, legacy entries read, purposes.

#include "paper_fixtures.h"

#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "graphics/graphics_types.h"
#include "paper/paper_info.h"
#include "paper/purpose_list.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

using test::DiscAndTrayPaper;
using test::GridPaper;

bool has(const std::string& text, const std::string& line) { return text.find(line) != std::string::npos; }

struct CutCenterCase {
    int32_t width, height;
    bool cutCenter, widthLine, heightLine;
    const char* cutCenterLine;
};

class CutCenterWriting : public ::testing::TestWithParam<CutCenterCase> {};

// Both a grid paper and a face item follow the same rule.
TEST_P(CutCenterWriting, WritesOneSizeOnlyForSquareNonDefaultHoles)
{
    const CutCenterCase& c = GetParam();
    RegisterPaperClasses();
    auto grid = GridPaper("grid", 1, 1, fsDoughnut);
    grid->Face.CutCenterWidth = c.width;
    grid->Face.CutCenterHeight = c.height;
    auto free = DiscAndTrayPaper("free");
    free->Faces.Items(0).Face.CutCenterWidth = c.width;
    free->Faces.Items(0).Face.CutCenterHeight = c.height;
    for (const TPaperInfo* paper : {static_cast<const TPaperInfo*>(grid.get()), static_cast<const TPaperInfo*>(free.get())}) {
        const std::string text = ObjectBinaryToText(WriteComponent(*paper));
        EXPECT_EQ(has(text, "CutCenter = "), c.cutCenter) << text;
        if (c.cutCenter) {
            EXPECT_TRUE(has(text, c.cutCenterLine)) << text;
        }
        EXPECT_EQ(has(text, "CutCenterWidth = "), c.widthLine) << text;
        EXPECT_EQ(has(text, "CutCenterHeight = "), c.heightLine) << text;
        EXPECT_FALSE(has(text, "FaceType")) << "the legacy code is never written";

        std::unique_ptr<TComponent> back = ReadComponent(WriteComponent(*paper));
        const auto& read = dynamic_cast<const TPaperInfo&>(*back);
        EXPECT_EQ(read.GetCutCenterSize(0).cx, c.width);
        EXPECT_EQ(read.GetCutCenterSize(0).cy, c.height);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CutCenterWriting, ::testing::Values(
    CutCenterCase{410, 410, false, false, false, ""},
    CutCenterCase{150, 150, true, false, false, "CutCenter = 150"},
    CutCenterCase{150, 200, false, true, true, ""},
    // A size equal to its default of 410 is left out like any default.
    CutCenterCase{410, 200, false, false, true, ""}));

std::unique_ptr<TMatrixPaperInfo> readGrid(const std::string& properties)
{
    RegisterPaperClasses();
    const std::string text = "object TMatrixPaperInfo\n  FaceCountX = 1\n  FaceCountY = 1\n" + properties + "end\n";
    std::unique_ptr<TComponent> component = ReadComponent(ObjectTextToBinary(text));
    return std::unique_ptr<TMatrixPaperInfo>(dynamic_cast<TMatrixPaperInfo*>(component.release()));
}

TEST(PaperStream, LegacyFaceTypesSetShapeAndPurpose)
{
    struct {
        int code;
        TFaceShape shape;
        const char* purpose;
    } const table[] = {{0, fsRect, ""},          {1, fsDoughnut, "CD"},     {2, fsRect, "CDCover"},
                       {3, fsRect, "CDCaseTray"}, {4, fsRect, "MOSquare"}, {5, fsRect, "MOSquare"},
                       {6, fsEllipse, ""},        {7, fsRoundRect, ""},     {99, fsBarrelCD, "keep"}};
    for (const auto& row : table) {
        const auto paper = readGrid("  FaceShape = fsBarrelCD\n  FacePurpose = 'keep'\n  FaceType = " +
                                    std::to_string(row.code) + "\n");
        ASSERT_TRUE(paper);
        EXPECT_EQ(paper->GetFaceShape(0), row.shape) << row.code;
        EXPECT_EQ(paper->GetFacePurpose(0), row.purpose) << row.code;
    }
}

TEST(PaperStream, CutCenterZeroMeansTheDefaultHole)
{
    const auto paper = readGrid("  CutCenter = 0\n");
    EXPECT_EQ(paper->GetCutCenterSize(0).cx, 410);
    EXPECT_EQ(paper->GetCutCenterSize(0).cy, 410);
    EXPECT_EQ(readGrid("  CutCenter = 220\n")->GetCutCenterSize(0).cy, 220);
}

TEST(PaperStream, LandscapeIsReadBeforeTheSizesSoUprightFieldsComeBack)
{
    RegisterPaperClasses();
    auto paper = GridPaper("grid", 2, 2);
    paper->Landscape = true;
    std::unique_ptr<TComponent> back = ReadComponent(WriteComponent(*paper));
    const auto& read = dynamic_cast<const TMatrixPaperInfo&>(*back);
    EXPECT_TRUE(read.Landscape);
    EXPECT_EQ(read.PortraitWidth, 2100);
    EXPECT_EQ(read.PortraitHeight, 2970);
    EXPECT_EQ(read.Width(), 2970);
}

TEST(PaperStream, PurposeListIsStoredOnlyWhenAsked)
{
    RegisterPaperClasses();
    auto paper = GridPaper("grid", 1, 1);
    SetDefaultPurposes(paper->PurposeList);
    EXPECT_FALSE(has(ObjectBinaryToText(WriteComponent(*paper)), "PurposeList"));
    paper->StorePurposeList = true;
    const std::string text = ObjectBinaryToText(WriteComponent(*paper));
    EXPECT_TRUE(has(text, "PurposeList = <")) << text;
    EXPECT_TRUE(has(text, "ShapeMask = [fsRect, fsRoundRect]")) << text;

    std::unique_ptr<TComponent> back = ReadComponent(WriteComponent(*paper));
    const auto& read = dynamic_cast<const TPaperInfo&>(*back);
    ASSERT_EQ(read.PurposeList.Count(), 5u);
    EXPECT_EQ(read.PurposeList.Items(2).ID, "CDCaseTray");
    EXPECT_FALSE(read.StorePurposeList) << "a runtime switch, never stored";
}

TEST(PaperStream, CloneCopiesEveryFieldOfBothKinds)
{
    RegisterPaperClasses();
    auto grid = GridPaper("grid", 3, 2, fsRectCD);
    grid->Face.RoundSize = 60;
    grid->Face.CenterShape = csBarrel;
    grid->ReadOnly = true;
    SetDefaultPurposes(grid->PurposeList);
    grid->StorePurposeList = true;
    auto free = DiscAndTrayPaper("free");
    free->StorePurposeList = true;
    for (const TPaperInfo* paper : {static_cast<const TPaperInfo*>(grid.get()), static_cast<const TPaperInfo*>(free.get())}) {
        std::unique_ptr<TPaperInfo> copy = paper->Clone();
        EXPECT_EQ(copy->ClassName(), paper->ClassName());
        EXPECT_FALSE(copy->StorePurposeList);
        copy->StorePurposeList = true;
        EXPECT_EQ(WriteComponent(*copy), WriteComponent(*paper));
    }
}

TEST(Purposes, ObsoleteIdsAreRenamedOnFacesAndDroppedFromLists)
{
    auto paper = GridPaper("grid", 1, 1);
    for (const auto& [stored, reported] : {std::pair{"FD", "MOSquare"}, {"MO", "MOSquare"}, {"CDCase", "CDCaseTray"},
                                           {"cdcase", "cdcase"}, {"CD", "CD"}}) {
        paper->Face.FacePurpose = stored;
        EXPECT_EQ(paper->GetFacePurpose(0), reported) << stored;
    }

    TPurposeList withObsolete;
    for (const char* id : {"MO", "CD", "FD", "Custom", "CDCase"})
        withObsolete.Add().ID = id;
    TPurposeList assigned;
    assigned.Assign(withObsolete);
    ASSERT_EQ(assigned.Count(), 2u);
    EXPECT_EQ(assigned.Items(0).ID, "CD");
    EXPECT_EQ(assigned.Items(1).ID, "Custom");

    TPurposeList target;
    SetDefaultPurposes(target);
    EXPECT_TRUE(MergePurposeList(target, withObsolete)) << "Custom is new";
    EXPECT_EQ(target.Count(), 6u);
    EXPECT_EQ(target.IndexOf("custom"), 5) << "IDs compare without case";
    EXPECT_EQ(target.IndexOf("MO"), -1);
    EXPECT_FALSE(MergePurposeList(target, withObsolete));

    TPurposeList read;
    ReadPurposeList(WritePurposeList(withObsolete), read);
    EXPECT_EQ(read.Count(), 2u) << "loading cleans too";
}

}  // namespace
}  // namespace orvella
