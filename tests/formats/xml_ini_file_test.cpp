#include "formats/xml_ini_file.h"
#include "platform/cp932.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

namespace orvella::test {
namespace {

TEST(XMLIniFile, PathsCreateElementsEachAfterALineFeed)
{
    TXMLIniFile ini;
    TXMLIniSection b = ini.GetSection("a\\b");
    EXPECT_EQ(b.GetName(), "b");
    b.WriteString("Name", "値");
    EXPECT_TRUE(ini.SectionExists("a\\b"));
    EXPECT_TRUE(ini.SectionExists("\\root\\a"));
    EXPECT_FALSE(ini.SectionExists("a\\c"));
    const std::string xml = ini.SaveToString();
    EXPECT_EQ(xml, EncodeCp932("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
                               "<root>\n<a>\n<b Name=\"値\"/></a></root>\n"));
}

TEST(XMLIniFile, ValuesConvertOrFallBackToTheirDefaults)
{
    TXMLIniFile ini;
    TXMLIniSection s = ini.GetSection("Values");
    s.WriteString("Empty", "");
    s.WriteString("Mixed", "12x");
    s.WriteInteger("Number", -42);
    s.WriteBool("Flag", true);
    s.WriteFloat("Ratio", 1.25);
    s.WriteDateTime("When", EncodeDateTime(2026, 12, 9, 23, 5, 7));
    s.WriteDate("Day", EncodeDateTime(2026, 1, 2));
    for (const char* name : {"Missing", "Empty", "Mixed"})
        EXPECT_EQ(s.ReadInteger(name, 7), 7) << name;
    EXPECT_EQ(s.ReadInteger("Number", 7), -42);
    EXPECT_EQ(s.ReadString("Flag", ""), "1");
    EXPECT_TRUE(s.ReadBool("Flag", false));
    EXPECT_FALSE(s.ReadBool("Number", false) == false);
    EXPECT_EQ(s.ReadFloat("Ratio", 0), 1.25);
    EXPECT_EQ(s.ReadFloat("Mixed", 3.5), 3.5);
    EXPECT_EQ(s.ReadString("When", ""), "2026/12/09 23:05:07");
    EXPECT_EQ(s.ReadString("Day", ""), "2026/01/02");
    EXPECT_EQ(s.ReadDateTime("When", 0), EncodeDateTime(2026, 12, 9, 23, 5, 7));
    EXPECT_EQ(s.ReadDate("Day", 0), EncodeDateTime(2026, 1, 2));
    EXPECT_EQ(s.ReadDate("Mixed", 5.0), 5.0);
    EXPECT_EQ(s.ReadValueNames(), "Empty\r\nMixed\r\nNumber\r\nFlag\r\nRatio\r\nWhen\r\nDay\r\n");
    s.DeleteValue("Mixed");
    EXPECT_FALSE(s.ValueExists("Mixed"));
    EXPECT_THROW(s.WriteString("bad name", "x"), EXMLIniFile);
}

TEST(XMLIniFile, ReadsShiftJisWithWindowsCharactersAndSelectsByAttribute)
{
    TempDir dir;
    const std::string file = dir.File("printers.xml");
    WriteFile(file, EncodeCp932("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
                                "<DirectPrinter>\n"
                                "<PrinterData PrinterName=\"A\" Tray=\"1\"/>\n"
                                "<PrinterData PrinterName=\"B ①\" Tray=\"2\">テキスト～</PrinterData>\n"
                                "</DirectPrinter>\n"));
    TXMLIniFile ini;
    ini.LoadFromFile(file);
    EXPECT_EQ(ini.GetName(), "DirectPrinter");
    TXMLIniSection b = ini.GetSection("PrinterData[@PrinterName=\"B ①\"]");
    EXPECT_EQ(b.ReadInteger("Tray", 0), 2);
    EXPECT_EQ(b.GetText(), "テキスト～");
    TXMLIniSectionList all = ini.GetSections("PrinterData");
    EXPECT_EQ(all.Count(), 2);
    all.Add().WriteString("PrinterName", "C");
    EXPECT_EQ(ini.GetSections("PrinterData").Count(), 3);
    all.Delete(0);
    EXPECT_FALSE(ini.SectionExists("PrinterData[@PrinterName=\"A\"]"));

    // Saved back as Shift_JIS; a character CP932 lacks becomes a reference.
    b.SetText("😀 ①");
    ini.SaveToFile(file);
    const std::string saved = ReadFile(file);
    EXPECT_NE(saved.find("encoding=\"Shift_JIS\""), std::string::npos);
    EXPECT_NE(saved.find("&#128512; \x87\x40"), std::string::npos);
    TXMLIniFile again;
    again.LoadFromFile(file);
    EXPECT_EQ(again.GetSection("PrinterData[@PrinterName=\"B ①\"]").GetText(), "😀 ①");
}

TEST(XMLIniFile, AddToAListWhoseParentIsMissingCreatesTheParent)
{
    TXMLIniFile ini;
    TXMLIniSectionList list = ini.GetSections("Printers\\PrinterData");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(ini.SectionExists("Printers")) << "asking creates nothing";
    list.Add().WriteString("PrinterName", "A");
    EXPECT_FALSE(ini.SectionExists("PrinterData")) << "not beside the missing parent";
    EXPECT_EQ(ini.GetSection("Printers\\PrinterData").ReadString("PrinterName", ""), "A");
    list.Add();
    EXPECT_EQ(ini.GetSections("Printers\\PrinterData").Count(), 2) << "the second goes under the same parent";
    EXPECT_EQ(ini.GetSections("Printers").Count(), 1);
}

TEST(XMLIniFile, ErrorsAreReportedAndMissingFilesChangeNothing)
{
    TXMLIniFile ini;
    ini.GetSection("Kept");
    ini.LoadFromFile("/nonexistent/printers.xml");
    EXPECT_TRUE(ini.SectionExists("Kept"));
    EXPECT_THROW(ini.LoadFromString("<a><b></a>"), EXMLIniFile);
    EXPECT_TRUE(ini.SectionExists("Kept")) << "a failed load keeps the document";
    EXPECT_THROW(ini.GetSection("a[@"), EXMLIniFile);
    EXPECT_THROW(ini.GetSection("1bad"), EXMLIniFile);
    ini.LoadFromString("<?xml version=\"1.0\"?><!-- only a comment --><x/>");
    EXPECT_EQ(ini.GetName(), "x");
}

TEST(XMLIniFile, ClearAssignAndDeleteKeepOtherSectionsValid)
{
    TXMLIniFile ini;
    TXMLIniSection source = ini.GetSection("Source");
    source.WriteString("K", "v");
    source.GetSection("First").WriteInteger("N", 1);
    source.GetSection("Second").WriteInteger("N", 2);
    TXMLIniSection copy = ini.GetSection("Copy");
    copy.Assign(source);
    EXPECT_EQ(copy.ReadString("K", ""), "v");
    EXPECT_EQ(copy.GetSections("*").Item(0).GetName(), "First") << "children keep their order";
    TXMLIniSection first = source.GetSection("First");
    ini.DeleteSection("Source");
    EXPECT_FALSE(ini.SectionExists("Source"));
    EXPECT_EQ(first.ReadInteger("N", 0), 1) << "a section of a deleted element stays readable";
    copy.Clear();
    EXPECT_TRUE(copy.IsEmpty());
}

}  // namespace
}  // namespace orvella::test
