#pragma once
// Alpha blending of a source bitmap onto a destination through an 8-bit
// alpha map: destination += trunc(a × (source − destination) / 255) per
// colour byte. The rectangles are clipped together; blending never scales,
// so rectangles of different sizes blend nothing.

#include "graphics/bitmap.h"
#include "graphics/gr_effector.h"

namespace orvella {

class TGRBlender {
public:
    virtual ~TGRBlender() = default;

    TBitmap* Dest = nullptr;
    TRect DestRect;
    TBitmap* Source = nullptr;
    TRect SourceRect;
    TBitmap* AlphaMap = nullptr;
    TRect AlphaMapRect;
    TProgressReporter* Progress = nullptr;

    virtual bool CanBlend() const;
    void Execute();

protected:
    // The alpha to use for a map value.
    virtual uint8_t Alpha(uint8_t mapValue) const { return mapValue; }
};

class TGRBlendAlphaMap : public TGRBlender {};

class TGRBlendAlphaMapRatio : public TGRBlender {
public:
    // Percent, limited to 0 … 100 when used.
    int Ratio = 100;

protected:
    uint8_t Alpha(uint8_t mapValue) const override;
};

}  // namespace orvella
