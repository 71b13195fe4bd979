// orvella-cdd-compiler OUT_DIR PATTERN_SOURCE
// Builds the program's distortion pattern file (OUT_DIR/orvella.cdd) from the
// readable source in data/distortion, and the thumbnail bitmap of the
// pattern selection (OUT_DIR/TransformPattern.png). Run by the build.

#include "pattern_source.h"
#include "thumbnails.h"

#include "formats/doc_name_list.h"
#include "formats/doc_storage.h"
#include "formats/doc_stream.h"
#include "objects/cdd_file.h"

#include <filesystem>
#include <iostream>

namespace orvella::cddc {

namespace {

void writePatternFile(const std::filesystem::path& path, const std::vector<TPatternSource>& patterns)
{
    std::filesystem::remove(path);
    TFileStorage storage(path.string(), dmCreate);
    {
        TDocNameList names(storage, TCDDFile::kNameListPath);
        for (const TPatternSource& source : patterns) {
            const int index = names.AddNew();
            TDocStream stream(storage, dmCreate, names.ElementPath(index));
            stream.WriteAll(source.Pattern->SaveData());
        }
    }
    storage.Commit();
}

int compile(const std::filesystem::path& outDir, const std::string& sourcePath)
{
    const std::vector<TPatternSource> patterns = ReadPatternFile(sourcePath);
    if (patterns.empty() || patterns.size() > std::size_t(kMaxPatterns))
        throw ESourceError("the thumbnail bitmap holds 1 to " + std::to_string(kMaxPatterns) + " patterns, not " +
                           std::to_string(patterns.size()));
    std::filesystem::create_directories(outDir);
    writePatternFile(outDir / "orvella.cdd", patterns);

    std::vector<const TCoonsDistortion*> shapes;
    for (const TPatternSource& source : patterns)
        shapes.push_back(source.Pattern.get());
    const std::filesystem::path png = outDir / "TransformPattern.png";
    if (!RenderThumbnails(shapes).save(QString::fromStdString(png.string()), "PNG"))
        throw ESourceError("cannot write " + png.string());
    return 0;
}

}  // namespace

}  // namespace orvella::cddc

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: orvella-cdd-compiler OUT_DIR PATTERN_SOURCE\n";
        return 2;
    }
    try {
        return orvella::cddc::compile(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::cerr << "orvella-cdd-compiler: " << error.what() << '\n';
        return 1;
    }
}
