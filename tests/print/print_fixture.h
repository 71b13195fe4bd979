#pragma once
// A printer that records what a job does and prints into a bitmap, and a
// document on the six-disc test paper with a red rectangle on chosen faces.

#include "document/document_classes.h"
#include "document/label_data.h"
#include "drawing/do_list.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "print/print_device.h"
#include "../document/label_test_objects.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orvella::test {

class TRecordingPrinter : public IPrintDevice {
public:
    TRecordingPrinter(int32_t ppi, TPoint physicalOffset) : ppi_(ppi), offset_(physicalOffset) {}

    void SetPaperSize(TSize upright) override { paper_ = upright; }
    void SetLandscape(bool landscape) override
    {
        landscape_ = landscape;
        Events.push_back(landscape ? "landscape" : "portrait");
    }
    bool Landscape() const override { return landscape_; }
    void SetTitle(const std::string&) override {}
    void BeginDoc() override
    {
        Events.push_back("begin");
        printing_ = true;
        newPage();
    }
    void NewPage() override
    {
        Events.push_back("page");
        newPage();
    }
    void EndDoc() override
    {
        Events.push_back("end");
        printing_ = false;
    }
    void Abort() override
    {
        Events.push_back("abort");
        printing_ = false;
    }
    bool Printing() const override { return printing_; }
    int32_t PixelsPerInch() const override { return ppi_; }
    TPoint PhysicalOffset() const override { return offset_; }
    TCanvas& Canvas() override { return *canvas_; }

    TBitmap& Page() { return *pages_.back(); }
    std::vector<std::string> Events;

private:
    class TPageCanvas : public TCanvas {
    public:
        TPageCanvas(TPixelSurface* surface, int32_t ppi) : TCanvas(surface), ppi_(ppi) {}
        int32_t DeviceResolution() const override { return ppi_; }
        TDeviceTechnology Technology() const override { return TDeviceTechnology::RasterPrinter; }

    private:
        int32_t ppi_;
    };

    void newPage()
    {
        const bool turned = landscape_;
        const int32_t w = int32_t(int64_t(turned ? paper_.cy : paper_.cx) * ppi_ / 254);
        const int32_t h = int32_t(int64_t(turned ? paper_.cx : paper_.cy) * ppi_ / 254);
        pages_.push_back(std::make_unique<TBitmap>());
        pages_.back()->SetSize(w, h, TPixelFormat::pf24bit);
        canvas_ = std::make_unique<TPageCanvas>(pages_.back().get(), ppi_);
        canvas_->Brush() = TBrush{clWhite, TBrushStyle::bsSolid};
        canvas_->FillRect({0, 0, w, h});
    }

    int32_t ppi_;
    TPoint offset_;
    TSize paper_;
    bool landscape_ = false;
    bool printing_ = false;
    std::vector<std::unique_ptr<TBitmap>> pages_;
    std::unique_ptr<TCanvas> canvas_;
};

// Face-relative rectangles, clear of the 100-unit hole of the 300-unit discs.
inline constexpr TRect kBesideHole{30, 130, 90, 170};
inline constexpr TRect kOverHole{100, 100, 200, 200};

class PrintDocument : public ::testing::Test {
protected:
    PrintDocument()
    {
        RegisterDocumentClasses();
        RegisterLabelTestClasses();
        data_.SetPaper(*DiscPaper());
        data_.SetSeparatelyDesign(true);
    }

    void PutRect(int face, const TRect& rect)
    {
        TLOTestRect object;
        object.SetBoundsRect(rect);
        TDOList list;
        list.Add(object);
        data_.SaveFaceObjects(face, list);
    }

    TLabelData data_;
};

inline TColor PixelAt(TBitmap& page, int32_t x, int32_t y) { return page.Canvas().GetPixel(x, y); }

}  // namespace orvella::test
