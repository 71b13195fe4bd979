#include "objects/image_classes.h"

#include "document/ld_objects.h"
#include "document/document_classes.h"
#include "drawing/designer.h"
#include "drawing/do_actions.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "formats/class_registry.h"
#include "graphics/picture_clipboard.h"
#include "graphics/rect_utils.h"
#include "objects/lo_alpha_mask.h"
#include "objects/lo_back_image.h"
#include "objects/lo_image.h"

namespace orvella {

namespace {

TCreationCommand imageCommand(TImageSource source, bool fromClipboard)
{
    TCreationCommand command;
    command.InstanceName = "TLOWizardImage";
    command.EditFirst = !fromClipboard;
    command.PlaceByDragging = false;
    command.Prepare = [source, fromClipboard](TDrawObject& object, TDrawSite&) {
        auto* image = dynamic_cast<TLOImage*>(&object);
        if (!image)
            return;
        image->SetImageSource(source);
        if (fromClipboard && AssignPictureFromClipboard(image->ImageData().Picture()))
            image->FitToPicture();
    };
    return command;
}

void registerBackgroundHooks()
{
    TFaceObjectHooks hooks;
    hooks.Upgrade = [](TDrawObject& object) { return PlainBackgroundFor(object); };
    hooks.FitToFace = [](TDrawObject& object, const TFaceInfo& face) {
        auto* background = dynamic_cast<TLOBackImage*>(&object);
        if (!background)
            return;
        background->SetFaceInfo(&face);
        const TRect outer = face.GetOuterRect();
        background->SetBoundsRect({0, 0, RectWidth(outer), RectHeight(outer)});
        background->SetEnabled(false);
    };
    hooks.IsEmptyBackgroundOnly = [](const TDOList& list) {
        if (list.Count() != 1)
            return false;
        const auto* background = dynamic_cast<const TLOBackImage*>(&list[0]);
        return background && background->IsPlain();
    };
    AddFaceObjectHooks(std::move(hooks));
}

// The clip rectangle of the face's proportions in a picture of the given
// size, and whether it cuts the picture at top and bottom.
TRect faceClip(TSize picture, TSize face)
{
    const TRect whole{0, 0, picture.cx, picture.cy};
    if (face.cx <= 0 || face.cy <= 0)
        return whole;
    return FitRect({0, 0, face.cx, face.cy}, whole);
}

}  // namespace

void RegisterImageCommands(TLOCreator& creator)
{
    // Every name a picture object is made or read under gives the wizard's class.
    for (const char* name : {"TLOImage", "TLOImagePaste", "TLOBitmapPaste", "TLOMetafilePaste", "TLOOnePoint",
                             "TLOTwain"})
        creator.AddAlias(name, "TLOWizardImage");
    creator.AddCommand("TLOImage", imageCommand(TImageSource::isFile, false));
    creator.AddCommand("TLOOnePoint", imageCommand(TImageSource::isOnePoint, false));
    creator.AddCommand("TLOTwain", imageCommand(TImageSource::isTwain, false));
    for (const char* name : {"TLOImagePaste", "TLOBitmapPaste", "TLOMetafilePaste"})
        creator.AddCommand(name, imageCommand(TImageSource::isFile, true));

    TCreationCommand background;
    background.EditFirst = true;
    background.PlaceByDragging = false;
    background.Prepare = [](TDrawObject& object, TDrawSite& site) {
        auto* back = dynamic_cast<TLOBackImage*>(&object);
        if (!back)
            return;
        back->Reset();
        back->SetBoundsRect({0, 0, site.LogWidth(), site.LogHeight()});
        back->SetEnabled(false);
        back->SetSelectable(false);
    };
    creator.AddCommand("TLOBackImage", background);

    TCreationCommand mask;
    mask.EditFirst = true;
    mask.PlaceByDragging = false;
    creator.AddCommand("TLOAlphaMask", mask);
}

void RegisterImageClasses()
{
    RegisterClasses({
        &TLOImage::StaticClassInfo(),
        &TLOWizardImage::StaticClassInfo(),
        &TLOBackImage::StaticClassInfo(),
        &TLOBackImage2004::StaticClassInfo(),
        &TBackImagePicture::StaticClassInfo(),
        &TLOAlphaMask::StaticClassInfo(),
    });
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterImageCommands(LabelObjectCreator());
    registerBackgroundHooks();
}

std::unique_ptr<TLOImage> CreateImageObjectFromFile(const std::string& path, TSize faceSize)
{
    auto image = std::make_unique<TLOWizardImage>();
    image->SetImageSource(TImageSource::isFile);
    image->ImageData().Picture().LoadFromFile(path);
    image->FitToPicture();
    TRect place = image->Rect();
    if (faceSize.cx > 0 && faceSize.cy > 0) {
        const TRect face{0, 0, faceSize.cx, faceSize.cy};
        if (RectWidth(place) > faceSize.cx || RectHeight(place) > faceSize.cy)
            place = FitRect(place, face);
        place = CenterRectAt(place, RectCenter(face));
    }
    image->SetBoundsRect(place);
    return image;
}

bool HasBackgroundPicture(const TLOBackImage& background)
{
    return background.FillColor().Kind() == TColorSpecKind::cskBitmap &&
           !background.FillColor().ImageData().Picture().Empty();
}

std::vector<TBackgroundPositionItem> BackgroundPositionItems(const TLOBackImage& background, TSize faceSize)
{
    const bool enabled = HasBackgroundPicture(background);
    const TPictureEx& picture = background.FillColor().ImageData().Picture();
    const TRect clip = faceClip({picture.Width(), picture.Height()}, faceSize);
    const bool cutVertically = enabled && RectHeight(clip) < picture.Height();
    return {
        {"イメージの中央", TBackgroundPosition::bpCenter, enabled},
        {cutVertically ? "イメージの上端" : "イメージの左端", TBackgroundPosition::bpStart, enabled},
        {cutVertically ? "イメージの下端" : "イメージの右端", TBackgroundPosition::bpEnd, enabled},
        {"イメージを並べる", TBackgroundPosition::bpTile, enabled},
    };
}

void ApplyBackgroundPosition(TLOBackImage& background, TBackgroundPosition choice, TSize faceSize)
{
    if (!HasBackgroundPicture(background))
        return;
    TColorSpec& fill = background.FillColor();
    if (choice == TBackgroundPosition::bpTile) {
        fill.SetTile(true);
        return;
    }
    fill.SetTile(false);
    TImageData& data = fill.ImageData();
    const TSize picture{data.Picture().Width(), data.Picture().Height()};
    TRect clip = faceClip(picture, faceSize);
    if (choice == TBackgroundPosition::bpStart)
        clip = OffsetRect(clip, -clip.Left, -clip.Top);
    else if (choice == TBackgroundPosition::bpEnd)
        clip = OffsetRect(clip, picture.cx - clip.Right, picture.cy - clip.Bottom);
    data.ClipFilter().SetClipRect(clip);
}

void ApplyBackgroundPositionStep(TLOBackImage& background, TBackgroundPosition choice, TSize faceSize)
{
    auto step = std::make_unique<TDOChangeAction>(background, "背景変更");
    ApplyBackgroundPosition(background, choice, faceSize);
    RecordChange(std::move(step));
}

}  // namespace orvella
