#pragma once
// Random access to the bytes of a music file without reading it whole: tag
// readers look at a few kilobytes at the start and the end of files that
// may be hundreds of megabytes long.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace orvella {

class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual std::int64_t Size() const = 0;
    // Up to `count` bytes from `offset`; fewer at the end, none outside.
    virtual std::string Read(std::int64_t offset, std::size_t count) = 0;
};

class TMemorySource : public TByteSource {
public:
    explicit TMemorySource(std::string_view bytes)
        : bytes_(bytes)
    {
    }
    std::int64_t Size() const override { return std::int64_t(bytes_.size()); }
    std::string Read(std::int64_t offset, std::size_t count) override;

private:
    std::string_view bytes_;
};

class TFileSource : public TByteSource {
public:
    // Raises std::runtime_error when the file cannot be opened.
    explicit TFileSource(const std::filesystem::path& path);
    std::int64_t Size() const override { return size_; }
    std::string Read(std::int64_t offset, std::size_t count) override;

private:
    std::ifstream file_;
    std::int64_t size_ = 0;
};

// The whole file, refusing files larger than `limit` bytes (playlists).
std::string ReadWholeFile(const std::filesystem::path& path, std::int64_t limit);

} // namespace orvella
