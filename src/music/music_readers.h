#pragma once
// The steps of the music file analysis, one per container format. Each
// checks every size it reads against the file before using it.

#include "music/byte_source.h"
#include "music/mp3_file_info.h"

#include <cstdint>
#include <string_view>

namespace orvella::music_detail {

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at);
std::uint32_t LittleEndian32(std::string_view bytes, std::size_t at);

// The format of an embedded picture whose data starts somewhere in the first
// 256 bytes of `bytes`: the offset of its JPEG or PNG signature, or npos.
std::size_t FindPictureStart(std::string_view bytes, std::string& format);

// Walks a RIFF WAVE or RMP3 file: INFO texts, the "data" range, and for
// WAVE the playing time from the format's byte rate. True for a WAVE file
// with a usable format and data chunk.
bool ReadRiff(TByteSource& source, TMP3FileInfo& info);

// Reads an ID3v2 tag at DataStart. Returns false when there is none; moves
// DataStart past the tag.
bool ReadId3v2(TByteSource& source, TMP3FileInfo& info);

// The MPEG audio frame header at (or near) DataStart, with a Xing, Info or
// VBRI header for the frame count; sets Duration. False when there is no
// usable header. Without a tag before it (afterTag false) the header must
// stand exactly at DataStart and be followed by a second frame, so that
// arbitrary files are not taken for music.
bool ReadMpegAudio(TByteSource& source, TMP3FileInfo& info, bool afterTag);

// An MPEG-4 audio file with an "M4" brand: duration, iTunes texts, cover.
bool ReadMpeg4(TByteSource& source, TMP3FileInfo& info);

} // namespace orvella::music_detail
