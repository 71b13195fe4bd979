#include "paper_source.h"

#include "paper/face_shape.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace orvella::paperc {

namespace {

std::string trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(trim(part));
    return parts;
}

struct Located {
    std::string file;
    int line = 0;
    [[noreturn]] void fail(const std::string& message) const
    {
        throw ESourceError(file + ":" + std::to_string(line) + ": " + message);
    }
};

int32_t millimetres(const Located& at, const std::string& text)
{
    try {
        return ParseMillimetres(text);
    } catch (const ESourceError& error) {
        at.fail(error.what());
    }
}

// "W x H" in millimetres.
std::pair<int32_t, int32_t> sizePair(const Located& at, const std::string& text)
{
    const auto parts = split(text, 'x');
    if (parts.size() != 2)
        at.fail("expected WIDTH x HEIGHT, got '" + text + "'");
    return {millimetres(at, parts[0]), millimetres(at, parts[1])};
}

// "A, B" in millimetres.
std::pair<int32_t, int32_t> commaPair(const Located& at, const std::string& text)
{
    const auto parts = split(text, ',');
    if (parts.size() != 2)
        at.fail("expected two values separated by a comma, got '" + text + "'");
    return {millimetres(at, parts[0]), millimetres(at, parts[1])};
}

int32_t wholeNumber(const Located& at, const std::string& text)
{
    const std::string value = trim(text);
    if (value.empty() || value.size() > 6 || !std::all_of(value.begin(), value.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        at.fail("expected a whole number, got '" + text + "'");
    return std::stoi(value);
}

TFaceShape shapeNamed(const Located& at, const std::string& name)
{
    static const std::map<std::string, TFaceShape> shapes = {
        {"rect", fsRect},         {"doughnut", fsDoughnut}, {"ellipse", fsEllipse},
        {"roundrect", fsRoundRect}, {"rectcd", fsRectCD},   {"barrelcd", fsBarrelCD},
    };
    const auto found = shapes.find(name);
    if (found == shapes.end())
        at.fail("unknown shape '" + name + "'");
    return found->second;
}

// One face setting ("shape", "purpose", "hole", "holeshape", "margin", "round").
bool applyFaceSetting(const Located& at, TFaceFields& face, const std::string& key, const std::string& value)
{
    if (key == "shape") {
        face.FaceShape = shapeNamed(at, value);
    } else if (key == "purpose") {
        face.FacePurpose = value == "-" ? "" : value;
    } else if (key == "hole") {
        if (value.find('x') != std::string::npos) {
            const auto [w, h] = sizePair(at, value);
            face.CutCenterWidth = w;
            face.CutCenterHeight = h;
        } else {
            face.CutCenterWidth = face.CutCenterHeight = millimetres(at, value);
        }
    } else if (key == "holeshape") {
        if (value != "ellipse" && value != "barrel")
            at.fail("holeshape is ellipse or barrel");
        face.CenterShape = value == "barrel" ? csBarrel : csEllipse;
    } else if (key == "margin") {
        face.FaceMargin = millimetres(at, value);
    } else if (key == "round") {
        face.RoundSize = millimetres(at, value);
    } else {
        return false;
    }
    return true;
}

struct Line {
    Located at;
    std::string key;
    std::string value;
};

std::vector<Line> readLines(const std::string& fileName)
{
    std::ifstream in(fileName);
    if (!in)
        throw ESourceError(fileName + ": cannot be read");
    std::vector<Line> lines;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        const std::string line = trim(text);
        if (line.empty() || line[0] == '#')
            continue;
        Located at{fileName, number};
        if (line.front() == '[' && line.back() == ']') {
            lines.push_back({at, "[", trim(std::string_view(line).substr(1, line.size() - 2))});
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            at.fail("expected 'key: value'");
        lines.push_back({at, trim(std::string_view(line).substr(0, colon)), trim(std::string_view(line).substr(colon + 1))});
    }
    return lines;
}

void checkPaper(const Located& at, const TSourcePaper& source)
{
    const TPaperInfo& paper = *source.Paper;
    if (paper.PortraitWidth <= 0 || paper.PortraitHeight <= 0)
        at.fail("paper '" + paper.PaperName + "' has no sheet size");
    if (paper.GetFaceCount() == 0)
        at.fail("paper '" + paper.PaperName + "' has no faces");
    if (source.Maker.empty())
        at.fail("paper '" + paper.PaperName + "' has no maker");
}

}  // namespace

int32_t ParseMillimetres(const std::string& text)
{
    const std::string value = trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && value[i] == '-') {
        negative = true;
        ++i;
    }
    int64_t whole = 0;
    std::size_t digits = 0;
    for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i, ++digits)
        whole = whole * 10 + (value[i] - '0');
    int64_t tenths = 0;
    if (i < value.size() && value[i] == '.') {
        ++i;
        if (i + 1 != value.size() || !std::isdigit(static_cast<unsigned char>(value[i])))
            throw ESourceError("a length has at most one decimal: '" + text + "'");
        tenths = value[i] - '0';
        ++i;
    }
    if (digits == 0 || i != value.size() || digits > 6)
        throw ESourceError("not a length in millimetres: '" + text + "'");
    const int64_t result = whole * 10 + tenths;
    return int32_t(negative ? -result : result);
}

TSourceGroup ReadGroupFile(const std::string& fileName)
{
    TSourceGroup group;
    std::string maker;
    TSourcePaper* current = nullptr;
    Located currentAt;
    auto finish = [&]() {
        if (current)
            checkPaper(currentAt, *current);
    };
    for (const Line& line : readLines(fileName)) {
        const Located& at = line.at;
        const std::string& value = line.value;
        if (line.key == "paper" || line.key == "free-paper") {
            finish();
            if (group.Group.empty())
                at.fail("the group comes before the first paper");
            std::unique_ptr<TPaperInfo> paper;
            if (line.key == "paper")
                paper = std::make_unique<TMatrixPaperInfo>();
            else
                paper = std::make_unique<TFreePaperInfo>();
            paper->PaperName = value;
            paper->GroupName = group.Group;
            paper->ReadOnly = true;
            group.Papers.push_back({std::move(paper), maker, group.Genre});
            current = &group.Papers.back();
            currentAt = at;
            continue;
        }
        if (!current) {
            if (line.key == "group")
                group.Group = value;
            else if (line.key == "genre")
                group.Genre = value;
            else if (line.key == "maker")
                maker = value;
            else
                at.fail("'" + line.key + "' belongs to a paper");
            continue;
        }
        TPaperInfo& paper = *current->Paper;
        auto* matrix = dynamic_cast<TMatrixPaperInfo*>(&paper);
        auto* free = dynamic_cast<TFreePaperInfo*>(&paper);
        if (line.key == "maker") {
            current->Maker = value;
        } else if (line.key == "use") {
            current->Use = value;
        } else if (line.key == "sheet") {
            const auto [w, h] = sizePair(at, value);
            paper.PortraitWidth = w;
            paper.PortraitHeight = h;
        } else if (line.key == "landscape") {
            // The catalog stores every paper upright, so the flag would be lost.
            at.fail("landscape is not stored in the catalog: give the sheet upright (sheet: WIDTH x HEIGHT)");
        } else if (matrix && line.key == "grid") {
            const auto parts = split(value, 'x');
            if (parts.size() != 2)
                at.fail("grid is COLUMNS x ROWS");
            matrix->FaceCountX = wholeNumber(at, parts[0]);
            matrix->FaceCountY = wholeNumber(at, parts[1]);
        } else if (matrix && line.key == "face") {
            std::tie(matrix->FaceWidth, matrix->FaceHeight) = sizePair(at, value);
        } else if (matrix && line.key == "origin") {
            std::tie(matrix->LeftOffset, matrix->TopOffset) = commaPair(at, value);
        } else if (matrix && line.key == "gap") {
            std::tie(matrix->RightMargin, matrix->BottomMargin) = commaPair(at, value);
        } else if (matrix && applyFaceSetting(at, matrix->Face, line.key, value)) {
        } else if (free && line.key == "item") {
            // "LEFT, TOP, W x H; key value; key value"
            const auto parts = split(value, ';');
            const auto place = split(parts[0], ',');
            if (place.size() != 3)
                at.fail("item is LEFT, TOP, WIDTH x HEIGHT; settings");
            TFaceItem& item = free->Faces.Add();
            const auto [w, h] = sizePair(at, place[2]);
            item.SetLeft(millimetres(at, place[0]));
            item.SetTop(millimetres(at, place[1]));
            item.SetWidth(w);
            item.SetHeight(h);
            for (std::size_t i = 1; i < parts.size(); ++i) {
                const auto space = parts[i].find(' ');
                if (space == std::string::npos ||
                    !applyFaceSetting(at, item.Face, parts[i].substr(0, space), trim(parts[i].substr(space + 1))))
                    at.fail("unknown face setting '" + parts[i] + "'");
            }
        } else {
            at.fail("unknown key '" + line.key + "'");
        }
    }
    finish();
    if (group.Papers.empty())
        throw ESourceError(fileName + ": no papers");
    return group;
}

TCatalogSource ReadCatalogFile(const std::string& fileName)
{
    TCatalogSource catalog;
    std::vector<TGlobalSection>* list = nullptr;
    // Texts are taken line by line as they stand, so read the file raw.
    std::ifstream in(fileName);
    if (!in)
        throw ESourceError(fileName + ": cannot be read");
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        const Located at{fileName, number};
        const std::string line = trim(text);
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            const std::string name = line.substr(1, line.size() - 2);
            if (name == "release") {
                list = nullptr;
            } else if (name == "purposes") {
                catalog.Purposes.push_back({name, {}});
                list = &catalog.Purposes;
            } else if (const std::size_t from = name.find(" < "); from != std::string::npos) {
                // "[Key < file]": the text of Key is the named file beside
                // this one, taken whole (INI texts have sections of their own).
                const std::string key = trim(std::string_view(name).substr(0, from));
                const std::filesystem::path file =
                    std::filesystem::path(fileName).parent_path() / trim(std::string_view(name).substr(from + 3));
                std::ifstream included(file);
                if (key.empty() || !included)
                    at.fail("the text of '" + name + "' cannot be read");
                catalog.GlobalInfo.push_back({key, {}});
                list = &catalog.GlobalInfo;
                std::string includedLine;
                while (std::getline(included, includedLine)) {
                    if (!includedLine.empty() && includedLine.back() == '\r')
                        includedLine.pop_back();
                    const std::string kept = trim(includedLine);
                    if (!kept.empty() && kept[0] != '#' && kept[0] != ';')
                        list->back().Lines.push_back(kept);
                }
            } else {
                catalog.GlobalInfo.push_back({name, {}});
                list = &catalog.GlobalInfo;
            }
            continue;
        }
        if (line.empty() || line[0] == '#')
            continue;
        if (!list) {
            const auto colon = line.find(':');
            if (colon == std::string::npos || trim(std::string_view(line).substr(0, colon)) != "number")
                at.fail("the release section holds 'number: N'");
            catalog.Release = wholeNumber(at, line.substr(colon + 1));
            continue;
        }
        list->back().Lines.push_back(line);
    }
    return catalog;
}

}  // namespace orvella::paperc
