#include "formats/doc_name_list.h"

#include "formats/storage_error.h"
#include "platform/backslash_path.h"
#include "platform/cp932.h"
#include "platform/text_case.h"

#include <algorithm>

#include <limits>

namespace orvella {

TDocNameList::TDocNameList(TRootStorage& root, std::string_view path) : root_(root)
{
    parentPath_ = root.Resolve(path);
    if (parentPath_.empty())
        throw EStorageError(TStorageCode::InvalidName, std::string(path));
    baseName_ = parentPath_.back();
    parentPath_.pop_back();
    const std::string absolute = "\\" + JoinBackslashPath(parentPath_) + "\\" + baseName_;
    if (root.Writable() && !root.StreamExists(absolute))
        stream_ = std::make_unique<TDocStream>(root, dmCreate, absolute);
    else
        stream_ = std::make_unique<TDocStream>(root, root.Writable() ? dmReadWrite : dmRead, absolute);
    if (stream_->Size() > 0)
        load();
}

void TDocNameList::load()
{
    const std::string bytes = stream_->ReadAll();
    if (bytes.size() < 4)
        throw EStorageError(TStorageCode::DocfileCorrupt, "name list " + baseName_ + " is truncated");
    counter_ = uint32_t(uint8_t(bytes[0])) | (uint32_t(uint8_t(bytes[1])) << 8) | (uint32_t(uint8_t(bytes[2])) << 16) |
               (uint32_t(uint8_t(bytes[3])) << 24);
    names_.clear();
    const std::string_view text = std::string_view(bytes).substr(4);
    // Lines end at CR LF, CR or LF; an empty line is an entry too, so that
    // every later entry keeps its index (its element simply does not exist).
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        std::string name;
        if (!line.empty()) {
            try {
                name = DecodeCp932(line, Cp932Mode::Strict);
            } catch (const ECp932&) {
                throw EStorageError(TStorageCode::DocfileCorrupt, "name list " + baseName_ + " holds undecodable bytes");
            }
            CheckElementName(name);  // a name from the file must not reach outside the list's storage
        }
        names_.push_back(std::move(name));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

void TDocNameList::save()
{
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += char(uint8_t(counter_ >> shift));
    for (const std::string& name : names_) {
        bytes += EncodeCp932(name);
        bytes += "\r\n";
    }
    stream_->WriteAll(bytes);
}

void TDocNameList::checkIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("name list index " + std::to_string(index) + " out of range");
}

const std::string& TDocNameList::Name(int index) const
{
    checkIndex(index);
    return names_[std::size_t(index)];
}

bool TDocNameList::listed(std::string_view name) const
{
    return std::any_of(names_.begin(), names_.end(), [name](const std::string& n) { return SameText(n, name); });
}

int TDocNameList::AddNew()
{
    // A file whose counter lags behind its entries would hand out a name
    // already in use, and the caller would take over (or destroy) a live
    // element: the counter moves past every listed name first.
    std::string name;
    for (;;) {
        if (counter_ == std::numeric_limits<uint32_t>::max())
            throw EStorageError(TStorageCode::MediumFull, "name list " + baseName_ + " has no names left");
        name = baseName_ + std::to_string(counter_);
        ++counter_;
        if (!listed(name))
            break;
    }
    names_.push_back(std::move(name));
    save();
    return Count() - 1;
}

void TDocNameList::DeleteEntry(int index)
{
    checkIndex(index);
    if (!names_[std::size_t(index)].empty())
        root_.DestroyElement(ElementPath(index));
    names_.erase(names_.begin() + index);
    save();
}

void TDocNameList::MoveEntry(int from, int to)
{
    checkIndex(from);
    checkIndex(to);
    std::string name = std::move(names_[std::size_t(from)]);
    names_.erase(names_.begin() + from);
    names_.insert(names_.begin() + to, std::move(name));
    save();
}

void TDocNameList::RenameEntry(int index, std::string_view newName)
{
    checkIndex(index);
    CheckElementName(newName);
    if (FirstNonCp932Char(newName))
        throw EStorageError(TStorageCode::InvalidName, std::string(newName));
    names_[std::size_t(index)] = std::string(newName);
    save();
}

std::string TDocNameList::ElementPath(int index) const
{
    std::vector<std::string> components = parentPath_;
    components.push_back(Name(index));
    if (components.back().empty())
        throw EStorageError(TStorageCode::InvalidName, "name list " + baseName_ + " entry " + std::to_string(index));
    return "\\" + JoinBackslashPath(components);
}

std::unique_ptr<TDocStream> TDocNameList::OpenStream(int index, uint32_t mode)
{
    return std::make_unique<TDocStream>(root_, mode, ElementPath(index));
}

std::unique_ptr<TDocStorage> TDocNameList::OpenStorage(int index, bool createMissing)
{
    return std::make_unique<TDocStorage>(root_, createMissing, ElementPath(index));
}

bool TDocNameList::ElementExists(int index)
{
    return index >= 0 && index < Count() && !names_[std::size_t(index)].empty() &&
           root_.StreamExists(ElementPath(index));
}

}  // namespace orvella
