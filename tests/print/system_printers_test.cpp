#include "print/system_printers.h"

#include "print/printer_configuration.h"
#include "print/printer_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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

// A printer list that says what it is told; "broken" raises when opened.
class ToldPrinterList : public IPrinterList {
public:
    ToldPrinterList(std::vector<std::string> names, std::string defaultName, std::vector<std::string> openable)
        : names_(std::move(names)), default_(std::move(defaultName)), openable_(std::move(openable))
    {
    }
    std::vector<std::string> Names() const override { return names_; }
    std::string DefaultName() const override { return default_; }
    bool CanOpen(const std::string& name) const override
    {
        if (name == "broken")
            throw std::runtime_error("cupsd went away");
        return std::find(openable_.begin(), openable_.end(), name) != openable_.end();
    }

private:
    std::vector<std::string> names_;
    std::string default_;
    std::vector<std::string> openable_;
};

// The printing system knows every printer but "ghost", which it cannot open.
class KnownPrinterQuery : public IPrinterQuery {
public:
    bool Exists(const std::string& printer) override { return printer != "ghost"; }
    std::string MakeAndModel(const std::string& printer) override { return printer + " driver"; }
    std::vector<TPrinterMedia> Media(const std::string&) override { return {}; }
    std::optional<TPrinterMedia> DefaultMedia(const std::string&) override { return std::nullopt; }
};

class PrinterSelection : public ::testing::Test {
protected:
    void SetUp() override { ApplicationPrinterObject() = TApplicationPrinter{}; }
    void TearDown() override { ApplicationPrinterObject() = TApplicationPrinter{}; }
    std::shared_ptr<IPrinterQuery> query_ = std::make_shared<KnownPrinterQuery>();
};

TEST_F(PrinterSelection, DefaultNameFallsBackToTheProfileDevice)
{
    const ToldPrinterList withDefault({"Laser", "Inkjet"}, "Inkjet", {});
    EXPECT_EQ(GetDefaultPrinterName(withDefault, [] { return std::string("Laser"); }), "Inkjet");
    const ToldPrinterList without({"Laser", "Inkjet"}, "", {});
    EXPECT_EQ(GetDefaultPrinterName(without, [] { return std::string("  Laser ,winspool,Ne00:"); }), "Laser");
    EXPECT_EQ(GetDefaultPrinterName(without, [] { return std::string(); }), "");
    EXPECT_EQ(GetDefaultPrinterName(without, nullptr), "");
}

TEST_F(PrinterSelection, ExistsAndOpensAskTheListAndFailuresCountAsNo)
{
    const ToldPrinterList printers({"Laser", "broken", "PDF file"}, "", {"Laser", "PDF file"});
    EXPECT_TRUE(PrinterExists(printers, "Laser"));
    EXPECT_FALSE(PrinterExists(printers, "laser"));
    EXPECT_FALSE(PrinterExists(printers, ""));
    EXPECT_TRUE(CanOpenPrinter(printers, "Laser"));
    EXPECT_FALSE(CanOpenPrinter(printers, "broken"));
    EXPECT_FALSE(CanOpenPrinter(printers, "Inkjet"));
}

TEST_F(PrinterSelection, SelectingByNameTakesTheDriverAndDefaultDeviceMode)
{
    const ToldPrinterList printers({"Laser", "ghost", "PDF file"}, "", {"Laser", "PDF file"});
    SelectPrinterByName(printers, "Laser", query_);
    EXPECT_EQ(ApplicationPrinterObject().Device, "Laser");
    EXPECT_EQ(ApplicationPrinterObject().Driver, "Laser driver");
    EXPECT_EQ(ApplicationPrinterObject().DeviceMode.DeviceName(), "Laser");

    // Refusals leave the printer as it was.
    EXPECT_THROW(SelectPrinterByName(printers, "Inkjet", query_), std::out_of_range);
    EXPECT_THROW(SelectPrinterByName(printers, "ghost", query_), std::runtime_error);
    EXPECT_EQ(ApplicationPrinterObject().Device, "Laser");
    EXPECT_EQ(ApplicationPrinterObject().DeviceMode.DeviceName(), "Laser");

    SelectPrinterByName(printers, "PDF file", query_);
    EXPECT_EQ(ApplicationPrinterObject().Driver, "");
    EXPECT_EQ(ApplicationPrinterObject().DeviceMode.DeviceName(), "PDF file");
}

TEST_F(PrinterSelection, AConfigurationChangesTheApplicationPrinterOnlyWhenApplied)
{
    const ToldPrinterList printers({"Laser", "Inkjet"}, "", {"Laser", "Inkjet"});
    SelectPrinterByName(printers, "Laser", query_);
    TPrinterConfiguration inkjet("Inkjet", query_);
    inkjet.GetDeviceMode().SetOrientation(2);
    EXPECT_EQ(ApplicationPrinterObject().Device, "Laser");
    EXPECT_EQ(ApplicationPrinterObject().DeviceMode.Orientation(), 0);

    inkjet.ApplyToPrinter();
    EXPECT_EQ(ApplicationPrinterObject().Device, "Inkjet");
    EXPECT_EQ(ApplicationPrinterObject().Driver, "");
    EXPECT_EQ(ApplicationPrinterObject().DeviceMode.Orientation(), 2);
    EXPECT_EQ(ApplicationPrinterObject().DeviceMode.DeviceName(), "Inkjet");
    // A copy: later changes stay the configuration's own.
    inkjet.GetDeviceMode().SetOrientation(1);
    EXPECT_EQ(ApplicationPrinterObject().DeviceMode.Orientation(), 2);
}

TEST_F(PrinterSelection, UpdatingTheDeviceModeKeepsTheDefaultsFieldsAndThePaperSize)
{
    TPrinterConfiguration laser("Laser", query_);
    laser.GetDeviceMode().SetFields(0x1 | devmode::kFieldPaperLength | devmode::kFieldPaperWidth | 0x100);
    laser.GetDeviceMode().SetOrientation(2);
    laser.UpdateDeviceMode();
    // The default record carries no fields: only the paper's size stays.
    EXPECT_EQ(laser.GetDeviceMode().Fields(), devmode::kFieldPaperLength | devmode::kFieldPaperWidth);
    EXPECT_EQ(laser.GetDeviceMode().Orientation(), 2);
    EXPECT_EQ(laser.GetDeviceMode().DeviceName(), "Laser");
}

struct DefaultCase {
    const char* name;
    std::vector<std::string> names;
    std::string defaultName;
    std::vector<std::string> openable;
    std::string profile;
    const char* want;  // nullptr: nothing selected
};

class SelectDefault : public PrinterSelection, public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(SelectDefault, ChoosesAsTheTableSays)
{
    const DefaultCase& c = GetParam();
    const ToldPrinterList printers(c.names, c.defaultName, c.openable);
    const std::string profile = c.profile;
    const bool selected = SelectDefaultPrinter(printers, query_, [&] { return profile; });
    EXPECT_EQ(selected, c.want != nullptr);
    EXPECT_EQ(ApplicationPrinterObject().Device, c.want ? c.want : "");
}

INSTANTIATE_TEST_SUITE_P(Table, SelectDefault, ::testing::Values(
    DefaultCase{"default_opens", {"Laser", "Inkjet", "PDF file"}, "Inkjet", {"Laser", "Inkjet", "PDF file"}, "", "Inkjet"},
    DefaultCase{"default_closed", {"Laser", "Inkjet", "PDF file"}, "Inkjet", {"Laser", "PDF file"}, "", "Laser"},
    DefaultCase{"default_not_listed", {"Laser", "PDF file"}, "Gone", {"Laser", "PDF file"}, "", "Laser"},
    DefaultCase{"profile_names_it", {"Laser", "Inkjet", "PDF file"}, "", {"Laser", "Inkjet", "PDF file"},
                "Inkjet,cups,", "Inkjet"},
    DefaultCase{"failure_skipped", {"broken", "PDF file"}, "broken", {"PDF file"}, "", "PDF file"},
    DefaultCase{"none_opens", {"Laser", "broken"}, "", {}, "", nullptr},
    DefaultCase{"driver_refuses", {"ghost"}, "ghost", {"ghost"}, "", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvella::test
