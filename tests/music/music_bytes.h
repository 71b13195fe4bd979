#pragma once
// Small music files built byte by byte, for the cases taggers and encoders
// cannot be made to write (old tag versions, damaged sizes, exact frame
// counts).

#include <cstdint>
#include <string>

namespace orvella::test {

std::string Be32(std::uint32_t value);
std::string Le32(std::uint32_t value);
std::string SynchSafe(std::uint32_t value);

// An ID3v2 tag of `version` (2, 3 or 4) around `frames`.
std::string Id3v2Tag(int version, const std::string& frames);
// One text frame: the encoding byte and the text bytes.
std::string TextFrame(int version, const std::string& id, const std::string& body);

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz stereo: `count` frames of 417 bytes.
std::string Mpeg1Frames(int count);
// A first frame carrying a Xing header with `frames` (MPEG-1 44.1 kHz stereo,
// or MPEG-2 22.05 kHz stereo), followed by one ordinary frame.
std::string XingFile(bool mpeg1, std::uint32_t frames);
// The same with a VBRI header (MPEG-1 44.1 kHz).
std::string VbriFile(std::uint32_t frames);

// An MPEG-4 audio file ("M4A " brand) of `seconds` with the iTunes title,
// artist and album, and a cover picture when `cover` is not empty.
std::string M4aFile(int seconds, const std::string& title, const std::string& artist, const std::string& album,
    const std::string& cover);

// A RIFF WAVE file of `seconds` of 8 kHz mono 8-bit silence with an INFO list.
std::string WaveFile(int seconds, const std::string& title, const std::string& artist);

} // namespace orvella::test
