// The label document at the size of a busy one: 20 sheets of a four-face
// paper with 20 objects on every face. Each step is measured on its own:
// making the document, saving it (previews and compression included),
// opening it, and selecting every sheet in turn.

#include "formats/class_registry.h"
#include "document/label_data.h"
#include "document/lo_rect_base.h"
#include "formats/property_table.h"
#include "drawing/do_list.h"
#include "graphics/canvas.h"
#include "paper/paper_info.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace orvella {
namespace {

constexpr int kSheets = 20;
constexpr int kObjectsPerFace = 20;

class TBenchLabel : public TLORectBase {
    ORVELLA_PERSISTENT(TBenchLabel)

public:
    int32_t Color = 0;
    void SetExtent(int32_t width, int32_t height) override
    {
        SetWidth(width);
        SetHeight(height);
    }
    void DrawOutline(TCanvas&) override {}
    void Paint(TCanvas& canvas) override
    {
        canvas.Brush().Color = TColor(Color);
        canvas.FillRect(Rect());
    }
};

const TClassInfo& TBenchLabel::StaticClassInfo()
{
    static const TClassInfo info =
        DeclareClass<TBenchLabel, TLORectBase>("TBenchLabel", {IntegerProperty("Color", &TBenchLabel::Color)});
    return info;
}

std::unique_ptr<TMatrixPaperInfo> BenchPaper()
{
    auto paper = std::make_unique<TMatrixPaperInfo>();
    paper->PaperName = "Bench";
    paper->GroupName = "Bench";
    paper->PortraitWidth = 2100;
    paper->PortraitHeight = 2970;
    paper->LeftOffset = paper->TopOffset = 100;
    paper->FaceWidth = 900;
    paper->FaceHeight = 1300;
    paper->RightMargin = paper->BottomMargin = 100;
    paper->FaceCountX = 2;
    paper->FaceCountY = 2;
    return paper;
}

std::unique_ptr<TLabelData> MakeDocument()
{
    RegisterLabelDataClasses();
    RegisterClass(TBenchLabel::StaticClassInfo());
    auto doc = std::make_unique<TLabelData>();
    const auto paper = BenchPaper();
    for (int sheet = 0; sheet < kSheets; ++sheet) {
        if (sheet > 0)
            doc->AddSheet();
        doc->SetPaper(*paper);
        for (int face = 0; face < paper->GetFaceCount(); ++face) {
            std::vector<std::unique_ptr<TBenchLabel>> labels;
            TDOList list;
            for (int i = 0; i < kObjectsPerFace; ++i) {
                auto label = std::make_unique<TBenchLabel>();
                label->SetBoundsRect({i * 40, i * 60, i * 40 + 200, i * 60 + 100});
                label->Color = 0x102030 * (i + 1);
                list.Add(*label);
                labels.push_back(std::move(label));
            }
            doc->SaveFaceObjects(face, list);
        }
    }
    return doc;
}

std::string BenchFile()
{
    return (std::filesystem::temp_directory_path() / ("orvella_label_bench_" + std::to_string(getpid()) + ".ovd")).string();
}

void BM_CreateDocument(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeDocument());
}
BENCHMARK(BM_CreateDocument)->Unit(benchmark::kMillisecond);

void BM_SaveDocument(benchmark::State& state)
{
    const std::string file = BenchFile();
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = MakeDocument();  // a fresh one: previews and compression are part of saving
        state.ResumeTiming();
        doc->SaveToFile(file);
    }
    std::filesystem::remove(file);
}
// Saving packs previews and streams on every core: the CPU time counted is
// the whole process's, not only the calling thread's.
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_OpenDocument(benchmark::State& state)
{
    const std::string file = BenchFile();
    MakeDocument()->SaveToFile(file);
    for (auto _ : state) {
        TLabelData doc;
        doc.LoadFromFile(file);
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

void BM_SelectEverySheet(benchmark::State& state)
{
    const std::string file = BenchFile();
    MakeDocument()->SaveToFile(file);
    TLabelData doc;
    doc.LoadFromFile(file);
    for (auto _ : state)
        for (int sheet = 0; sheet < doc.SheetCount(); ++sheet)
            doc.SelectSheet(sheet);
    std::filesystem::remove(file);
}
BENCHMARK(BM_SelectEverySheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvella
