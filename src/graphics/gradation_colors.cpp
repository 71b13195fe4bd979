#include "graphics/gradation_colors.h"

#include "formats/byte_reader.h"
#include "formats/property_table.h"

#include <algorithm>
#include <stdexcept>

namespace orvella {

namespace {

const std::vector<TColor> kInitialStops{0xFFFFFF, 0x000000};

void appendU32(std::string& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(char(uint8_t(value >> shift)));
}

}  // namespace

const TClassInfo& TGradationColors::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TGradationColors, TPersistent>("TGradationColors", {
        IntegerProperty("RepeatCount", &TGradationColors::RepeatCount, &TGradationColors::SetRepeatCount).Default(1),
    });
    return info;
}

TGradationColors::TGradationColors() : colors_(kInitialStops) {}

void TGradationColors::SetRepeatCount(int32_t count)
{
    if (count == repeatCount_)
        return;
    repeatCount_ = count;
    notifier_.Changed();
}

void TGradationColors::SetCount(int32_t count)
{
    count = std::max(count, 0);
    if (count == Count())
        return;
    colors_.resize(std::size_t(count), 0);
    notifier_.Changed();
}

TColor TGradationColors::Color(int32_t index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("gradient colour index out of range");
    return colors_[std::size_t(index)];
}

void TGradationColors::SetColor(int32_t index, TColor color)
{
    if (Color(index) == color)
        return;
    colors_[std::size_t(index)] = color;
    notifier_.Changed();
}

void TGradationColors::SetColors(const std::vector<TColor>& colors)
{
    if (colors == colors_)
        return;
    colors_ = colors;
    notifier_.Changed();
}

std::vector<TColor> TGradationColors::ExpandColors() const
{
    std::vector<TColor> expanded;
    if (colors_.empty() || repeatCount_ <= 0)
        return expanded;
    expanded.reserve(colors_.size() * std::size_t(repeatCount_));
    for (int32_t round = 0; round < repeatCount_; ++round)
        expanded.insert(expanded.end(), colors_.begin(), colors_.end());
    return expanded;
}

void TGradationColors::ReverseColors()
{
    notifier_.BeginUpdate();
    std::reverse(colors_.begin(), colors_.end());
    if (colors_.size() > 1)
        notifier_.Changed();
    notifier_.EndUpdate();
}

void TGradationColors::Assign(const TGradationColors& source)
{
    if (&source == this)
        return;
    notifier_.BeginUpdate();
    SetRepeatCount(source.repeatCount_);
    SetColors(source.colors_);
    notifier_.EndUpdate();
}

bool TGradationColors::IsDefault() const { return colors_ == kInitialStops; }

void TGradationColors::DefineProperties(TFiler& filer)
{
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Colors",
        [this](TByteReader& reader) {
            const std::size_t count = reader.ReadLength32(4);
            std::vector<TColor> colors(count);
            for (TColor& color : colors)
                color = reader.ReadU32();
            SetColors(colors);
        },
        [this](std::string& bytes) {
            appendU32(bytes, uint32_t(colors_.size()));
            for (TColor color : colors_)
                appendU32(bytes, color);
        },
        !IsDefault());
}

}  // namespace orvella
