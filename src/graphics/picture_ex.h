#pragma once
// The picture container: one graphic plus where it came from (its image
// library and storage identifiers), a modified flag and change reports.
// Its stored data is the graphic's class name and the graphic's own data,
// and a graphic nobody changed is stored again byte for byte.

#include "formats/persistent.h"
#include "graphics/change_notify.h"
#include "graphics/graphic.h"

#include <functional>
#include <memory>
#include <string>

namespace orvella {

class TSafetyBitmap;
class TSafetyJPEGImage;

class TPictureEx : public TPersistent {
    ORVELLA_PERSISTENT(TPictureEx)

public:
    TPictureEx();
    ~TPictureEx() override;

    std::string ImageID;
    std::string StorageID;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Takes the graphic (nullptr empties the picture) and reports the change.
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    bool Empty() const { return !graphic_ || graphic_->Empty(); }
    int32_t Width() const { return graphic_ ? graphic_->Width() : 0; }
    int32_t Height() const { return graphic_ ? graphic_->Height() : 0; }

    // When the graphic is no JPEG (or bitmap), puts an empty one in its
    // place without reporting a change; returns the graphic.
    TSafetyJPEGImage& ForceJPEG();
    TSafetyBitmap& ForceBitmap();

    // Copies the graphic and, from another TPictureEx, the identifiers and
    // the source tag.
    void Assign(const TPictureEx& source);
    void Clear() { SetGraphic(nullptr); }

    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    // The picture's stored data: class name as a short string (length 0 for
    // an empty picture, nothing after it), then the graphic's data. An
    // unknown class name leaves the picture empty.
    void WritePictureData(std::string& out) const;
    void ReadPictureData(std::string_view data);

    void DefineProperties(TFiler& filer) override;

    TChangeNotify& Notifier() { return notifier_; }
    // The picture's own change event, called before the notifier reports.
    std::function<void()> OnChange;
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // While set, the picture's own data is not stored (only its identifiers).
    bool FromResource() const { return fromResource_; }
    void SetFromResource(bool fromResource) { fromResource_ = fromResource; }
    const std::string& SourceTag() const { return sourceTag_; }
    void SetSourceTag(std::string tag) { sourceTag_ = std::move(tag); }

    void Changed();

private:
    void adopt(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
    TChangeNotify notifier_{this};
    bool modified_ = false;
    bool fromResource_ = false;
    bool changing_ = false;
    std::string sourceTag_;
};

}  // namespace orvella
