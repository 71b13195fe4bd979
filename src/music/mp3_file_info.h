#pragma once
// The tag texts, playing time and embedded cover pictures of a music file:
// MP3 with ID3v1 and ID3v2 (2.2, 2.3, 2.4) tags, MPEG-4 audio with iTunes
// item lists, and RIFF WAVE with INFO chunks. Only reads.

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace orvella {

class TByteSource;

struct TMusicPicture {
    std::string Format; // "JPG" or "PNG"
    std::int64_t Offset = 0; // of the picture data in the file
};

class TMP3FileInfo {
public:
    std::string FileName;
    int Duration = 0; // whole seconds, 0 when not determined
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Comment;
    std::string Year;
    std::string Genre;
    std::string RightsNotice;
    std::string EncodedBy;
    std::string SourceAlbum;
    std::string EncoderSettings;
    std::vector<TMusicPicture> Pictures;
    std::int64_t DataStart = 0;
    std::int64_t DataEnd = 0;

    // Reads the file named FileName; false when it does not read as music
    // (any read error, a damaged or missing audio header, an unknown format).
    bool Read();
    // The same analysis on an open stream, which is rewound afterwards.
    bool ReadStream(std::istream& stream);
    // The same analysis on any byte source (buffers, tests, fuzzing).
    bool ReadSource(TByteSource& source);

    int PictureCount() const noexcept { return int(Pictures.size()); }
    std::string PictureFormat(int index) const;
    std::int64_t PictureOffset(int index) const;

private:
    void clear();
};

// The file name of `path` without its folder and extension.
std::string BaseNameWithoutExtension(const std::string& path);

} // namespace orvella
