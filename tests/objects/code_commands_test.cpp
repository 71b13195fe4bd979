#include "drawing/designer.h"
#include "drawing/draw_site.h"
#include "objects/lo_jan_code.h"
#include "objects/lo_qr_code.h"
#include "objects/object_classes.h"

#include <gtest/gtest.h>

#include <string>

namespace orvella {
namespace {

class CodeCommands : public ::testing::Test {
protected:
    CodeCommands()
    {
        RegisterObjectClasses();
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(800);
    }
    ~CodeCommands() override
    {
        DesignerList().Clear();
        RegisterObjectClasses();
    }

    // A property dialog for the class that answers as told and notes what
    // it was shown.
    void dialogFor(const TClassInfo& objectClass, bool confirms)
    {
        DesignerList().Register(std::make_shared<TDialogDesigner>(objectClass, [this, confirms](TDrawObject& object) {
            shown.push_back(object.ClassName());
            return confirms;
        }));
    }

    TDrawSite site;
    std::vector<std::string> shown;
};

TEST_F(CodeCommands, CaptionsMakeTheirObjectsAndOpenTheDialogFirst)
{
    dialogFor(TLOJANCode::StaticClassInfo(), true);
    dialogFor(TLOQRStd::StaticClassInfo(), true);
    ASSERT_TRUE(DesignerList().CreateObject(site, "JANコード(&J)..."));
    ASSERT_EQ(site.ObjectCount(), 1u);
    EXPECT_NE(dynamic_cast<TLOJANCode*>(&site.Objects(0)), nullptr);
    // The code waits to be placed by dragging; a second command gives the
    // first up, so the site holds only the new one.
    ASSERT_TRUE(DesignerList().CreateObject(site, "QRコード(&Q)..."));
    EXPECT_EQ(shown, (std::vector<std::string>{"TLOJANCode", "TLOQRStd"}));
    ASSERT_EQ(site.ObjectCount(), 1u);
    EXPECT_NE(dynamic_cast<TLOQRStd*>(&site.Objects(0)), nullptr);
}

TEST_F(CodeCommands, ACancelledDialogLeavesNoObject)
{
    dialogFor(TLOQRStd::StaticClassInfo(), false);
    EXPECT_FALSE(DesignerList().CreateObject(site, "TLOQRStd"));
    EXPECT_EQ(shown, std::vector<std::string>{"TLOQRStd"});
    EXPECT_EQ(site.ObjectCount(), 0u);
}

}  // namespace
}  // namespace orvella
