#include "platform/zlib_container.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

std::string sample(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 7) % 251 + (i / 1000));
    return bytes;
}

TEST(ZlibContainer, RoundTripsAndUsesTheBestLevel)
{
    for (std::size_t size : {0u, 1u, 1000u, 300000u}) {
        const std::string data = sample(size);
        const std::string packed = CompressToContainer(data);
        EXPECT_TRUE(IsZlibContainer(packed));
        EXPECT_EQ(packed.substr(0, 13), std::string("ZLIBCompress\x1A", 13));
        EXPECT_EQ(uint8_t(packed[13]) | (uint8_t(packed[14]) << 8) | (uint8_t(packed[15]) << 16), size & 0xFFFFFF);
        EXPECT_EQ(packed.substr(17, 2), "\x78\xDA") << "a zlib header of the best level";
        EXPECT_EQ(DecompressContainer(packed), data);
    }
    EXPECT_FALSE(IsZlibContainer("ZLIBCompress"));
}

// Python's zlib, an implementation we did not call, reads what we pack and
// packs what we read.
TEST(ZlibContainer, AgreesWithPythonsZlib)
{
    test::TempDir dir;
    const std::string data = sample(5000);
    test::WriteFile(dir.File("ours"), CompressToContainer(data));
    test::WriteFile(dir.File("data"), data);
    const std::string script =
        "import sys, zlib, struct\n"
        "d = open(sys.argv[1], 'rb').read()\n"
        "assert d[:13] == b'ZLIBCompress\\x1a'\n"
        "n = struct.unpack('<I', d[13:17])[0]\n"
        "raw = zlib.decompress(d[17:])\n"
        "assert len(raw) == n and raw == open(sys.argv[2], 'rb').read()\n"
        "src = open(sys.argv[2], 'rb').read()\n"
        "open(sys.argv[3], 'wb').write(b'ZLIBCompress\\x1a' + struct.pack('<I', len(src)) + zlib.compress(src, 1))\n";
    test::WriteFile(dir.File("check.py"), script);
    const test::ToolRun run =
        test::RunProgram("/usr/bin/python3", {dir.File("check.py"), dir.File("ours"), dir.File("data"), dir.File("theirs")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(DecompressContainer(test::ReadFile(dir.File("theirs"))), data);
}

TEST(ZlibContainer, RefusesContainersThatDoNotHoldTogether)
{
    const std::string good = CompressToContainer(sample(2000));
    auto withLength = [&](uint32_t length) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[13 + std::size_t(i)] = char(uint8_t(length >> (8 * i)));
        return bytes;
    };
    for (const std::string& bad : {std::string("ZLIBCompress\x1A\1", 14), std::string("not a container at all"),
                                   good.substr(0, good.size() - 5), withLength(1999), withLength(2001),
                                   withLength(0xFFFFFFFF), good.substr(0, 17) + std::string(40, 'x')})
        EXPECT_THROW(DecompressContainer(bad), EZlibContainer) << bad.size();
}

}  // namespace
}  // namespace orvella
