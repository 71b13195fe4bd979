#include "platform/zlib_container.h"

#include <zlib.h>

#include <cstdint>
#include <limits>

namespace orvella {

namespace {

constexpr std::size_t kHeaderSize = 17;
// zlib cannot expand data by more than about 1032:1, so a declared length
// beyond that is a lie that must not become an allocation.
constexpr uint64_t kMaxExpansion = 1040;

[[noreturn]] void damaged(const char* what) { throw EZlibContainer(std::string("圧縮データが壊れています (") + what + ")"); }

}  // namespace

bool IsZlibContainer(std::string_view bytes) noexcept { return bytes.substr(0, 13) == kZlibContainerMarker; }

std::string CompressToContainer(std::string_view data, int level)
{
    if (data.size() > std::numeric_limits<uint32_t>::max() || data.size() > std::numeric_limits<uLong>::max())
        throw EZlibContainer("圧縮するデータが大きすぎます");
    uLongf bound = compressBound(uLong(data.size()));
    std::string out(kHeaderSize + bound, '\0');
    out.replace(0, 13, kZlibContainerMarker);
    const uint32_t length = uint32_t(data.size());
    for (int i = 0; i < 4; ++i)
        out[13 + std::size_t(i)] = char(uint8_t(length >> (8 * i)));
    if (compress2(reinterpret_cast<Bytef*>(out.data() + kHeaderSize), &bound,
                  reinterpret_cast<const Bytef*>(data.data()), uLong(data.size()), level) != Z_OK)
        throw EZlibContainer("データを圧縮できません");
    out.resize(kHeaderSize + bound);
    return out;
}

std::string DecompressContainer(std::string_view container)
{
    if (!IsZlibContainer(container))
        damaged("no marker");
    if (container.size() < kHeaderSize)
        damaged("no length");
    uint32_t length = 0;
    for (int i = 3; i >= 0; --i)
        length = (length << 8) | uint8_t(container[13 + std::size_t(i)]);
    const std::string_view packed = container.substr(kHeaderSize);
    if (uint64_t(length) > uint64_t(packed.size()) * kMaxExpansion + 64)
        damaged("length larger than the data can hold");

    std::string out(length, '\0');
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw EZlibContainer("zlib cannot be initialised");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = uInt(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    int rc = inflate(&stream, Z_FINISH);
    if (rc == Z_BUF_ERROR && stream.avail_out == 0) {
        // The declared length is reached; the stream must end here.
        Bytef probe;
        stream.next_out = &probe;
        stream.avail_out = 1;
        rc = inflate(&stream, Z_FINISH);
        if (rc != Z_STREAM_END) {
            inflateEnd(&stream);
            damaged("more data than its length says");
        }
    }
    const uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (rc != Z_STREAM_END)
        damaged("the zlib stream is cut or invalid");
    if (produced != length)
        damaged("less data than its length says");
    return out;
}

}  // namespace orvella
