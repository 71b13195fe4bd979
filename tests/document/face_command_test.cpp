// orvella-tool face-test: a paper of the compiled catalog on a paper site,
// written as a PNG of the site's size.

#include "document/paper_site.h"
#include "paper/papers.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <QImage>

#include <sstream>

namespace orvella {
namespace {

using test::BinaryDir;
using test::RunTool;
using test::TempDir;

// The site's device size for the paper of that group and name.
QSize siteSize(const std::string& group, const std::string& name)
{
    TPapersV2 catalog(BinaryDir() + "/share/orvella/orvella.ppr", true, true);
    for (int i = 0; i < catalog.Count(); ++i)
        if (catalog.Papers(i).GroupName == group && catalog.Papers(i).PaperName == name) {
            TPaperSite site;
            site.ShowPaper(&catalog.Papers(i));
            return {site.Width(), site.Height()};
        }
    return {};
}

TEST(FaceTestCommand, WritesThePaperSiteAsAPicture)
{
    TempDir dir;
    const std::string out = dir.File("site.png");
    const test::ToolRun run = RunTool({"face-test", out});
    ASSERT_EQ(run.status, 0) << run.err;

    std::istringstream line(run.out);
    std::string group, name, size;
    std::getline(line, group, '\t');
    std::getline(line, name, '\t');
    std::getline(line, size);
    const QImage image(QString::fromStdString(out));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), siteSize(group, name)) << group << " / " << name;
    EXPECT_EQ(size, std::to_string(image.width()) + "x" + std::to_string(image.height()));
}

TEST(FaceTestCommand, NamesAPaperOrFailsClearly)
{
    TempDir dir;
    const test::ToolRun missing = RunTool({"face-test", dir.File("x.png"), "NoGroup", "NoPaper"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no such paper"), std::string::npos) << missing.err;
    EXPECT_EQ(RunTool({"face-test"}).status, 2);
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

// orvella-tool site-test: the objects overlap, the blended ellipse lets the
// rectangle below show through, a text lies over a QR code, and the failing
// object shows its marker while the others still draw.
TEST(SiteTestCommand, DrawsEveryObjectAndTheFailureMarker)
{
    test::TempDir dir;
    const std::string out = dir.File("site.png");
    const test::ToolRun run = test::RunTool({"site-test", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage picture(QString::fromStdString(out));
    ASSERT_EQ(picture.size(), QSize(681, 492)) << run.out;
    EXPECT_EQ(run.out, "681x492\n");
    const auto at = [&](int x, int y) { return picture.pixelColor(x, y); };
    EXPECT_EQ(at(100, 100), QColor(0x30, 0x70, 0xC0)) << "the bottom rectangle";
    EXPECT_EQ(at(500, 130), QColor(0x40, 0xB0, 0x40)) << "the top rectangle";
    const QColor mixed = at(300, 200);  // the ellipse over the bottom rectangle
    EXPECT_GT(mixed.red(), 0x60);
    EXPECT_GT(mixed.blue(), 0x50);
    int hatch = 0;  // the failure marker's red hatching
    for (int y = 320; y < 440; ++y)
        for (int x = 100; x < 300; ++x)
            hatch += at(x, y) == QColor(Qt::red);
    EXPECT_GT(hatch, 2000);
    EXPECT_EQ(at(205, 140), QColor(0x30, 0x70, 0xC0)) << "outside the ellipse nothing is blended";
    // The selected rectangle's handles: black squares in a white frame on
    // its corners, (520, 90) and (840, 270) at 200 %.
    EXPECT_EQ(at(393, 68), QColor(Qt::black));
    EXPECT_EQ(at(390, 65), QColor(Qt::white));
    EXPECT_EQ(at(635, 204), QColor(Qt::black));
    // The QR code (620, 320)-(820, 520) shows dark modules on white, and the
    // text below it overlaps its lower edge with dark glyphs.
    const auto dark = [&](int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += at(x, y).lightness() < 64;
        return count;
    };
    const int codeDark = dark(475, 248, 615, 388);
    EXPECT_GT(codeDark, 2000) << "modules";
    EXPECT_LT(codeDark, 140 * 140 - 2000) << "and light space between them";
    EXPECT_GT(dark(425, 395, 670, 484), 100) << "the text's glyphs";
}

}  // namespace
}  // namespace orvella
