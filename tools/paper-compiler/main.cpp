// orvella-paper-compiler OUT_DIR CATALOG_SOURCE GROUP_SOURCE...
// Builds the program's system paper catalog (OUT_DIR/orvella.ppr) from the
// readable sources in data/paper, and a new, empty product information
// database (OUT_DIR/orvella.cdb). Run by the build.

#include "empty_product_db.h"
#include "paper_source.h"

#include "paper/copy_papers.h"
#include "paper/papers.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>

namespace orvella::paperc {

namespace {

TFaceShapes shapeMask(const std::string& text)
{
    static const std::map<std::string, TFaceShape> shapes = {
        {"rect", fsRect},         {"doughnut", fsDoughnut}, {"ellipse", fsEllipse},
        {"roundrect", fsRoundRect}, {"rectcd", fsRectCD},   {"barrelcd", fsBarrelCD},
    };
    TFaceShapes mask = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        std::string name = text.substr(start, end - start);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        if (!name.empty()) {
            const auto found = shapes.find(name);
            if (found == shapes.end())
                throw ESourceError("unknown shape '" + name + "' in the purposes");
            mask |= FaceShapeBit(found->second);
        }
        start = end + 1;
    }
    return mask;
}

void readPurposes(const TCatalogSource& source, TPurposeList& list)
{
    for (const TGlobalSection& section : source.Purposes) {
        for (const std::string& line : section.Lines) {
            // "ID | DisplayName | shapes"; "-" stands for the empty ID.
            std::vector<std::string> parts;
            std::size_t start = 0;
            for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
                parts.push_back(line.substr(start, bar - start));
            parts.push_back(line.substr(start));
            for (std::string& part : parts) {
                part.erase(0, part.find_first_not_of(' '));
                part.erase(part.find_last_not_of(' ') + 1);
            }
            if (parts.size() != 3)
                throw ESourceError("a purpose line is 'ID | DisplayName | shapes': " + line);
            TPurposeInfo& item = list.Add();
            item.ID = parts[0] == "-" ? "" : parts[0];
            item.DisplayName = parts[1] == "-" ? "" : parts[1];
            item.ShapeMask = shapeMask(parts[2]);
        }
    }
}

void appendDistinct(std::vector<std::string>& list, const std::string& value)
{
    if (!value.empty() && std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

int compile(const std::filesystem::path& outDir, const std::string& catalogSource,
            const std::vector<std::string>& groupSources)
{
    const TCatalogSource source = ReadCatalogFile(catalogSource);
    std::vector<TSourceGroup> groups;
    for (const std::string& file : groupSources)
        groups.push_back(ReadGroupFile(file));

    std::filesystem::create_directories(outDir);
    const std::string catalogFile = (outDir / "orvella.ppr").string();
    {
        TPapersV2 catalog(catalogFile, true, false, true);
        catalog.AddStandardSections();
        TPurposeList purposes;
        readPurposes(source, purposes);
        if (purposes.Count() > 0)
            catalog.SetPurposeList(purposes);

        std::vector<std::string> makers, groupNames, genres;
        for (const TSourceGroup& group : groups) {
            appendDistinct(groupNames, group.Group);
            if (!group.Genre.empty())
                genres.push_back(group.Group + "=" + group.Genre);
            for (const TSourcePaper& paper : group.Papers) {
                if (catalog.IndexOfName(paper.Paper->PaperName) >= 0)
                    throw ESourceError("paper '" + paper.Paper->PaperName + "' is defined twice");
                catalog.Store(*paper.Paper);
                appendDistinct(makers, paper.Maker);
                TExPaperInfo extra;
                extra.PaperName = paper.Paper->PaperName;
                extra.Company = paper.Maker;
                extra.Purpose = paper.Use;
                if (ShapeHasRoundCorners(paper.Paper->GetFaceShape(0)))
                    extra.RoundSize = paper.Paper->GetRoundSize(0);
                catalog.StoreExtraInfo("ExtraInfos", extra);
            }
        }
        catalog.SetCompanyList(makers);
        catalog.SetGroupList(groupNames);
        catalog.SetUpdateInfo(source.Release, 0);
        bool genresWritten = false;
        for (const TGlobalSection& section : source.GlobalInfo) {
            std::vector<std::string> lines = section.Lines;
            if (section.Key == "GenreInfo") {
                lines.insert(lines.begin(), genres.begin(), genres.end());
                genresWritten = true;
            }
            catalog.WriteGlobalInfo(section.Key, lines);
        }
        if (!genresWritten)
            catalog.WriteGlobalInfo("GenreInfo", genres);
        catalog.Flush();
    }

    // Read back what was written, as the program will.
    TPapersV2 check(catalogFile, true, true);
    check.AddStandardSections();
    std::size_t expected = 0;
    for (const TSourceGroup& group : groups)
        expected += group.Papers.size();
    if (std::size_t(check.Count()) != expected)
        throw ESourceError("the written catalog holds " + std::to_string(check.Count()) + " papers, not " +
                           std::to_string(expected));

    WriteEmptyProductDatabase((outDir / "orvella.cdb").string());
    return 0;
}

}  // namespace

}  // namespace orvella::paperc

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::cerr << "usage: orvella-paper-compiler OUT_DIR CATALOG_SOURCE GROUP_SOURCE...\n";
        return 2;
    }
    try {
        return orvella::paperc::compile(argv[1], argv[2], std::vector<std::string>(argv + 3, argv + argc));
    } catch (const std::exception& error) {
        std::cerr << "orvella-paper-compiler: " << error.what() << '\n';
        return 1;
    }
}
