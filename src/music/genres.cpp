#include "music/genres.h"

#include <array>
#include <cstdio>

namespace orvella {

namespace {

constexpr std::array<const char*, 126> kGenres = {
    "Blues",
    "Classic Rock",
    "Country",
    "Dance",
    "Disco",
    "Funk",
    "Grunge",
    "Hip-Hop",
    "Jazz",
    "Metal",
    "New Age",
    "Oldies",
    "Other",
    "Pop",
    "R&B",
    "Rap",
    "Reggae",
    "Rock",
    "Techno",
    "Industrial",
    "Alternative",
    "Ska",
    "Death Metal",
    "Pranks",
    "Soundtrack",
    "Euro-Techno",
    "Ambient",
    "Trip-Hop",
    "Vocal",
    "Jazz+Funk",
    "Fusion",
    "Trance",
    "Classical",
    "Instrumental",
    "Acid",
    "House",
    "Game",
    "Sound Clip",
    "Gospel",
    "Noise",
    "AlternRock",
    "Bass",
    "Soul",
    "Punk",
    "Space",
    "Meditative",
    "Instrumental Pop",
    "Instrumental Rock",
    "Ethnic",
    "Gothic",
    "Darkwave",
    "Techno-Industrial",
    "Electronic",
    "Pop-Folk",
    "Eurodance",
    "Dream",
    "Southern Rock",
    "Comedy",
    "Cult",
    "Gangsta",
    "Top 40",
    "Christian Rap",
    "Pop/Funk",
    "Jungle",
    "Native American",
    "Cabaret",
    "New Wave",
    "Psychadelic",
    "Rave",
    "Showtunes",
    "Trailer",
    "Lo-Fi",
    "Tribal",
    "Acid Punk",
    "Acid Jazz",
    "Polka",
    "Retro",
    "Musical",
    "Rock & Roll",
    "Hard Rock",
    "Folk",
    "Folk-Rock",
    "National Folk",
    "Swing",
    "Fast Fusion",
    "Bebob",
    "Latin",
    "Revival",
    "Celtic",
    "Bluegrass",
    "Avantgarde",
    "Gothic Rock",
    "Progressive Rock",
    "Psychedelic Rock",
    "Symphonic Rock",
    "Slow Rock",
    "Big Band",
    "Chorus",
    "Easy Listening",
    "Acoustic",
    "Humour",
    "Speech",
    "Chanson",
    "Opera",
    "Chamber Music",
    "Sonata",
    "Symphony",
    "Booty Bass",
    "Primus",
    "Porn Groove",
    "Satire",
    "Slow Jam",
    "Club",
    "Tango",
    "Samba",
    "Folklore",
    "Ballad",
    "Power Ballad",
    "Rhythmic Soul",
    "Freestyle",
    "Duet",
    "Punk Rock",
    "Drum Solo",
    "A capella",
    "Euro-House",
    "Dance Hall",
};

bool AllDigits(const std::string& text, std::size_t from, std::size_t to)
{
    if (from >= to || to - from > 6)
        return false;
    for (std::size_t i = from; i < to; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

} // namespace

std::string GenreName(int index)
{
    if (index >= 0 && index < int(kGenres.size()))
        return kGenres[std::size_t(index)];
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Unknown(%d)", index);
    return buffer;
}

std::string ExpandGenreText(const std::string& text)
{
    if (AllDigits(text, 0, text.size()))
        return GenreName(std::stoi(text));
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '(') {
            const std::size_t close = text.find(')', i + 1);
            if (close != std::string::npos && AllDigits(text, i + 1, close)) {
                out += GenreName(std::stoi(text.substr(i + 1, close - i - 1)));
                i = close + 1;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

} // namespace orvella
