#pragma once
// A picture's graphic: the decoded pixels of one picture file kind together
// with the bytes it was read from, so that a graphic nobody changed is
// stored again byte for byte. The registries name the graphic classes of
// stored picture data and the picture file kinds the program opens.

#include "graphics/bitmap.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TCanvas;

class TGraphic {
public:
    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // The class name stored picture data names this graphic by.
    virtual std::string StoredClassName() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
    virtual bool Empty() const = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;

    // The graphic as a file of its own kind. Loading checks everything and
    // raises EInvalidGraphic on bad bytes, leaving the graphic as it was.
    virtual void LoadFromBytes(std::string_view bytes) = 0;
    virtual std::string SaveToBytes() const = 0;
    // The graphic data of stored picture data (what follows the class name).
    virtual void ReadData(std::string_view data) { LoadFromBytes(data); }
    virtual void WriteData(std::string& out) const { out += SaveToBytes(); }

    // The picture on a white 24-bit bitmap of its own size; transparent
    // parts stay white.
    virtual void RenderTo24(TBitmap& target) const = 0;
    // True when parts of the picture are see-through when drawn.
    virtual bool HasTransparentParts() const { return false; }
    // A 24-bit black-and-white mask, white where the picture is see-through;
    // only meaningful when HasTransparentParts.
    virtual void RenderMask(TBitmap& mask) const;
    // Draws stretched into rect (device pixels of the canvas); see-through
    // parts leave the canvas as it was.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const;

    // Called after every change of the graphic.
    std::function<void()> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
};

// Draws image through mask (white = leave the canvas) stretched into rect,
// the way a transparent bitmap is drawn: the mask merged in, then the image
// with its masked pixels made white ANDed on top.
void DrawMasked(TCanvas& canvas, const TRect& rect, TBitmap& image, TBitmap& mask);

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

// Graphic classes that stored picture data may name. The most recently
// registered of a name wins; names compare exactly. Registration belongs to
// start-up; lookups are safe from any thread.
void RegisterGraphicClass(const std::string& className, TGraphicFactory factory);
std::unique_ptr<TGraphic> CreateGraphicByClassName(std::string_view className);

// A picture file kind: extension (upper case, no dot), description and the
// graphic class that loads it.
struct TPictureFormat {
    std::string Extension;
    std::string Description;
    TGraphicFactory Create;
};
std::vector<TPictureFormat> PictureFormats();
void RegisterPictureFormat(TPictureFormat format);

// Reads picture bytes into a new graphic: by the extension when it names a
// registered kind, otherwise by the bytes' own signature. Raises
// EInvalidGraphic for bytes no reader accepts. Uses no shared state, so the
// background loader may call it from its own thread.
std::unique_ptr<TGraphic> ReadGraphic(std::string_view bytes, std::string_view extension = {});
std::unique_ptr<TGraphic> ReadGraphicFile(const std::string& fileName);

// Writes the graphic as a BMP, PNG, JPEG or compressed bitmap (CBM) file by
// the extension. A graphic read from a file of that very kind, unchanged,
// is written as its original bytes.
std::string WriteGraphicAs(const TGraphic& graphic, std::string_view extension);
void WriteGraphicFile(const TGraphic& graphic, const std::string& fileName);

// The extension of a file name, upper case, without the dot.
std::string ExtensionOf(std::string_view fileName);

}  // namespace orvella
