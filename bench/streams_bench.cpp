// Writing and reading a component stream of 1,000 components, the size of a
// busy label face; reported in bytes per second of stream.

#include "formats/class_registry.h"
#include "formats/collection.h"
#include "formats/component.h"
#include "formats/component_stream.h"
#include "formats/property_table.h"
#include "formats/string_list.h"

#include <benchmark/benchmark.h>

namespace {

using namespace orvella;

class TBenchFont : public TPersistent {
    ORVELLA_PERSISTENT(TBenchFont)

public:
    std::string Name = "IPAexGothic";
    std::int32_t Size = 12;
    std::int32_t Color = 0;
};

class TBenchObject : public TComponent {
    ORVELLA_PERSISTENT(TBenchObject)

public:
    std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    std::int32_t Color = clNone;
    bool Visible = true;
    double Angle = 0;
    std::string Text;
    TBenchFont Font;
    TStringList Lines;

    void GetChildren(const std::function<void(TComponent&)>& proc) const override
    {
        for (std::size_t i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
};

const TClassInfo& TBenchFont::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TBenchFont, TPersistent>("TBenchFont", {
        StringProperty("Name", &TBenchFont::Name),
        IntegerProperty("Size", &TBenchFont::Size).Default(9),
        IntegerProperty("Color", &TBenchFont::Color).Idents(ColorIdents()).Default(0),
    });
    return info;
}

const TClassInfo& TBenchObject::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TBenchObject, TComponent>("TBenchObject", {
        IntegerProperty("Left", &TBenchObject::Left),
        IntegerProperty("Top", &TBenchObject::Top),
        IntegerProperty("Width", &TBenchObject::Width),
        IntegerProperty("Height", &TBenchObject::Height),
        IntegerProperty("Color", &TBenchObject::Color).Idents(ColorIdents()).Default(clNone),
        BooleanProperty("Visible", &TBenchObject::Visible).Default(true),
        FloatProperty("Angle", &TBenchObject::Angle),
        StringProperty("Text", &TBenchObject::Text),
        ObjectProperty("Font", &TBenchObject::Font),
        ObjectProperty("Lines", &TBenchObject::Lines),
    });
    return info;
}

std::unique_ptr<TBenchObject> makeTree()
{
    RegisterClass(TBenchObject::StaticClassInfo());
    auto root = std::make_unique<TBenchObject>();
    root->SetName("Face1");
    for (int i = 0; i < 1000; ++i) {
        auto& child = root->InsertComponent(std::make_unique<TBenchObject>());
        child.SetName("Obj" + std::to_string(i));
        child.Left = i * 7;
        child.Top = 40000 - i;
        child.Width = 1200;
        child.Height = 300 + i;
        child.Color = i % 3 == 0 ? 0x0000FF : 0x123456;
        child.Angle = i * 0.5;
        child.Text = "トラック " + std::to_string(i) + " Orvella";
        child.Lines.Lines = {"1. 序曲", "2. Interlude"};
    }
    return root;
}

void BM_WriteThousandComponents(benchmark::State& state)
{
    const auto root = makeTree();
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string bytes = WriteComponentRes("TBenchObject", *root);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
    state.counters["stream_bytes"] = double(size);
}
BENCHMARK(BM_WriteThousandComponents)->Unit(benchmark::kMillisecond);

void BM_ReadThousandComponents(benchmark::State& state)
{
    const std::string bytes = WriteComponentRes("TBenchObject", *makeTree());
    for (auto _ : state) {
        std::unique_ptr<TComponent> root = ReadComponentRes(bytes);
        benchmark::DoNotOptimize(root.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ReadThousandComponents)->Unit(benchmark::kMillisecond);

}  // namespace
