#include "document/size_adjust.h"

#include "frame/app_frame.h"
#include "frame/macro_string.h"
#include "paper/face_info.h"
#include "paper/paper_info.h"
#include "platform/settings_store.h"

#include <optional>
#include <string>

namespace orvella {

namespace {

constexpr int32_t kMaxFaceWidth = 1200;
constexpr int32_t kMinRingWidth = 50;

std::optional<std::string> AdjustKey(const TPaperInfo& paper)
{
    if (!AppFrame() || AppFrame()->Macro.IndexOfName("SizeAdjustKey") < 0)
        return std::nullopt;
    try {
        return ExpandMacros("$(SizeAdjustKey)") + "\\." + paper.PaperName;
    } catch (const EMacroString&) {
        return std::nullopt;
    }
}

}  // namespace

TSizeAdjust ClampSizeAdjust(TSizeAdjust adjust, int32_t holeWidth, int32_t faceWidth)
{
    if (faceWidth + adjust.Outer > kMaxFaceWidth)
        adjust.Outer = kMaxFaceWidth - faceWidth;
    if (holeWidth + adjust.Inner < 0)
        adjust.Inner = -holeWidth;
    if ((faceWidth + adjust.Outer) - (holeWidth + adjust.Inner) < kMinRingWidth)
        adjust.Outer = holeWidth + adjust.Inner - faceWidth + kMinRingWidth;
    return adjust;
}

TSizeAdjust ReadSizeAdjust(const TPaperInfo& paper)
{
    TSizeAdjust adjust;
    if (const std::optional<std::string> key = AdjustKey(paper)) {
        TSettingsStore& store = AppFrame()->SettingsStore();
        adjust.Inner = store.ReadInteger(*key, paper.GroupName + ".Inner").value_or(0);
        adjust.Outer = store.ReadInteger(*key, paper.GroupName + ".Outer").value_or(0);
    }
    if (paper.GetFaceCount() > 0) {
        TFaceInfo face;
        face.LoadFromPaper(paper, 0);
        const TRect hole = face.GetCenterRect();
        adjust = ClampSizeAdjust(adjust, hole.Right - hole.Left, face.FaceRect.Right - face.FaceRect.Left);
    }
    return adjust;
}

void WriteSizeAdjust(const TPaperInfo& paper, TSizeAdjust adjust)
{
    const std::optional<std::string> key = AdjustKey(paper);
    if (!key)
        return;
    TSettingsStore& store = AppFrame()->SettingsStore();
    store.WriteInteger(*key, paper.GroupName + ".Inner", adjust.Inner);
    store.WriteInteger(*key, paper.GroupName + ".Outer", adjust.Outer);
}

}  // namespace orvella
