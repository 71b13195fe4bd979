#pragma once
// Pixel effects on 24 and 32-bit bitmaps, all table driven: monotone tint,
// brightness/contrast, box blur, unsharp mask and exact colour replacement.
// An effect reads the source rectangle and writes a destination of the
// source's format and of that rectangle's size; other formats do nothing.

#include "graphics/bitmap.h"

#include <functional>

namespace orvella {

// Progress of a long effect: Begin(steps), one Step per 64 rows, End.
class TProgressReporter {
public:
    virtual ~TProgressReporter() = default;
    virtual void Begin(int steps) = 0;
    virtual void Step() = 0;
    virtual void End() = 0;
};

class TGREffector {
public:
    TGREffector(TBitmap& source, TBitmap& destination);
    virtual ~TGREffector() = default;
    TGREffector(const TGREffector&) = delete;
    TGREffector& operator=(const TGREffector&) = delete;

    // Callers pass the whole source, which is also the default.
    TRect SourceRect;
    TProgressReporter* Progress = nullptr;

    void Execute();

protected:
    virtual int StepCount(int rows) const { return rows / 64 + 2; }
    // source and destination are prepared: same format, destination sized
    // to the rectangle. rowOffset/columnOffset locate the rectangle.
    virtual void Run() = 0;

    // Row y of the source rectangle (0-based) and of the destination.
    const uint8_t* SourceRow(int32_t y) const;
    uint8_t* DestRow(int32_t y) { return destination_.Row(y); }
    int32_t Width() const { return SourceRect.Right - SourceRect.Left; }
    int32_t Height() const { return SourceRect.Bottom - SourceRect.Top; }
    int PixelBytes() const { return BytesPerPixel(source_.PixelFormat()); }
    // Every colour byte of every row through a 256-entry table.
    void MapBytes(const uint8_t table[256]);
    void ReportRow(int32_t y);

    TBitmap& source_;
    TBitmap& destination_;
};

class TGREffectMonoTone : public TGREffector {
public:
    TGREffectMonoTone(TBitmap& source, TBitmap& destination, TColor tint);

protected:
    void Run() override;

private:
    TColor tint_;
};

class TGREffectBrightnessContrast : public TGREffector {
public:
    TGREffectBrightnessContrast(TBitmap& source, TBitmap& destination, int brightness, int contrast);

protected:
    void Run() override;

private:
    int brightness_;
    int contrast_;
};

class TGREffectBlur : public TGREffector {
public:
    TGREffectBlur(TBitmap& source, TBitmap& destination, int passes);

protected:
    int StepCount(int rows) const override;
    void Run() override;

private:
    int passes_;
};

class TGREffectColorChange : public TGREffector {
public:
    TGREffectColorChange(TBitmap& source, TBitmap& destination, TColor from, TColor to);

protected:
    int StepCount(int rows) const override { return rows / 64 + 1; }
    void Run() override;

private:
    TColor from_;
    TColor to_;
};

class TGREffectUnsharpMask : public TGREffector {
public:
    TGREffectUnsharpMask(TBitmap& source, TBitmap& destination, double amount);

protected:
    void Run() override;

private:
    double amount_;
};

// The tables behind the effects, open for checking: the monotone ramp of a
// tint (entry j as 0x00BBGGRR) and the brightness/contrast byte table.
void MonotoneTable(TColor tint, TColor table[256]);
void BrightnessContrastTable(int brightness, int contrast, uint8_t table[256]);

// One box-blur pass over whole bitmaps of the same size and format.
void BoxBlurPass(const TBitmap& source, TBitmap& destination);

}  // namespace orvella
