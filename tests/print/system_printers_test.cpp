#include "print/system_printers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvella::test {
namespace {

TEST(SystemPrinters, WithoutCupsThePdfPrinterIsStillThere)
{
    const TSystemPrinterList none([] { return TPrinterDestinations{}; });
    EXPECT_EQ(none.Names(), std::vector<std::string>{"PDF file"});
    EXPECT_EQ(SelectUsablePrinter(none), "PDF file");

    const TSystemPrinterList failing([]() -> TPrinterDestinations { throw std::runtime_error("no cupsd"); });
    EXPECT_EQ(SelectUsablePrinter(failing), "PDF file");

    const TSystemPrinterList cups([] { return TPrinterDestinations{{"Laser", "Inkjet"}, "Inkjet"}; });
    EXPECT_EQ(cups.Names(), (std::vector<std::string>{"Laser", "Inkjet", "PDF file"}));
    EXPECT_EQ(SelectUsablePrinter(cups), "Inkjet");
}

}  // namespace
}  // namespace orvella::test
