// Turning objects to face the face's centre, or across it, by position
// adjustment: the angle comes from where the object's centre lies.

#include "document/layout_operations.h"
#include "drawing/action_list.h"
#include "drawing/draw_site.h"
#include "objects/lo_rect.h"
#include "objects/object_classes.h"
#include "paper/face_info.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvella {
namespace {

struct AngleCase {
    TPoint centre;
    int32_t tangential;  // degrees, compared as the same direction
};

TEST(PositionAngle, TurnsAboutTheFaceCentre)
{
    RegisterObjectClasses();
    ActionList().Clear();
    TFaceInfo face;
    face.FaceRect = {0, 0, 1200, 1000};
    TDrawSite site;
    site.Scaler().SetUnitDPI(254);
    site.SetLogWidth(1200);
    site.SetLogHeight(1000);

    // The face's centre is (600, 500); screen y grows downwards.
    const AngleCase cases[] = {
        {{900, 500}, 0},     {{600, 200}, -90}, {{300, 800}, 135},
        {{600, 800}, 90},    {{100, 500}, 180}, {{1000, 520}, 3},  // atan2(20, 400) is 2.86 degrees
    };
    const auto stored = [](int32_t degrees) { return ((degrees % 360) + 360) % 360; };
    for (const int choice : {acTangential, acRadial}) {
        for (const AngleCase& c : cases) {
            auto& rect = static_cast<TLORect&>(site.InsertOwnedObject(std::make_unique<TLORect>()));
            rect.SetBoundsRect({c.centre.x - 40, c.centre.y - 20, c.centre.x + 40, c.centre.y + 20});
            site.AddObject(rect);
            site.SetAllSelected(false);
            rect.SetSelected(true);
            ASSERT_TRUE(AdjustPosition(site, choice, face));
            const int32_t want = c.tangential + (choice == acRadial ? 90 : 0);
            EXPECT_EQ(stored(rect.Angle()), stored(want)) << choice << " at " << c.centre.x << ',' << c.centre.y;
        }
    }
    ActionList().Clear();
}

}  // namespace
}  // namespace orvella
