#include "objects/cdd_file.h"

#include "formats/doc_name_list.h"
#include "formats/doc_storage.h"
#include "objects/coons_distortion.h"

#include <stdexcept>

namespace orvella {

TCDDFile::TCDDFile() = default;

TCDDFile::~TCDDFile() { Close(); }

void TCDDFile::Open(const std::string& path)
{
    Close();
    auto storage = std::make_unique<TFileStorage>(path, dmRead | dmShareDenyWrite);
    auto names = std::make_unique<TDocNameList>(*storage, kNameListPath);
    storage_ = std::move(storage);
    names_ = std::move(names);
}

void TCDDFile::Close()
{
    // The list reads through the storage, so it goes first.
    names_.reset();
    storage_.reset();
}

int TCDDFile::PatternCount() const { return names_ ? names_->Count() : 0; }

void TCDDFile::LoadPattern(TCoonsDistortion& pattern, int index)
{
    if (!names_)
        throw std::logic_error("the distortion pattern file is not open");
    const std::string bytes = names_->OpenStream(index, dmRead)->ReadAll();
    pattern.LoadData(bytes);
}

int TCDDFile::IndexOfPattern(const TCoonsDistortion& pattern)
{
    if (pattern.IsEmpty() || !names_)
        return -1;
    // Only the identifier decides; a damaged entry cannot be the pattern.
    TCoonsDistortion entry;
    for (int i = 0; i < names_->Count(); ++i) {
        try {
            LoadPattern(entry, i);
        } catch (const std::exception&) {
            continue;
        }
        if (entry.Identifier() == pattern.Identifier())
            return i;
    }
    return -1;
}

}  // namespace orvella
