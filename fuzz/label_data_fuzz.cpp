// Label documents arrive from anywhere: open any bytes as a document, and
// what a window asks of an opened one (every sheet, its paper, every face's
// objects) must answer or fail with a clear error, never crash; so must the
// thumbnailer's reading of the stored preview alone. Rendering previews and
// saving are left out: they need the GUI.

#include "document/label_data.h"
#include "formats/storage_error.h"
#include "graphics/picture_error.h"
#include "graphics/picture_ex.h"
#include "formats/stream_format.h"
#include "paper/paper_error.h"
#include "paper/paper_info.h"
#include "platform/cp932.h"
#include "platform/zlib_container.h"
#include "scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace {

void exercise(orvella::TLabelData& doc)
{
    for (int sheet = 0; sheet < doc.SheetCount(); ++sheet) {
        doc.SelectSheet(sheet);
        std::vector<std::string> names;
        doc.GetSheetNames(names);
        const int faces = doc.Paper() ? std::min(doc.Paper()->GetFaceCount(), 64) : 1;
        for (int face = 0; face < faces; ++face) {
            try {
                (void)doc.LoadFaceObjects(face);
            } catch (const orvella::EZlibContainer&) {
            } catch (const orvella::EFilerError&) {
            }
            (void)doc.HasPreview(face);
        }
        (void)doc.EffectivePaper();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = (orvella::RegisterLabelDataClasses(), true);
    (void)registered;
    static const std::string input = orvella::fuzz::ScratchFolder::File("input.ovd");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    try {
        orvella::TLabelData doc;
        doc.LoadFromFile(input);
        exercise(doc);
    } catch (const orvella::EStorageError&) {
    } catch (const orvella::EFilerError&) {
    } catch (const orvella::ECp932&) {
    } catch (const orvella::EZlibContainer&) {
    } catch (const orvella::EPaperCatalog&) {
    }
    try {
        orvella::TPictureEx preview;
        (void)orvella::TLabelData::ReadCurrentPreviewFromFile(input, preview);
    } catch (const orvella::EStorageError&) {
    } catch (const orvella::EFilerError&) {
    } catch (const orvella::ECp932&) {
    } catch (const orvella::EZlibContainer&) {
    } catch (const orvella::EInvalidGraphic&) {
    }
    return 0;
}
