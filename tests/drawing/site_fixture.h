#pragma once
// A site on tenths of a millimetre at 100 %: 254 logical units are 96
// pixels. Objects made by Box() are owned by the site.

#include "drawing/draw_site.h"
#include "drawing/ghost_list.h"
#include "graphics/bitmap.h"
#include "test_objects.h"

#include <gtest/gtest.h>

namespace orvella::test {

class SiteTest : public ::testing::Test {
protected:
    SiteTest()
    {
        RegisterTestClasses();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(800);
    }
    ~SiteTest() override { GhostList().Cancel(); }

    TTestBox& Box(TRect box, int32_t layerGroup = 0, TColor color = clRed)
    {
        auto& object = static_cast<TTestBox&>(site.InsertOwnedObject(std::make_unique<TTestBox>(box, layerGroup, color)));
        site.AddObject(object);
        return object;
    }
    std::vector<TDrawObject*> Order() const
    {
        std::vector<TDrawObject*> order;
        for (std::size_t i = 0; i < site.ObjectCount(); ++i)
            order.push_back(&site.Objects(i));
        return order;
    }
    // The centre of an object in site pixels.
    static TPoint Centre(const TDrawObject& object)
    {
        const TRect& r = object.BoundsRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void Press(TPoint at, TShiftState shift = 0, TMouseButton button = TMouseButton::mbLeft)
    {
        site.MouseDown({button, shift, at});
    }
    void Move(TPoint at, TShiftState shift = 0) { site.MouseMove({TMouseButton::mbLeft, shift, at}); }
    void Release(TPoint at, TShiftState shift = 0, TMouseButton button = TMouseButton::mbLeft)
    {
        site.MouseUp({button, shift, at});
    }
    void Click(TPoint at, TShiftState shift = 0)
    {
        Press(at, shift);
        Release(at, shift);
    }

    TDrawSite site;
};

}  // namespace orvella::test
