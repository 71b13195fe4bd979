#include "formats/ident_tables.h"

#include "platform/text_case.h"

namespace orvella {

namespace {

constexpr std::int32_t sys(std::uint32_t index) { return std::int32_t(0x80000000u + index); }

constexpr TIdentMapEntry kColors[] = {
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {0xFFFFFF, "clWhite"},
    {sys(0), "clScrollBar"}, {sys(1), "clBackground"}, {sys(2), "clActiveCaption"},
    {sys(3), "clInactiveCaption"}, {sys(4), "clMenu"}, {sys(5), "clWindow"},
    {sys(6), "clWindowFrame"}, {sys(7), "clMenuText"}, {sys(8), "clWindowText"},
    {sys(9), "clCaptionText"}, {sys(10), "clActiveBorder"}, {sys(11), "clInactiveBorder"},
    {sys(12), "clAppWorkSpace"}, {sys(13), "clHighlight"}, {sys(14), "clHighlightText"},
    {sys(15), "clBtnFace"}, {sys(16), "clBtnShadow"}, {sys(17), "clGrayText"},
    {sys(18), "clBtnText"}, {sys(19), "clInactiveCaptionText"}, {sys(20), "clBtnHighlight"},
    {sys(21), "cl3DDkShadow"}, {sys(22), "cl3DLight"}, {sys(23), "clInfoText"},
    {sys(24), "clInfoBk"}, {clNone, "clNone"},
};

constexpr TIdentMapEntry kCharsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"},
    {134, "GB2312_CHARSET"}, {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},
    {162, "TURKISH_CHARSET"}, {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"},
    {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},
    {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

constexpr TIdentMapEntry kCursors[] = {
    {0, "crDefault"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"}, {-6, "crSizeNESW"},
    {-7, "crSizeNS"}, {-8, "crSizeNWSE"}, {-9, "crSizeWE"}, {-10, "crUpArrow"},
    {-11, "crHourGlass"}, {-12, "crDrag"}, {-13, "crNoDrop"}, {-14, "crHSplit"},
    {-15, "crVSplit"}, {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"},
    {-19, "crAppStart"}, {-20, "crHelp"}, {-21, "crHandPoint"}, {-22, "crSizeAll"},
    {-22, "crSize"},
};

}  // namespace

TIdentTable ColorIdents() noexcept { return kColors; }
TIdentTable CharsetIdents() noexcept { return kCharsets; }
TIdentTable CursorIdents() noexcept { return kCursors; }

std::optional<std::int32_t> IdentToInt(TIdentTable table, std::string_view name) noexcept
{
    for (const TIdentMapEntry& entry : table)
        if (SameText(entry.Name, name))
            return entry.Value;
    return std::nullopt;
}

const char* IntToIdent(TIdentTable table, std::int32_t value) noexcept
{
    for (const TIdentMapEntry& entry : table)
        if (entry.Value == value)
            return entry.Name;
    return nullptr;
}

}  // namespace orvella
