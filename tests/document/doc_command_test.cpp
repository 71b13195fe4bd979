// orvella-tool doc: new documents on the compiled catalog's papers, their
// listing, their text dump and objects put on a face from a text.

#include "document/do_group.h"
#include "document/document_classes.h"
#include "document/label_data.h"
#include "drawing/action_list.h"
#include "drawing/do_list.h"
#include "drawing/draw_site.h"
#include "formats/storage_error.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvella::test {
namespace {

struct CatalogPaper {
    std::string group;
    std::string name;
    int faces = 0;
};

// The compiled catalog's papers, as `paper ls` lists them.
std::vector<CatalogPaper> CatalogPapers()
{
    const ToolRun run = RunTool({"paper", "ls", BinaryDir() + "/share/orvella/orvella.ppr"});
    std::vector<CatalogPaper> papers;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        CatalogPaper paper;
        std::string kind, size, faces;
        std::getline(fields, paper.group, '\t');
        std::getline(fields, paper.name, '\t');
        std::getline(fields, kind, '\t');
        std::getline(fields, size, '\t');
        std::getline(fields, faces, '\t');
        paper.faces = std::stoi(faces);
        papers.push_back(paper);
    }
    return papers;
}

// The first paper, the last, and the one with the most faces.
std::vector<CatalogPaper> SamplePapers(const std::vector<CatalogPaper>& papers)
{
    auto most = papers.front();
    for (const CatalogPaper& paper : papers)
        if (paper.faces > most.faces)
            most = paper;
    return {papers.front(), papers.back(), most};
}

TEST(DocCommand, MakesListsAndDumpsADocumentOnCatalogPapers)
{
    const std::vector<CatalogPaper> papers = CatalogPapers();
    ASSERT_FALSE(papers.empty());
    TempDir dir;
    for (const CatalogPaper& paper : SamplePapers(papers)) {
        const std::string file = dir.File("new.ovd");
        const ToolRun made = RunTool({"doc", "new", paper.group, paper.name, file});
        ASSERT_EQ(made.status, 0) << paper.name << ": " << made.err;
        const ToolRun listed = RunTool({"doc", "ls", file});
        ASSERT_EQ(listed.status, 0) << listed.err;
        EXPECT_EQ(listed.out, "sheet 0 *\t新規シート1\t" + paper.group + "\t" + paper.name + "\t" +
                                  std::to_string(paper.faces) + " faces\n");
        const ToolRun dumped = RunTool({"doc", "dump", file});
        ASSERT_EQ(dumped.status, 0) << dumped.err;
        EXPECT_NE(dumped.out.find("--- DataInfo\nobject TDataInfo\n"), std::string::npos) << dumped.out;
        EXPECT_NE(dumped.out.find("--- Sheets\\NameList0\\PaperInfo\nobject T"), std::string::npos) << dumped.out;
        EXPECT_NE(dumped.out.find("--- Sheets\\NameList0\\Info\nobject TLabelData\n"), std::string::npos) << dumped.out;
    }
}

TEST(DocCommand, ADocumentHoldingAGroupMadeByTheEditCommandOpensInAFreshProcess)
{
    const CatalogPaper paper = CatalogPapers().front();
    TempDir dir;
    const std::string file = dir.File("group.ovd");
    ASSERT_EQ(RunTool({"doc", "new", paper.group, paper.name, file}).status, 0);
    RegisterDocumentClasses();
    {
        TLabelData doc;
        doc.LoadFromFile(file);
        TDrawSite site;
        site.Scaler().SetUnitDPI(254);
        site.SetLogWidth(1000);
        site.SetLogHeight(1000);
        // The only label objects the program knows so far are groups.
        for (int i = 0; i < 2; ++i)
            site.AddObject(site.InsertOwnedObject(std::make_unique<TDOGroup>()));
        site.SetAllSelected(true);
        ASSERT_NE(GroupSelected(site), nullptr);
        ActionList().Clear();
        TDOList objects;
        site.GetObjects(objects, false);
        doc.SaveFaceObjects(0, objects);
        doc.SaveToFile(file);
    }
    const ToolRun opened = RunTool({"doc", "open", file});
    ASSERT_EQ(opened.status, 0) << opened.err;
    EXPECT_NE(opened.out.find("  face 0\t1 objects\tTDOGroup[TDOGroup,TDOGroup]\n"), std::string::npos) << opened.out;
}

TEST(DocCommand, ASecondProcessCannotOpenOrSaveOverADocumentHeldOpen)
{
    const CatalogPaper paper = CatalogPapers().front();
    TempDir dir;
    const std::string file = dir.File("held.ovd");
    ASSERT_EQ(RunTool({"doc", "new", paper.group, paper.name, file}).status, 0);
    const std::string saved = ReadFile(file);
    RegisterDocumentClasses();
    {
        TLabelData doc;
        doc.LoadFromFile(file);
        const ToolRun overwrite = RunTool({"doc", "new", paper.group, paper.name, file});
        EXPECT_EQ(overwrite.status, 1);
        EXPECT_NE(overwrite.err.find(StorageErrorText(TStorageCode::ShareViolation)), std::string::npos) << overwrite.err;
        EXPECT_EQ(ReadFile(file), saved);
        EXPECT_EQ(RunTool({"doc", "open", file}).status, 1);
        // Saving again keeps the hold on the new file.
        doc.SaveToFile(file);
        EXPECT_EQ(RunTool({"doc", "new", paper.group, paper.name, file}).status, 1);
    }
    EXPECT_EQ(RunTool({"doc", "new", paper.group, paper.name, file}).status, 0) << "released with the document";
}

TEST(DocCommand, PutReplacesOneFaceWithTheObjectsOfAText)
{
    const CatalogPaper paper = CatalogPapers().front();
    TempDir dir;
    const std::string file = dir.File("put.ovd");
    ASSERT_EQ(RunTool({"doc", "new", paper.group, paper.name, file}).status, 0);
    // Indented as "doc dump" prints a face's objects, a group holding two.
    WriteFile(dir.File("objects.txt"),
              "  object TDOGroup\n"
              "    object TDOGroup\n    end\n"
              "    object TDOGroup\n    end\n"
              "  end\n"
              "  object TDOGroup\n  end\n");
    const ToolRun put = RunTool({"doc", "put", file, dir.File("objects.txt"), "--sheet", "0", "--face", "0"});
    ASSERT_EQ(put.status, 0) << put.err;
    const ToolRun opened = RunTool({"doc", "open", file});
    EXPECT_NE(opened.out.find("  face 0\t2 objects\tTDOGroup[TDOGroup,TDOGroup]\tTDOGroup\n"), std::string::npos)
        << opened.out;

    // Putting again replaces what the face held.
    WriteFile(dir.File("one.txt"), "object TDOGroup\nend\n");
    ASSERT_EQ(RunTool({"doc", "put", file, dir.File("one.txt")}).status, 0);
    EXPECT_NE(RunTool({"doc", "ls", file}).out.find("  face 0\t1 objects\tTDOGroup\n"), std::string::npos);
}

TEST(DocCommand, PutRefusesABadTextByItsLineAndLeavesTheDocumentAsItWas)
{
    const CatalogPaper paper = CatalogPapers().front();
    TempDir dir;
    const std::string file = dir.File("put.ovd");
    ASSERT_EQ(RunTool({"doc", "new", paper.group, paper.name, file}).status, 0);
    const std::string saved = ReadFile(file);
    struct BadText {
        const char* text;
        const char* message;
    };
    const BadText cases[] = {
        {"object TDOGroup\n  Left = 1 2\nend\n", "(2行目)"},                 // syntax
        {"object TDOGroup\nend\nobject TNoSuchObject\nend\n", "line 3: "},   // unknown class
        {"object TDOGroup\n  object TDOGroup\n  end\n", "\"end\" is missing"},
        {"\n", "no \"object ... end\" blocks"},
    };
    for (const BadText& bad : cases) {
        WriteFile(dir.File("bad.txt"), bad.text);
        const ToolRun put = RunTool({"doc", "put", file, dir.File("bad.txt")});
        EXPECT_EQ(put.status, 1) << bad.text;
        EXPECT_NE(put.err.find(bad.message), std::string::npos) << put.err;
        EXPECT_EQ(ReadFile(file), saved) << bad.text;
    }
    WriteFile(dir.File("good.txt"), "object TDOGroup\nend\n");
    EXPECT_EQ(RunTool({"doc", "put", file, dir.File("good.txt"), "--face", "99"}).status, 1);
    EXPECT_EQ(RunTool({"doc", "put", file, dir.File("good.txt"), "--sheet", "1"}).status, 1);
    EXPECT_EQ(RunTool({"doc", "put", file, dir.File("missing.txt")}).status, 1);
    EXPECT_EQ(RunTool({"doc", "put", file}).status, 2);
    EXPECT_EQ(ReadFile(file), saved);
}

TEST(DocCommand, RefusesAnUnknownPaperAndBadUsage)
{
    TempDir dir;
    EXPECT_EQ(RunTool({"doc", "new", "No group", "No paper", dir.File("x.ovd")}).status, 1);
    EXPECT_EQ(RunTool({"doc", "ls"}).status, 2);
    EXPECT_EQ(RunTool({"doc", "ls", dir.File("missing.ovd")}).status, 1);
}

}  // namespace
}  // namespace orvella::test
