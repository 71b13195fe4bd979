#include "music/byte_source.h"

#include <stdexcept>

namespace orvella {

std::string TMemorySource::Read(std::int64_t offset, std::size_t count)
{
    if (offset < 0 || offset >= Size())
        return {};
    return std::string(bytes_.substr(std::size_t(offset), count));
}

TFileSource::TFileSource(const std::filesystem::path& path)
    : file_(path, std::ios::binary)
{
    // Only regular files: a playlist naming a pipe or a device must not
    // block the reader or make it read without end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || !file_)
        throw std::runtime_error("cannot open " + path.string());
    file_.seekg(0, std::ios::end);
    size_ = std::int64_t(file_.tellg());
    if (size_ < 0)
        throw std::runtime_error("cannot read " + path.string());
}

std::string TFileSource::Read(std::int64_t offset, std::size_t count)
{
    if (offset < 0 || offset >= size_)
        return {};
    const auto available = std::size_t(size_ - offset);
    std::string bytes(std::min(count, available), '\0');
    file_.clear();
    file_.seekg(offset);
    file_.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(std::size_t(file_.gcount()));
    return bytes;
}

std::string ReadWholeFile(const std::filesystem::path& path, std::int64_t limit)
{
    TFileSource source(path);
    if (source.Size() > limit)
        throw std::runtime_error("file too large: " + path.string());
    return source.Read(0, std::size_t(source.Size()));
}

} // namespace orvella
