#include "catalog_merge/cp932_fold.h"
#include "catalog_merge/ini_file.h"

#include <gtest/gtest.h>

namespace orvella::velmont {
namespace {

TEST(IniFile, KeepsEverythingItDoesNotChange)
{
    const std::string text = "; catalog\r\n[CD]\r\nName=Pop,Rock\r\n\r\n[DVD]\n  Name = Movie \nDir=movie\r\n";
    TIniFile ini = TIniFile::Parse(text);
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"CD", "DVD"}));
    EXPECT_EQ(ini.ReadString("dvd", "NAME"), "Movie");
    EXPECT_EQ(ini.ReadString("CD", "Dir"), std::nullopt);
    EXPECT_EQ(ini.Serialize(), "; catalog\r\n[CD]\r\nName=Pop,Rock\r\n\r\n[DVD]\r\n  Name = Movie \r\nDir=movie\r\n");

    ini.WriteString("CD", "Dir", "pop,rock");      // after the last key, before the blank line
    ini.WriteString("dvd", "name", "Film");        // in place, keeping the key's spelling
    ini.WriteString("BD", "Name", "New");          // a new section at the end
    ini.DeleteKey("DVD", "Dir");
    EXPECT_EQ(ini.Serialize(),
              "; catalog\r\n[CD]\r\nName=Pop,Rock\r\nDir=pop,rock\r\n\r\n[DVD]\r\nName=Film\r\n[BD]\r\nName=New\r\n");
}

TEST(IniFile, SectionNamesEndAtABracketThatIsACharacterOfItsOwn)
{
    // 転写 is 93 5D 8E CA, ゾ is 83 5D: both hold the byte of "]".
    TIniFile ini = TIniFile::Parse("[\x93\x5D\x8E\xCA]\r\nName=A\r\n[\x83\x5D]\r\nName=B\r\n");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"\x93\x5D\x8E\xCA", "\x83\x5D"}));
    EXPECT_EQ(ini.ReadString("\x93\x5D\x8E\xCA", "Name"), "A");
    EXPECT_EQ(ini.ReadString("\x83\x5D", "Name"), "B");
}

TEST(Cp932Fold, FoldsAsciiLettersButNotSecondBytes)
{
    EXPECT_TRUE(SameCp932Text("Rock=rock2", "ROCK=Rock2"));
    // ア (83 41) and ヂ (83 61) differ only in a second byte that looks like A / a.
    EXPECT_FALSE(SameCp932Text("\x83\x41", "\x83\x61"));
    EXPECT_LT(CompareCp932Text("jazz", "Pop"), 0);
    EXPECT_LT(CompareCp932Text("Z", "\x83\x41"), 0);  // double-byte text sorts after ASCII
    EXPECT_EQ(FoldCp932("ab\x83\x61z"), "AB\x83\x61Z");
}

}  // namespace
}  // namespace orvella::velmont
