// The label document: sheets, face objects, previews, papers, files, and
// what a damaged or hostile file may reach.

#include "frame/app_frame.h"
#include "formats/byte_reader.h"
#include "formats/component_stream.h"
#include "document/data_info.h"
#include "formats/doc_name_list.h"
#include "formats/doc_stream.h"
#include "document/effective_paper.h"
#include "document/grid.h"
#include "document/document_classes.h"
#include "document/label_data.h"
#include "document/ld_objects.h"
#include "document/product_info.h"
#include "document/sheet_name.h"
#include "formats/stream_format.h"
#include "drawing/do_list.h"
#include "graphics/picture_ex.h"
#include "paper/extra_info.h"
#include "formats/class_registry.h"
#include "document/lo_rect_base.h"
#include "formats/property_table.h"
#include "graphics/bmp_codec.h"
#include "graphics/bitmap_resample.h"
#include "graphics/canvas.h"
#include "graphics/scaler.h"
#include "paper/paper_fixtures.h"
#include "platform/settings_store.h"
#include "platform/zlib_container.h"
#include "support/oracle.h"
#include "support/thrown.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

namespace orvella::test {
namespace {

namespace fs = std::filesystem;

// Every stream of a storage tree by path, with its bytes.
std::map<std::string, std::string> StreamsOf(TRootStorage& root, const std::string& path = "")
{
    std::map<std::string, std::string> streams;
    std::unique_ptr<TDocStorage> storage;
    TDocStorage* at = &root;
    if (!path.empty()) {
        storage = std::make_unique<TDocStorage>(root, false, path);
        at = storage.get();
    }
    std::vector<std::string> names;
    at->ListStreams(names);
    for (const std::string& name : names) {
        const std::string full = path.empty() ? name : path + "\\" + name;
        streams[full] = TDocStream(root, dmRead, full).ReadAll();
    }
    names.clear();
    at->ListStorages(names);
    for (const std::string& name : names)
        streams.merge(StreamsOf(root, path.empty() ? name : path + "\\" + name));
    return streams;
}

std::map<std::string, std::string> StreamsOfFile(const std::string& fileName)
{
    TFileStorage file(fileName, dmRead);
    return StreamsOf(file);
}

// A filled rectangle whose colour is stored: enough to tell objects apart
// after a round trip through a document and to paint a preview.
class TTestLabel : public TLORectBase {
    ORVELLA_PERSISTENT(TTestLabel)

public:
    int32_t Color = 0x0000FF;

    void SetExtent(int32_t width, int32_t height) override
    {
        SetWidth(width);
        SetHeight(height);
    }
    void DrawOutline(TCanvas&) override {}
    void Paint(TCanvas& canvas) override
    {
        canvas.Brush() = TBrush{TColor(Color), TBrushStyle::bsSolid};
        canvas.FillRect(Rect());
    }
};

const TClassInfo& TTestLabel::StaticClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TTestLabel, TLORectBase>("TTestLabel", {IntegerProperty("Color", &TTestLabel::Color)});
    return info;
}

// A rectangle object of that colour.
std::unique_ptr<TTestLabel> MakeLabel(int32_t left, int32_t top, int32_t width, int32_t height, int32_t color)
{
    auto label = std::make_unique<TTestLabel>();
    label->SetBoundsRect({left, top, left + width, top + height});
    label->Color = color;
    return label;
}

// One disc face (nominal width 1180, hole 410) on a 1300 x 1300 sheet.
std::unique_ptr<TFreePaperInfo> SingleDiscPaper(const std::string& name)
{
    auto paper = std::make_unique<TFreePaperInfo>();
    paper->PaperName = name;
    paper->GroupName = "Disc";
    paper->PortraitWidth = 1300;
    paper->PortraitHeight = 1300;
    TFaceItem& face = paper->Faces.Add();
    face.SetRect({60, 60, 1240, 1240});
    face.Face.FaceShape = fsDoughnut;
    return paper;
}

std::unique_ptr<TProductInfo> CopyRecord(const TProductInfo& record)
{
    auto copy = std::make_unique<TProductInfo>();
    copy->Assign(record);
    return copy;
}

// The colours of a face's objects in the order they come back.
std::vector<int32_t> Colors(const std::vector<std::unique_ptr<TDrawObject>>& objects)
{
    std::vector<int32_t> colors;
    for (const auto& object : objects)
        colors.push_back(dynamic_cast<const TTestLabel&>(*object).Color);
    return colors;
}

class LabelDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterDocumentClasses();
        RegisterClass(TTestLabel::StaticClassInfo());
        ResetProductRecordSource();
        ResetDirectPrintSupport();
        ClearFaceObjectHooks();
    }
    void TearDown() override
    {
        ResetProductRecordSource();
        ResetDirectPrintSupport();
        ClearFaceObjectHooks();
    }

    // Saves the objects, given top-first, on a face.
    void SaveFace(TLabelData& doc, int face, std::initializer_list<int32_t> colors)
    {
        std::vector<std::unique_ptr<TTestLabel>> labels;
        TDOList list;
        int32_t offset = 0;
        for (int32_t color : colors) {
            labels.push_back(MakeLabel(20 + offset, 20, 100, 80, color));
            list.Add(*labels.back());
            offset += 10;
        }
        doc.SaveFaceObjects(face, list);
    }

    std::string FaceStream(TLabelData& doc, int face)
    {
        TDocNameList list(doc.Storage(), sheetPath(doc) + "\\NameList");
        return face < list.Count() && list.ElementExists(face) ? list.OpenStream(face, dmRead)->ReadAll() : "<none>";
    }
    std::string sheetPath(TLabelData& doc) { return doc.SheetStoragePath(doc.CurrentSheet()); }

    TempDir dir_;
};

// ---- new documents and their information records

TEST_F(LabelDataTest, NewDocumentHasOneUnmodifiedSheetAndEmptyRecords)
{
    TLabelData doc;
    EXPECT_EQ(doc.SheetCount(), 1);
    EXPECT_EQ(doc.CurrentSheet(), 0);
    EXPECT_EQ(doc.SheetName(), "新規シート1");
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Paper(), nullptr);
    EXPECT_EQ(doc.EffectivePaper(), nullptr);
    EXPECT_EQ(doc.Grid().Size(), 50);
    EXPECT_TRUE(doc.SeparatelyDesign());
    EXPECT_EQ(doc.Opened(), doc.LastSave());

    ASSERT_EQ(doc.ProductInfo().Items.Count(), 10u);
    EXPECT_EQ(doc.ProductInfo().Items.Items(0).FieldName, "メインタイトル");
    EXPECT_EQ(doc.ProductInfo().Items.Items(9).FieldName, "自由項目4");
    ASSERT_EQ(doc.CreatorInfoE().Items.Count(), 11u);
    EXPECT_EQ(doc.CreatorInfoJ().Items.Items(7).FieldName, "ホームページ");
    EXPECT_NE(doc.CreatorInfoE().GUID, doc.CreatorInfoJ().GUID);
    EXPECT_NE(doc.ProductInfo().GUID, TGuid{});
}

TEST_F(LabelDataTest, NewDocumentTakesTheRecordsOfAnInstalledSource)
{
    SetProductRecordSource({.DefaultProduct = [] {
        auto record = NewProductRecord();
        record->Items.Items(0).Info.Lines = {"Best of"};
        return record;
    }});
    TLabelData doc;
    EXPECT_EQ(doc.ProductInfo().Items.Items(0).Info.Lines, std::vector<std::string>{"Best of"});
    EXPECT_EQ(doc.CreatorInfoE().Items.Count(), 11u);  // the default still answers for the rest
    ResetProductRecordSource();
}

TEST_F(LabelDataTest, ProductRecordRoundTripsAndRefusesAGuidOfAnotherLength)
{
    auto record = NewProductRecord();
    record->Items.Items(2).Info.Lines = {"一行目", "second"};
    const std::string bytes = WriteComponent(*record);
    TProductInfo back;
    ReadComponent(bytes, back);
    EXPECT_EQ(back.GUID, record->GUID);
    EXPECT_EQ(back.Items.Items(2).Info.Lines, record->Items.Items(2).Info.Lines);
    EXPECT_EQ(back.Items.Items(2).FieldName, "担当者");

    // The GUID entry's 16-byte payload is preceded by its 32-bit length.
    std::string damaged = bytes;
    const std::size_t at = damaged.find("GUID");
    ASSERT_NE(at, std::string::npos);
    damaged[at + 5] = 15;  // vaBinary's length, one short
    damaged.erase(at + 9, 1);
    TProductInfo refused;
    EXPECT_THROW(ReadComponent(damaged, refused), EReadError);
}

// ---- sheet names

struct NameCase {
    const char* stem;
    std::vector<std::string> used;
    const char* want;
};
class SheetNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(SheetNames, TakeTheFirstFreeNumber)
{
    EXPECT_EQ(NumberedSheetName(GetParam().stem, GetParam().used), GetParam().want);
}

std::vector<std::string> AllNumbers(const std::string& stem)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 1001; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}

INSTANTIATE_TEST_SUITE_P(Table, SheetNames,
                         ::testing::Values(NameCase{"新規シート", {}, "新規シート1"},
                                           NameCase{"新規シート", {"新規シート1", "新規シート2"}, "新規シート3"},
                                           NameCase{"新規シート", {"新規シート2"}, "新規シート1"},
                                           NameCase{"Sheet", {"SHEET1"}, "Sheet2"},
                                           NameCase{"50%offのコピー", {"50%offのコピー1"}, "50%offのコピー2"},
                                           NameCase{"x", AllNumbers("x"), "x1001"}));

TEST(SheetNameStem, KeepsAPercentSignOfTheName) { EXPECT_EQ(CopySheetStem("%s %d%%"), "%s %d%%のコピー"); }

// ---- sheets

TEST_F(LabelDataTest, AddAndCopySheetsNumberTheirNamesAndCarryTheRightContent)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 2, 1));
    SaveFace(doc, 1, {0x11});
    doc.SetSheetName("表");
    doc.CopySheet();
    EXPECT_EQ(doc.SheetName(), "表のコピー1");
    EXPECT_EQ(Colors(doc.LoadFaceObjects(1)), std::vector<int32_t>{0x11});
    doc.AddSheet();
    EXPECT_EQ(doc.SheetName(), "新規シート1");
    EXPECT_FALSE(doc.HasFaceObjects(1));
    ASSERT_NE(doc.Paper(), nullptr);
    EXPECT_EQ(doc.Paper()->PaperName, "A");  // the new sheet keeps the paper in memory
    doc.AddSheet();
    EXPECT_EQ(doc.SheetName(), "新規シート2");
    doc.SelectSheet(1);
    doc.CopySheet();
    EXPECT_EQ(doc.SheetName(), "表のコピー1のコピー1");

    std::vector<std::string> names;
    doc.GetSheetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"表", "表のコピー1", "新規シート1", "新規シート2", "表のコピー1のコピー1"}));
    EXPECT_EQ(doc.CurrentSheet(), 4);
}

TEST_F(LabelDataTest, SelectingASheetKeepsItsPaperAndTheModifiedFlag)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 2, 1));
    doc.AddSheet();
    doc.SetPaper(*SingleDiscPaper("B"));
    doc.SetModified(false);
    doc.SelectSheet(0);
    EXPECT_EQ(doc.Paper()->PaperName, "A");
    EXPECT_FALSE(doc.Modified());
    doc.SetModified(true);
    doc.SelectSheet(1);
    EXPECT_EQ(doc.Paper()->PaperName, "B");
    EXPECT_TRUE(doc.Modified());
    EXPECT_THROW(doc.SelectSheet(2), std::out_of_range);
    EXPECT_THROW(doc.SelectSheet(-1), std::out_of_range);
}

struct DeleteCase {
    int current;
    int wantCurrent;
    const char* wantName;
};
class DeleteSheet : public LabelDataTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteSheet, SelectsTheSheetThatTakesItsPlace)
{
    TLabelData doc;
    doc.SetSheetName("one");
    doc.AddSheet();
    doc.SetSheetName("two");
    doc.AddSheet();
    doc.SetSheetName("three");
    doc.SelectSheet(GetParam().current);
    doc.SetModified(false);
    doc.DeleteSheet();
    EXPECT_EQ(doc.SheetCount(), 2);
    EXPECT_EQ(doc.CurrentSheet(), GetParam().wantCurrent);
    EXPECT_EQ(doc.SheetName(), GetParam().wantName);
    EXPECT_TRUE(doc.Modified());
}

INSTANTIATE_TEST_SUITE_P(Table, DeleteSheet,
                         ::testing::Values(DeleteCase{2, 1, "two"}, DeleteCase{0, 0, "two"}, DeleteCase{1, 1, "three"}));

TEST_F(LabelDataTest, TheOnlySheetCannotBeDeleted)
{
    TLabelData doc;
    EXPECT_THROW(doc.DeleteSheet(), std::logic_error);
    EXPECT_EQ(doc.SheetCount(), 1);
    EXPECT_EQ(doc.SheetName(), "新規シート1");
}

TEST_F(LabelDataTest, MovingASheetKeepsItCurrentAndReordersTheNames)
{
    TLabelData doc;
    doc.SetSheetName("a");
    doc.AddSheet();
    doc.SetSheetName("b");
    doc.AddSheet();
    doc.SetSheetName("c");
    doc.MoveSheet(0);
    EXPECT_EQ(doc.CurrentSheet(), 0);
    EXPECT_EQ(doc.SheetName(), "c");
    std::vector<std::string> names;
    doc.GetSheetNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"c", "a", "b"}));
}

// ---- face objects

TEST_F(LabelDataTest, FaceObjectsComeBackBottomFirstWithTheirNamesCleared)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 2, 2));
    std::vector<std::unique_ptr<TTestLabel>> labels;
    TDOList list;
    for (int32_t color : {3, 2, 1}) {  // top-first: 3 lies on top
        labels.push_back(MakeLabel(10, 10, 50, 50, color));
        labels.back()->SetName("Named" + std::to_string(color));
        list.Add(*labels.back());
    }
    doc.SetModified(false);
    doc.SaveFaceObjects(3, list);
    EXPECT_TRUE(doc.Modified());
    EXPECT_TRUE(doc.HasFaceObjects(3));
    EXPECT_FALSE(doc.HasFaceObjects(0));
    const auto objects = doc.LoadFaceObjects(3);
    EXPECT_EQ(Colors(objects), (std::vector<int32_t>{1, 2, 3}));
    for (const auto& object : objects)
        EXPECT_EQ(object->Name(), "");
}

TEST_F(LabelDataTest, SavingAFaceCreatesTheEntriesBeforeIt)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 3, 1));
    SaveFace(doc, 2, {7});
    TDocNameList list(doc.Storage(), sheetPath(doc) + "\\NameList");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_FALSE(list.ElementExists(0));
    EXPECT_FALSE(list.ElementExists(1));
    EXPECT_TRUE(list.ElementExists(2));
}

TEST_F(LabelDataTest, WithoutSeparateDesignFaceZeroStandsForEveryFace)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 2, 2));
    doc.SetSeparatelyDesign(false);
    SaveFace(doc, 3, {5});
    EXPECT_EQ(TDocNameList(doc.Storage(), sheetPath(doc) + "\\NameList").Count(), 1);
    EXPECT_EQ(Colors(doc.LoadFaceObjects(0)), std::vector<int32_t>{5});
    EXPECT_EQ(Colors(doc.LoadFaceObjects(2)), std::vector<int32_t>{5});
    doc.EnsurePreview(1);
    EXPECT_TRUE(doc.HasPreview(0));
}

// A face the paper does not have reads as an empty face; only storing
// objects on it is refused, so they are not dropped unseen.
TEST_F(LabelDataTest, AFaceOutsideThePaperReadsAsEmpty)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 2, 1));
    SaveFace(doc, 1, {9});
    for (const int face : {2, -1, 1000}) {
        EXPECT_TRUE(doc.LoadFaceObjects(face).empty()) << face;
        EXPECT_FALSE(doc.HasFaceObjects(face)) << face;
        EXPECT_FALSE(doc.HasPreview(face)) << face;
        TPictureEx picture;
        EXPECT_FALSE(doc.GetPreview(face, picture)) << face;
        EXPECT_NO_THROW(doc.EnsurePreview(face));
        EXPECT_NO_THROW(doc.DeletePreview(face));
        EXPECT_NO_THROW(doc.ClearFaceObjects(face));
    }
    TDOList empty;
    EXPECT_THROW(doc.SaveFaceObjects(5, empty), std::out_of_range);
    EXPECT_EQ(Colors(doc.LoadFaceObjects(1)), std::vector<int32_t>{9});
}

TEST_F(LabelDataTest, APaperWithFewerFacesMovesTheCurrentFaceToFaceZero)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 4, 1));
    SaveFace(doc, 0, {7});
    doc.SetCurrentLabelNo(3);
    doc.SetPaper(*GridPaper("B", 2, 1));
    EXPECT_EQ(doc.CurrentLabelNo(), 0);
    EXPECT_EQ(Colors(doc.LoadFaceObjects(doc.CurrentLabelNo())), std::vector<int32_t>{7});
    doc.SetCurrentLabelNo(1);
    doc.SetPaper(*GridPaper("C", 3, 1));
    EXPECT_EQ(doc.CurrentLabelNo(), 1) << "a face the new paper has stays current";
}

TEST_F(LabelDataTest, APaperWithFewerFacesDropsTheStreamsBeyondThem)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 4, 1));
    for (int face = 0; face < 4; ++face)
        SaveFace(doc, face, {face + 1});
    doc.SetPaper(*GridPaper("B", 2, 1));
    EXPECT_EQ(TDocNameList(doc.Storage(), sheetPath(doc) + "\\NameList").Count(), 2);
    EXPECT_EQ(Colors(doc.LoadFaceObjects(1)), std::vector<int32_t>{2});
    std::vector<std::string> streams;
    TDocStorage(doc.Storage(), false, sheetPath(doc)).ListStreams(streams);
    EXPECT_EQ(std::count(streams.begin(), streams.end(), "NameList2"), 0);
    EXPECT_EQ(std::count(streams.begin(), streams.end(), "NameList3"), 0);
}

TEST_F(LabelDataTest, LoadingKeepsCentresInsideTheFace)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 1, 1));  // faces of 500 x 300
    std::vector<std::unique_ptr<TTestLabel>> labels;
    labels.push_back(MakeLabel(-400, 100, 200, 50, 1));  // centre x = -300
    labels.push_back(MakeLabel(600, 400, 100, 100, 2));  // centre (650, 450)
    TDOList list;
    for (auto& label : labels)
        list.Add(*label);
    doc.SaveFaceObjects(0, list);
    const auto objects = doc.LoadFaceObjects(0);
    ASSERT_EQ(objects.size(), 2u);
    // Bottom-first: the last listed comes first.
    EXPECT_EQ(objects[1]->GetLogicalBounds(), (TRect{-90, 100, 110, 150}));
    EXPECT_EQ(objects[0]->GetLogicalBounds(), (TRect{440, 240, 540, 340}));
}

TEST_F(LabelDataTest, ObjectHooksSeeTheDocumentTimesAndMayReplaceObjects)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 1, 1));
    doc.SetLastPrint(100.5);
    doc.SetLastSave(200.25);
    SaveFace(doc, 0, {1, 2});
    std::vector<double> seen;
    AddFaceObjectHooks({
        .ApplyDocumentTimes = [&](TDrawObject&, const TDocumentTimes& times) { seen.push_back(times.LastSave); },
        .Upgrade = [](TDrawObject& object) -> std::unique_ptr<TDrawObject> {
            if (dynamic_cast<TTestLabel&>(object).Color != 2)
                return nullptr;
            return MakeLabel(0, 0, 10, 10, 22);
        },
    });
    EXPECT_EQ(Colors(doc.LoadFaceObjects(0)), (std::vector<int32_t>{22, 1}));
    EXPECT_EQ(seen, (std::vector<double>{200.25, 200.25}));
}

TEST_F(LabelDataTest, AnEmptyBackgroundAloneIsStoredAsAnEmptyStream)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 1, 1));
    AddFaceObjectHooks({.IsEmptyBackgroundOnly = [](const TDOList& list) {
        return list.Count() == 1 && dynamic_cast<TTestLabel&>(list[0]).Color == 0;
    }});
    SaveFace(doc, 0, {0});
    EXPECT_EQ(FaceStream(doc, 0), "");
    EXPECT_FALSE(doc.HasFaceObjects(0));
    SaveFace(doc, 0, {0, 1});
    EXPECT_TRUE(doc.HasFaceObjects(0));
}

TEST_F(LabelDataTest, ClearingAFaceRemovesItsObjectsAndPreview)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 1, 1));
    SaveFace(doc, 0, {1});
    doc.EnsurePreview(0);
    ASSERT_TRUE(doc.HasPreview(0));
    doc.ClearFaceObjects(0);
    EXPECT_FALSE(doc.HasFaceObjects(0));
    EXPECT_FALSE(doc.HasPreview(0));
}

TEST_F(LabelDataTest, TheImageRecordBesideThePaperPatternsIsNoPattern)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 1, 1));
    TImagePaperInfo image;
    image.PaperName = "A";
    image.FaceObjects = {{std::string("\1\0\0\0pattern", 11)}};
    doc.SetImagePaperInfo(&image);
    doc.AddSheet();
    // The images of a paper as a catalog keeps them: the record is stored with them.
    TDocStream(doc.Storage(), dmCreate, doc.SheetStoragePath(0) + "\\PaperImages\\ImageInfo")
        .WriteAll(WriteComponent(image));
    doc.SelectSheet(0);
    ASSERT_EQ(doc.ImagePaperInfo().FaceObjects.size(), 1u);
    EXPECT_EQ(doc.ImagePaperInfo().FaceObjects[0].Bytes, image.FaceObjects[0].Bytes);
}

// ---- previews

TEST_F(LabelDataTest, PreviewIsAPngFittedInto200Pixels)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 1, 1));  // 500 x 300
    SaveFace(doc, 0, {0x0000FF});
    EXPECT_FALSE(doc.HasPreview(0));
    TPictureEx picture;
    ASSERT_TRUE(doc.GetPreview(0, picture));
    EXPECT_EQ(picture.Graphic()->StoredClassName(), "TPNGImage");
    // At 100 % the face covers 189 x 114 pixels (edges rounded outward);
    // fitted into 200 x 200 that is 200 x 121.
    EXPECT_EQ(picture.Width(), 200);
    EXPECT_EQ(picture.Height(), 121);
    // Saving the face again makes the preview stale.
    SaveFace(doc, 0, {0x00FF00});
    EXPECT_FALSE(doc.HasPreview(0));
    // Changing paper with previews reset drops them.
    doc.EnsurePreview(0);
    doc.SetPaperResetPreviews(*GridPaper("B", 1, 1));
    EXPECT_FALSE(doc.HasPreview(0));
}

TEST_F(LabelDataTest, APreviewIsTheFullSizePictureShrunkSoThinLinesKeepTheirWeight)
{
    // Thin lines (0.2 and 0.3 mm) and a small box on a 100 mm face. The
    // preview must be the face as drawn at 100 % (378 pixels), area-averaged
    // into 200 x 200; drawn at the preview's own zoom, lines under a pixel
    // come out black, missing or moved.
    auto paper = std::make_unique<TMatrixPaperInfo>();
    paper->PaperName = "Square";
    paper->PortraitWidth = paper->PortraitHeight = 1200;
    paper->LeftOffset = paper->TopOffset = 100;
    paper->FaceWidth = paper->FaceHeight = 1000;
    paper->FaceCountX = paper->FaceCountY = 1;
    TLabelData doc;
    doc.SetPaper(*paper);
    std::vector<std::unique_ptr<TTestLabel>> labels;
    labels.push_back(MakeLabel(0, 500, 1000, 2, 0));
    labels.push_back(MakeLabel(100, 611, 800, 3, 0x0000FF));
    labels.push_back(MakeLabel(313, 0, 2, 1000, 0xFF0000));
    labels.push_back(MakeLabel(700, 700, 7, 5, 0x00FF00));
    TDOList list;
    for (const auto& label : labels)
        list.Add(*label);
    doc.SaveFaceObjects(0, list);

    TBitmap full(378, 378, TPixelFormat::pf24bit);
    TCanvas& canvas = full.Canvas();
    canvas.Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 378, 378});
    TScaler scaler;
    scaler.SetUnitDPI(254);
    scaler.SetScale(100);
    scaler.PrepareCanvas(canvas);
    for (auto label = labels.rbegin(); label != labels.rend(); ++label)  // the list is top-first
        (*label)->Paint(canvas);
    TBitmap want(200, 200, TPixelFormat::pf24bit);
    ResampleWhole(want, full, TResampleQuality::Linear);

    TPictureEx picture;
    ASSERT_TRUE(doc.GetPreview(0, picture));
    TBitmap got;
    picture.Graphic()->RenderTo24(got);
    ASSERT_EQ(got.Width(), 200);
    ASSERT_EQ(got.Height(), 200);
    int differing = 0;
    for (int32_t y = 0; y < 200; ++y)
        differing += std::memcmp(got.Row(y), want.Row(y), 600) != 0;
    EXPECT_EQ(differing, 0) << "rows unlike the full-size picture shrunk";
}

TEST_F(LabelDataTest, APreviewIsRenderedAgainOnlyWhenItsFaceChanged)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 2, 1));
    SaveFace(doc, 0, {0x0000FF});
    SaveFace(doc, 1, {0x00FF00});
    doc.EnsurePreview(0);
    doc.EnsurePreview(1);
    doc.SetModified(false);

    // The same objects written back keep the preview, and still mark the document.
    SaveFace(doc, 0, {0x0000FF});
    EXPECT_TRUE(doc.HasPreview(0));
    EXPECT_TRUE(doc.Modified());
    // Also once the stream is compressed by saving.
    doc.SaveToFile(dir_.File("doc.ovd"));
    SaveFace(doc, 0, {0x0000FF});
    EXPECT_TRUE(doc.HasPreview(0));
    SaveFace(doc, 0, {0x00FFFF});
    EXPECT_FALSE(doc.HasPreview(0));

    // A paper whose faces lie elsewhere but look the same keeps the previews;
    // one whose faces have another shape does not.
    auto moved = GridPaper("A", 2, 1);
    moved->LeftOffset += 10;
    doc.SetPaper(*moved);
    EXPECT_TRUE(doc.HasPreview(1));
    doc.SetPaper(*GridPaper("A", 2, 1, fsRoundRect));
    EXPECT_FALSE(doc.HasPreview(1));
}

TEST_F(LabelDataTest, APreviewStoredAsABitmapFileStillReads)
{
    TLabelData doc;
    doc.SetPaper(*GridPaper("A", 1, 1));
    SaveFace(doc, 0, {1});
    doc.EnsurePreview(0);
    const TBitmap bitmap(30, 20, TPixelFormat::pf24bit);
    TDocStream(doc.Storage(), dmCreate, sheetPath(doc) + "\\Preview0").WriteAll(WriteBmp(bitmap));
    TPictureEx picture;
    ASSERT_TRUE(doc.GetPreview(0, picture));
    EXPECT_EQ(picture.Width(), 30);
    EXPECT_EQ(picture.Height(), 20);
}

// ---- size adjustment and the effective paper

struct ClampCase {
    TSizeAdjust given;
    int32_t hole;
    int32_t face;
    TSizeAdjust want;
};
class SizeAdjustClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(SizeAdjustClamp, KeepsTheFaceAndRingPrintable)
{
    EXPECT_EQ(ClampSizeAdjust(GetParam().given, GetParam().hole, GetParam().face), GetParam().want);
}

INSTANTIATE_TEST_SUITE_P(Table, SizeAdjustClamp,
                         ::testing::Values(ClampCase{{0, 500}, 410, 1180, {0, 20}},     // no wider than 120 mm
                                           ClampCase{{-500, 0}, 410, 1180, {-410, 0}},  // the hole never below nothing
                                           ClampCase{{300, -300}, 410, 1180, {300, -300}},
                                           ClampCase{{750, 0}, 410, 1180, {750, 30}},  // a 5 mm ring at least
                                           ClampCase{{10, -10}, 410, 1180, {10, -10}}));

class EffectivePaperTest : public LabelDataTest {
protected:
    void SetUp() override
    {
        LabelDataTest::SetUp();
        frame_ = std::make_unique<TAppFrame>();
        frame_->Macro.Assign({"SysRegistryKey=Software\\Test", "SizeAdjustKey=$(SysRegistryKey)\\SizeAdjust"});
        store_ = std::make_shared<TSettingsStore>(dir_.File("settings.ini"));
        frame_->SetSettingsStore(store_);
        SetDirectPrintSupport({
            .IsDirectPrintPaper = [](const TPaperInfo& paper) { return paper.GroupName == "Disc"; },
            .PrintableDiscArea = [](const TPaperInfo&) { return std::optional<TDiscArea>({600, 700, 1200, 1400}); },
            .GetPrinterDriverName = [this] { return driver_; },
        });
    }
    void TearDown() override
    {
        frame_.reset();
        LabelDataTest::TearDown();
    }

    std::unique_ptr<TAppFrame> frame_;
    std::shared_ptr<TSettingsStore> store_;
    std::string driver_ = "Driver A";
};

TEST_F(EffectivePaperTest, SizeAdjustIsKeptPerPaperAndClamped)
{
    TLabelData doc;
    doc.SetPaper(*SingleDiscPaper("CD-R"));
    EXPECT_EQ(doc.GetSizeAdjust(), (TSizeAdjust{0, 0}));
    doc.SetSizeAdjust({-20, 500});
    EXPECT_EQ(store_->ReadInteger("Software\\Test\\SizeAdjust\\.CD-R", "Disc.Outer"), 500);
    EXPECT_EQ(store_->ReadInteger("Software\\Test\\SizeAdjust\\.CD-R", "Disc.Inner"), -20);
    EXPECT_EQ(doc.GetSizeAdjust(), (TSizeAdjust{-20, 20}));
    doc.SetPaper(*SingleDiscPaper("DVD-R"));
    EXPECT_EQ(doc.GetSizeAdjust(), (TSizeAdjust{0, 0}));
}

TEST_F(EffectivePaperTest, ADirectPrintDiscIsCentredOnTheTrayAndEnlarged)
{
    TLabelData doc;
    doc.SetPaper(*SingleDiscPaper("CD-R"));
    doc.SetSizeAdjust({-11, 15});
    const auto paper = doc.EffectivePaper();
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(paper->Width(), 1200);
    EXPECT_EQ(paper->Height(), 1400);
    const TSize hole = paper->GetCutCenterSize(0);
    EXPECT_EQ(hole.cx, 410 - 11);
    // left = 600 - 1180 / 2 - 15 / 2 (toward zero), width 1180 + 15
    EXPECT_EQ(paper->GetFaceRect(0), (TRect{600 - 590 - 7, 700 - 590 - 7, 3 + 1195, 103 + 1195}));
    // The sheet's own paper is left alone.
    EXPECT_EQ(doc.Paper()->GetFaceRect(0), (TRect{60, 60, 1240, 1240}));
}

TEST_F(EffectivePaperTest, AGridPaperMovesItsOffsetsAndCommonFaceSize)
{
    auto paper = GridPaper("Tray", 1, 1);
    paper->GroupName = "Disc";
    const auto made = MakeDiscTrayPaper(*paper, {600, 700, 1200, 1400}, {20, -30});
    const auto& matrix = dynamic_cast<const TMatrixPaperInfo&>(*made);
    EXPECT_EQ(matrix.LeftOffset, 600 - 250 + 15);
    EXPECT_EQ(matrix.TopOffset, 700 - 150 + 15);
    EXPECT_EQ(matrix.FaceWidth, 470);
    EXPECT_EQ(matrix.FaceHeight, 270);
    EXPECT_EQ(matrix.Face.CutCenterWidth, 430);
}

TEST_F(EffectivePaperTest, TheCachedPaperIsRemadeForAnotherPrinterOrAdjustment)
{
    TLabelData doc;
    doc.SetPaper(*SingleDiscPaper("CD-R"));
    const auto first = doc.EffectivePaper();
    EXPECT_EQ(doc.EffectivePaper(), first);
    driver_ = "Driver B";
    const auto second = doc.EffectivePaper();
    EXPECT_NE(second, first);
    doc.SetSizeAdjust({0, 10});
    EXPECT_NE(doc.EffectivePaper(), second);
    doc.SetPaper(*GridPaper("Plain", 1, 1));
    EXPECT_EQ(doc.EffectivePaper()->GetFaceRect(0), doc.Paper()->GetFaceRect(0));
}

TEST_F(EffectivePaperTest, AnotherThreadGetsTheCachedCopyWithoutRemakingIt)
{
    TLabelData doc;
    doc.SetPaper(*SingleDiscPaper("CD-R"));
    std::shared_ptr<const TPaperInfo> fromThread;
    std::thread([&] { fromThread = doc.EffectivePaper(); }).join();
    EXPECT_EQ(fromThread.get(), doc.Paper());  // nothing made yet: the sheet's paper
    const auto made = doc.EffectivePaper();
    std::thread([&] { fromThread = doc.EffectivePaper(); }).join();
    EXPECT_EQ(fromThread, made);
    driver_ = "Driver B";  // a reader thread never remakes it
    std::thread([&] { fromThread = doc.EffectivePaper(); }).join();
    EXPECT_EQ(fromThread, made);
}

TEST_F(EffectivePaperTest, AReaderThreadAlwaysSeesAWholePaper)
{
    TLabelData doc;
    doc.SetPaper(*SingleDiscPaper("CD-R"));
    std::atomic<bool> stop = false;
    std::atomic<int> reads = 0;
    std::atomic<int> bad = 0;
    std::atomic<int> discs = 0;
    std::atomic<int> grids = 0;
    std::thread reader([&] {
        while (!stop) {
            if (const auto paper = doc.EffectivePaper()) {
                const int32_t faces = paper->GetFaceCount();
                ++(faces == 1 ? discs : faces == 6 ? grids : bad);
            }
            ++reads;
        }
    });
    // Each change waits for reads that began after it, so the reader runs
    // between the writes (and, unsynchronised, often during them) rather
    // than maybe only after the last one.
    for (int i = 0; i < 200; ++i) {
        if (i % 2)
            doc.SetPaper(*SingleDiscPaper("CD-R"));
        else
            doc.SetPaper(*GridPaper("Six", 3, 2));
        doc.EffectivePaper();
        const int before = reads;
        while (reads < before + 2)
            std::this_thread::yield();
    }
    stop = true;
    reader.join();
    EXPECT_EQ(bad, 0);
    EXPECT_GT(discs, 0);
    EXPECT_GT(grids, 0);
}

// ---- files

class LabelDataFile : public LabelDataTest {
protected:
    // Two sheets with objects on two faces of the first and a disc on the second.
    std::unique_ptr<TLabelData> MakeDocument()
    {
        auto doc = std::make_unique<TLabelData>();
        doc->SetPaper(*GridPaper("A", 2, 1));
        doc->SetSheetName("表");
        SaveFace(*doc, 0, {1, 2});
        SaveFace(*doc, 1, {3});
        TExPaperInfo extra;
        extra.PaperName = "A";
        extra.Company = "Maker";
        doc->SetExtraPaperInfo(&extra);
        doc->AddSheet();
        doc->SetPaper(*SingleDiscPaper("CD"));
        SaveFace(*doc, 0, {4});
        doc->SetDataName("My disc");
        doc->ProductInfo().Items.Items(0).Info.Lines = {"Title"};
        doc->SetLastSave(46000.5);
        doc->SelectSheet(0);
        return doc;
    }
};

TEST_F(LabelDataFile, ADocumentSurvivesSaveAndReopen)
{
    auto doc = MakeDocument();
    const std::string file = dir_.File("doc.ovd");
    doc->SaveToFile(file);
    EXPECT_FALSE(doc->Modified());

    TLabelData back;
    const TGuid creator = back.CreatorInfoE().GUID;
    back.LoadFromFile(file);
    EXPECT_FALSE(back.Modified());
    EXPECT_EQ(back.SheetCount(), 2);
    EXPECT_EQ(back.CurrentSheet(), 0);
    EXPECT_EQ(back.SheetName(), "表");
    EXPECT_EQ(back.DataName(), "My disc");
    EXPECT_EQ(back.LastSave(), 46000.5);
    EXPECT_EQ(back.ProductInfo().Items.Items(0).Info.Lines, std::vector<std::string>{"Title"});
    EXPECT_EQ(back.ProductInfo().GUID, doc->ProductInfo().GUID);
    EXPECT_EQ(back.CreatorInfoE().GUID, creator);  // creator records stay those of the reader
    EXPECT_EQ(back.ExtraPaperInfo().Company, "Maker");
    EXPECT_EQ(Colors(back.LoadFaceObjects(0)), (std::vector<int32_t>{2, 1}));
    TPictureEx picture;
    EXPECT_TRUE(back.GetPreview(1, picture));

    // Edit, save, reopen.
    back.SelectSheet(1);
    EXPECT_EQ(back.Paper()->PaperName, "CD");
    SaveFace(back, 0, {9, 8});
    back.SaveToFile(file);
    TLabelData again;
    again.LoadFromFile(file);
    EXPECT_EQ(again.CurrentSheet(), 1);
    EXPECT_EQ(Colors(again.LoadFaceObjects(0)), (std::vector<int32_t>{8, 9}));
}

TEST_F(LabelDataFile, SavedFaceStreamsAreCompressedAndEveryFaceWithObjectsHasAPreview)
{
    auto doc = MakeDocument();
    const std::string file = dir_.File("doc.ovd");
    doc->SaveToFile(file);
    const auto streams = StreamsOfFile(file);
    int faceStreams = 0;
    int previews = 0;
    for (const auto& [path, bytes] : streams) {
        const std::string leaf = path.substr(path.rfind('\\') + 1);
        if (path.rfind("Sheets\\", 0) == 0 && std::count(path.begin(), path.end(), '\\') == 2) {
            if (leaf.rfind("NameList", 0) == 0 && leaf != "NameList") {
                ++faceStreams;
                EXPECT_TRUE(IsZlibContainer(bytes)) << path;
                EXPECT_EQ(DecompressContainer(bytes).substr(0, 1), "\xFF");
            }
            if (leaf.rfind("Preview", 0) == 0 && leaf != "Preview")
                ++previews;
        }
    }
    EXPECT_EQ(faceStreams, 3);
    EXPECT_EQ(previews, 3);
    // The document is unchanged by saving: its streams still read.
    EXPECT_EQ(Colors(doc->LoadFaceObjects(1)), std::vector<int32_t>{3});
}

TEST_F(LabelDataFile, SavingTwiceAndReopeningLeaveEveryStreamAsItWas)
{
    // A document writes the creator records of the program that saves it;
    // here, as with a product database, they are the same records each time.
    const auto creator = NewCreatorRecord();
    SetProductRecordSource({.CreatorE = [&] { return CopyRecord(*creator); },
                            .CreatorJ = [&] { return CopyRecord(*creator); }});
    auto doc = MakeDocument();
    const std::string first = dir_.File("first.ovd");
    const std::string second = dir_.File("second.ovd");
    const std::string third = dir_.File("third.ovd");
    doc->SaveToFile(first);
    doc->SaveToFile(second);
    EXPECT_EQ(StreamsOfFile(first), StreamsOfFile(second));

    TLabelData reopened;
    reopened.LoadFromFile(second);
    reopened.SaveToFile(third);
    EXPECT_EQ(StreamsOfFile(second), StreamsOfFile(third));
}

TEST_F(LabelDataFile, PreviewsPackedTogetherOnSavingAreThoseMadeOneByOne)
{
    const std::string file = dir_.File("doc.ovd");
    MakeDocument()->SaveToFile(file);
    auto alone = MakeDocument();
    for (int sheet = 0; sheet < alone->SheetCount(); ++sheet) {
        alone->SelectSheet(sheet);
        for (int face = 0; face < alone->Paper()->GetFaceCount(); ++face)
            alone->EnsurePreview(face);
    }
    int previews = 0;
    for (const auto& [path, bytes] : StreamsOfFile(file)) {
        const std::string leaf = path.substr(path.rfind('\\') + 1);
        if (leaf.rfind("Preview", 0) != 0 || leaf == "Preview")
            continue;
        ++previews;
        EXPECT_EQ(TDocStream(alone->Storage(), dmRead, path).ReadAll(), bytes) << path;
    }
    EXPECT_EQ(previews, 3);
}

TEST_F(LabelDataFile, OlefileReadsWhatWeWrite)
{
    ORVELLA_REQUIRE_TOOL(HaveOlefile(), "python3-olefile");
    auto doc = MakeDocument();
    const std::string file = dir_.File("doc.ovd");
    doc->SaveToFile(file);
    std::vector<std::string> streams;
    for (const auto& line : OlefileListing(file))
        if (line.find(" stream ") != std::string::npos)
            streams.push_back(line);
    std::vector<std::string> ours;
    for (const auto& [path, bytes] : StreamsOfFile(file))
        ours.push_back(OlefileStreamLine(path, bytes));
    std::sort(ours.begin(), ours.end());
    EXPECT_GE(ours.size(), 10u);
    EXPECT_EQ(streams, ours);
}

TEST_F(LabelDataFile, FreePascalReadsTheStoredComponentStreams)
{
    ORVELLA_REQUIRE_ORACLES();
    auto doc = MakeDocument();
    const std::string file = dir_.File("doc.ovd");
    doc->SaveToFile(file);
    std::set<std::string> read;
    for (auto [path, bytes] : StreamsOfFile(file)) {
        if (IsZlibContainer(bytes))
            bytes = DecompressContainer(bytes);
        if (!HasResHeader(bytes))
            continue;
        read.insert(path);
        const std::string text = FpcToText(bytes);
        EXPECT_EQ(text.rfind("object ", 0), 0u) << path << ": " << text;
        if (path == "DataInfo") {
            EXPECT_NE(text.find("object TDataInfo"), std::string::npos) << text;
            EXPECT_NE(text.find("object ProductInfo: TProductInfo"), std::string::npos) << text;
            EXPECT_NE(text.find("GUID = {"), std::string::npos) << text;
        }
        if (path.ends_with("\\NameList0") && path.rfind("Sheets\\NameList0\\", 0) == 0) {
            EXPECT_NE(text.find("object TLDObjects"), std::string::npos) << text;
        }
    }
    // The filter let through the streams the checks above are about.
    EXPECT_TRUE(read.count("DataInfo"));
    EXPECT_TRUE(read.count("Sheets\\NameList0\\NameList0"));
    EXPECT_TRUE(read.count("Sheets\\NameList0\\NameList1"));
    EXPECT_TRUE(read.count("Sheets\\NameList1\\NameList0"));
}

TEST_F(LabelDataFile, DataInfoStoresTheFirstSheetAndTheLayoutModeToo)
{
    // Neither has a declared default, so a value of 0 is written like any other.
    ORVELLA_REQUIRE_ORACLES();
    TDataInfo info;
    const std::string text = FpcToText(WriteComponentRes("DataInfo", info));
    EXPECT_NE(text.find("CurrentSheetNo = 0"), std::string::npos) << text;
    EXPECT_NE(text.find("SheetMode = False"), std::string::npos) << text;
}

TEST_F(LabelDataFile, TheToolListsSheetsAndTheClassesOnEachFace)
{
    const std::string file = dir_.File("doc.ovd");
    MakeDocument()->SaveToFile(file);
    const ToolRun listed = RunTool({"doc", "ls", file});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "sheet 0 *\t表\tGrid\tA\t2 faces\n"
                          "  face 0\t2 objects\tTTestLabel\tTTestLabel\n"
                          "  face 1\t1 objects\tTTestLabel\n"
                          "sheet 1\t新規シート1\tDisc\tCD\t1 faces\n"
                          "  face 0\t1 objects\tTTestLabel\n");
}

TEST_F(LabelDataFile, PreviewsReadStraightFromTheFile)
{
    auto doc = MakeDocument();
    const std::string file = dir_.File("doc.ovd");
    doc->SaveToFile(file);
    TPictureEx picture;
    EXPECT_TRUE(TLabelData::ReadPreviewFromFile(file, 0, 1, picture));
    EXPECT_LE(picture.Width(), 200);
    EXPECT_TRUE(TLabelData::ReadPreviewFromFile(file, 1, 0, picture));
    EXPECT_FALSE(TLabelData::ReadPreviewFromFile(file, 2, 0, picture));
    EXPECT_FALSE(TLabelData::ReadPreviewFromFile(file, 1, 5, picture));
}

// ---- damaged and hostile files

// How a saved document is damaged: a change of its unpacked tree.
struct HostileCase {
    const char* name;
    std::function<void(const fs::path& tree)> damage;
    const char* error;  // what the refusal raises (type: message)
};

std::string WrapDataInfo(int32_t currentSheet)
{
    TDataInfo info;
    info.CurrentSheetNo = currentSheet;
    return WriteComponentRes("DataInfo", info);
}

// The face stream 0 of the first sheet, with its declared length changed.
void ChangeDeclaredLength(const fs::path& tree)
{
    const fs::path face = tree / "Sheets" / "NameList0" / "NameList0";
    std::string bytes = ReadFile(face.string());
    bytes[13] = char(uint8_t(bytes[13]) + 1);
    WriteFile(face.string(), bytes);
}

// A damaged document's own streams are a format error.
constexpr const char* kBadFormat = "orvella::EReadError: 不正なストリーム フォーマット";

const HostileCase kHostile[] = {
    {"NoSheetList", [](const fs::path& t) { fs::remove(t / "Sheets" / "NameList"); }, kBadFormat},
    {"NoDataInfo", [](const fs::path& t) { fs::remove(t / "DataInfo"); }, kBadFormat},
    {"ZeroSheets", [](const fs::path& t) { WriteFile((t / "Sheets" / "NameList").string(), std::string(4, '\2')); },
     kBadFormat},
    {"CurrentSheetTooHigh", [](const fs::path& t) { WriteFile((t / "DataInfo").string(), WrapDataInfo(2)); }, kBadFormat},
    {"CurrentSheetNegative", [](const fs::path& t) { WriteFile((t / "DataInfo").string(), WrapDataInfo(-1)); }, kBadFormat},
    {"DataInfoNotAComponent", [](const fs::path& t) { WriteFile((t / "DataInfo").string(), "garbage"); }, kBadFormat},
    {"TruncatedInfo",
     [](const fs::path& t) {
         const std::string info = (t / "Sheets" / "NameList0" / "Info").string();
         WriteFile(info, ReadFile(info).substr(0, 40));
     }, "orvella::EReadError: ストリームからの読み込みエラー"},
    {"PaperOfAnotherClass",
     [](const fs::path& t) { WriteFile((t / "Sheets" / "NameList0" / "PaperInfo").string(), WrapDataInfo(0)); }, kBadFormat},
    {"SheetNameOutsideItsStorage",
     [](const fs::path& t) { WriteFile((t / "Sheets" / "NameList").string(), std::string("\2\0\0\0..\\DataInfo\r\n", 18)); },
     "orvella::EStorageError: 名前 ..\\DataInfo は無効です。"},
};

class HostileDocument : public LabelDataFile, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileDocument, IsRefusedAndLeavesTheOpenDocumentAndTheFileAlone)
{
    const std::string good = dir_.File("good.ovd");
    MakeDocument()->SaveToFile(good);
    const std::string tree = dir_.File("tree");
    ASSERT_EQ(RunTool({"cfb", "unpack", good, tree}).status, 0);
    GetParam().damage(tree);
    const std::string bad = dir_.File("bad.ovd");
    ASSERT_EQ(RunTool({"cfb", "pack", tree, bad}).status, 0);
    const std::string badBytes = ReadFile(bad);

    TLabelData doc;
    doc.SetSheetName("mine");
    doc.SetPaper(*GridPaper("Mine", 1, 1));
    EXPECT_EQ(Thrown([&] { doc.LoadFromFile(bad); }), GetParam().error);
    EXPECT_EQ(doc.SheetCount(), 1);
    EXPECT_EQ(doc.SheetName(), "mine");
    EXPECT_EQ(doc.Paper()->PaperName, "Mine");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(ReadFile(bad), badBytes);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileDocument, ::testing::ValuesIn(kHostile),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LabelDataFile, ACompressedStreamOfTheWrongLengthIsRefusedWhenItsFaceLoads)
{
    const std::string good = dir_.File("good.ovd");
    MakeDocument()->SaveToFile(good);
    const std::string tree = dir_.File("tree");
    ASSERT_EQ(RunTool({"cfb", "unpack", good, tree}).status, 0);
    ChangeDeclaredLength(tree);
    const std::string bad = dir_.File("bad.ovd");
    ASSERT_EQ(RunTool({"cfb", "pack", tree, bad}).status, 0);
    TLabelData doc;
    doc.LoadFromFile(bad);
    EXPECT_THROW(doc.LoadFaceObjects(0), EZlibContainer);
    EXPECT_EQ(Colors(doc.LoadFaceObjects(1)), std::vector<int32_t>{3});
}

// Saves the document, changes its unpacked tree and packs it again.
std::string DamagedCopy(TLabelData& doc, const TempDir& dir, const std::function<void(const fs::path&)>& damage)
{
    const std::string good = dir.File("good.ovd");
    doc.SaveToFile(good);
    const std::string tree = dir.File("tree");
    fs::remove_all(tree);
    EXPECT_EQ(RunTool({"cfb", "unpack", good, tree}).status, 0);
    damage(tree);
    const std::string bad = dir.File("bad.ovd");
    EXPECT_EQ(RunTool({"cfb", "pack", tree, bad}).status, 0);
    return bad;
}

TEST_F(LabelDataFile, AFailedSaveLeavesTheCurrentSheetCurrent)
{
    // The second sheet's face has a damaged stream and no preview, so saving
    // fails while making that preview, with the second sheet selected.
    auto made = MakeDocument();
    const std::string bad = DamagedCopy(*made, dir_, [](const fs::path& tree) {
        const fs::path face = tree / "Sheets" / "NameList1" / "NameList0";
        std::string bytes = ReadFile(face.string());
        bytes[13] = char(uint8_t(bytes[13]) + 1);
        WriteFile(face.string(), bytes);
        fs::remove(tree / "Sheets" / "NameList1" / "Preview0");
    });
    TLabelData doc;
    doc.LoadFromFile(bad);
    ASSERT_EQ(doc.CurrentSheet(), 0);
    doc.SetDataName("changed");
    EXPECT_ANY_THROW(doc.SaveToFile(dir_.File("again.ovd")));
    EXPECT_EQ(doc.CurrentSheet(), 0);
    EXPECT_EQ(doc.SheetName(), "表");
    EXPECT_EQ(doc.Paper()->PaperName, "A");
    EXPECT_TRUE(doc.Modified());

    // A face written back now lands on the sheet the windows show.
    SaveFace(doc, 1, {8});
    doc.SelectSheet(1);
    EXPECT_EQ(doc.Paper()->PaperName, "CD");
    EXPECT_TRUE(doc.LoadFaceObjects(1).empty());
    doc.SelectSheet(0);
    EXPECT_EQ(Colors(doc.LoadFaceObjects(1)), std::vector<int32_t>{8});
}

TEST_F(LabelDataFile, ANewSheetNeverTakesTheNameOfALiveOne)
{
    // The sheet list's counter says 1 while "NameList1" is already listed.
    auto made = MakeDocument();
    const std::string bad = DamagedCopy(*made, dir_, [](const fs::path& tree) {
        WriteFile((tree / "Sheets" / "NameList").string(), std::string("\1\0\0\0NameList0\r\nNameList1\r\n", 26));
    });
    TLabelData doc;
    doc.LoadFromFile(bad);
    doc.AddSheet();
    ASSERT_EQ(doc.SheetCount(), 3);
    EXPECT_NE(doc.SheetStoragePath(2), doc.SheetStoragePath(1));
    EXPECT_NE(doc.SheetStoragePath(2), doc.SheetStoragePath(0));
    doc.SelectSheet(1);
    ASSERT_NE(doc.Paper(), nullptr);
    EXPECT_EQ(doc.Paper()->PaperName, "CD");
    EXPECT_EQ(Colors(doc.LoadFaceObjects(0)), std::vector<int32_t>{4});
    doc.SelectSheet(0);
    EXPECT_EQ(Colors(doc.LoadFaceObjects(0)), (std::vector<int32_t>{2, 1}));
}

TEST_F(LabelDataFile, AFileThatIsNoCompoundFileIsRefused)
{
    const std::string file = dir_.File("text.ovd");
    WriteFile(file, "just text, no document");
    TLabelData doc;
    EXPECT_EQ(Thrown([&] { doc.LoadFromFile(file); }),
              "orvella::EStorageError: ファイル " + file + " は有効な複合ファイルではありません。");
    EXPECT_EQ(Thrown([&] { doc.LoadFromFile(dir_.File("missing.ovd")); }),
              "orvella::EStorageError: " + dir_.File("missing.ovd") + " が見つかりませんでした。");
    EXPECT_EQ(doc.SheetName(), "新規シート1");
    EXPECT_EQ(ReadFile(file), "just text, no document");
}

TEST_F(LabelDataFile, ACurrentFaceBeyondThePaperIsReset)
{
    auto doc = MakeDocument();
    doc->SelectSheet(1);
    doc->SetCurrentLabelNo(3);  // the disc paper has one face
    const std::string file = dir_.File("doc.ovd");
    doc->SaveToFile(file);
    TLabelData back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.CurrentSheet(), 1);
    EXPECT_EQ(back.CurrentLabelNo(), 0);
}

}  // namespace
}  // namespace orvella::test
