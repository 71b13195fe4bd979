// Paper catalogs are downloaded and exchanged: open any bytes as a catalog,
// and everything the program asks of an opened one must answer or fail
// with a catalog, storage or stream error, never crash.

#include "formats/storage_error.h"
#include "formats/stream_format.h"
#include "graphics/graphics_types.h"
#include "paper/face_info.h"
#include "paper/face_outline.h"
#include "paper/papers.h"
#include "platform/cp932.h"
#include "scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace {

// The catalog reads from a file, as the program does.
const std::string& scratchFile()
{
    static const std::string name = orvella::fuzz::ScratchFolder::File("input.ppr");
    return name;
}

void exercise(orvella::TPapersV2& catalog)
{
    using namespace orvella;
    catalog.AddStandardSections();
    for (int i = 0; i < catalog.Count(); ++i) {
        const TPaperInfo& paper = catalog.Papers(i);
        TFaceInfo face;
        for (int32_t f = 0; f < paper.GetFaceCount(); ++f) {
            face.LoadFromPaper(paper, f);
            (void)face.GetHoleRect();
            (void)paper.GetFaceBounds(f);
            (void)BarrelArcs(face.GetOuterRect());
        }
        (void)catalog.GetExtraInfo("ExtraInfos", paper.PaperName);
        (void)catalog.GetExtraInfo("PaperImages", paper.PaperName);
        (void)paper.Clone();
    }
    std::vector<std::string> lines;
    for (const char* key : {"GenreInfo", "SearchExtKeyInfo", "DirectPrinter"})
        catalog.ReadGlobalInfo(key, lines);
    std::vector<std::string> groups;
    catalog.GetGroupNames(groups);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        std::ofstream out(scratchFile(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    try {
        orvella::TPapersV2 catalog(scratchFile(), true, true);
        exercise(catalog);
    } catch (const orvella::EPaperCatalog&) {
    } catch (const orvella::EStorageError&) {
    } catch (const orvella::EFilerError&) {
    } catch (const orvella::ECp932&) {
    }
    return 0;
}
