// orvella-tool doc put DOC FILE [--sheet N] [--face N]
// Replaces the objects of one face with the objects a text file gives, one
// "object ... end" block per label object, bottom first, in the text form
// that "doc dump" prints. The objects are read as if the document held them
// (class conversions, upgrades, date updates) and written back by the
// program's own writer, so the stored form is the normalised one.

#include "commands.h"

#include "document/label_data.h"
#include "document/ld_objects.h"
#include "drawing/do_list.h"
#include "drawing/draw_object.h"
#include "formats/byte_writer.h"
#include "formats/component_stream.h"
#include "formats/object_text.h"
#include "formats/stream_format.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace orvella::tool {

namespace {

// Where one top-level block of the text starts and ends.
struct TextBlock {
    int line = 1;  // 1-based line of its first word
    std::size_t begin = 0;
    std::size_t end = 0;
};

bool isWordChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

// Splits the text at its top-level blocks by counting the words that open
// ("object", "inherited", "inline", collection "item") and close ("end") a
// record, skipping quoted strings and brace-enclosed binary data. Returns
// nothing when the words do not balance; the parser then names the line.
std::optional<std::vector<TextBlock>> splitBlocks(const std::string& text)
{
    std::vector<TextBlock> blocks;
    int depth = 0;
    int line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (c == '\'') {
            const std::size_t close = text.find('\'', i + 1);
            if (close == std::string::npos)
                return std::nullopt;
            i = close + 1;
        } else if (c == '{') {
            const std::size_t close = text.find('}', i + 1);
            if (close == std::string::npos)
                return std::nullopt;
            for (std::size_t k = i; k < close; ++k)
                line += text[k] == '\n';
            i = close + 1;
        } else if (isWordChar(c)) {
            std::size_t end = i;
            while (end < text.size() && isWordChar(text[end]))
                ++end;
            const std::string_view word(text.data() + i, end - i);
            if (word == "object" || word == "inherited" || word == "inline" || word == "item") {
                if (depth == 0) {
                    if (word == "item")
                        return std::nullopt;
                    blocks.push_back({line, i, 0});
                }
                ++depth;
            } else if (word == "end") {
                if (--depth < 0)
                    return std::nullopt;
                if (depth == 0)
                    blocks.back().end = end;
            } else if (depth == 0) {
                return std::nullopt;
            }
            i = end;
        } else {
            if (depth == 0 && c != ' ' && c != '\t' && c != '\r')
                return std::nullopt;
            ++i;
        }
    }
    if (depth != 0)
        return std::nullopt;
    return blocks;
}

// The face stream of the given blocks: the root record around them. The root
// header shares the first line, so the parser's line numbers are the file's.
std::string faceStreamText(const std::string& text, std::size_t begin, std::size_t end, int firstLine)
{
    return std::string(std::size_t(firstLine - 1), '\n') + "object TLDObjects " + text.substr(begin, end - begin) +
           "\nend\n";
}

std::string faceStream(const std::string& text)
{
    std::string bytes;
    WriteResHeader(bytes, kLabelDataResource);
    const std::size_t sizePosition = bytes.size() - 4;
    bytes += ObjectTextToBinary(text, TTextStrings::CodePage);
    TByteWriter(bytes).PatchU32(sizePosition, std::uint32_t(bytes.size() - sizePosition - 4));
    return bytes;
}

// The line the text parser names in its message ("... (12行目)"); 0 if none.
int syntaxErrorLine(std::string_view message)
{
    const std::size_t mark = message.rfind("行目)");
    const std::size_t open = message.rfind('(', mark);
    if (mark == std::string_view::npos || open == std::string_view::npos)
        return 0;
    int line = 0;
    for (std::size_t i = open + 1; i < mark && message[i] >= '0' && message[i] <= '9'; ++i)
        line = line * 10 + (message[i] - '0');
    return line;
}

bool readNumber(const std::string& text, int& value)
{
    try {
        std::size_t used = 0;
        value = std::stoi(text, &used);
        return used == text.size() && value >= 0;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

int PutDocumentObjects(const Arguments& args)
{
    std::vector<std::string> rest;
    int sheet = 0;
    int face = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if ((args[i] == "--sheet" || args[i] == "--face") && i + 1 < args.size()) {
            if (!readNumber(args[i + 1], args[i] == "--sheet" ? sheet : face))
                return UsageError("doc");
            ++i;
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() != 2)
        return UsageError("doc");
    const std::string& docFile = rest[0];
    const std::string& textFile = rest[1];

    std::ifstream in(textFile, std::ios::binary);
    if (!in) {
        std::cerr << "orvella-tool: cannot read " << textFile << '\n';
        return 1;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();

    RegisterToolClasses();
    TLabelData doc;
    doc.LoadFromFile(docFile);
    if (sheet >= doc.SheetCount()) {
        std::cerr << "orvella-tool: " << docFile << " has no sheet " << sheet << '\n';
        return 1;
    }
    const int currentSheet = doc.CurrentSheet();
    doc.SelectSheet(sheet);
    const int faces = doc.Paper() ? doc.Paper()->GetFaceCount() : 0;
    if (face >= faces) {
        std::cerr << "orvella-tool: sheet " << sheet << " has no face " << face << '\n';
        return 1;
    }

    // The whole text is parsed first, so that a syntax error names its line;
    // then each block is read on its own, so that a block the program cannot
    // read is named by its first line; then all of them as one face.
    std::vector<std::unique_ptr<TDrawObject>> objects;
    try {
        std::string stream;
        try {
            stream = faceStream(faceStreamText(text, 0, text.size(), 1));
        } catch (const EReadError& error) {
            // The closing line added above is past the file's last line.
            if (syntaxErrorLine(error.what()) > 1 + int(std::count(text.begin(), text.end(), '\n')))
                throw std::runtime_error("the text ends inside an object (an \"end\" is missing)");
            throw;
        }
        const std::optional<std::vector<TextBlock>> blocks = splitBlocks(text);
        if (!blocks || blocks->empty())
            throw std::runtime_error("no \"object ... end\" blocks");
        for (const TextBlock& block : *blocks) {
            try {
                doc.LoadFaceObjectsFrom(face, faceStream(faceStreamText(text, block.begin, block.end, block.line)));
            } catch (const std::exception& error) {
                throw std::runtime_error("line " + std::to_string(block.line) + ": " + error.what());
            }
        }
        objects = doc.LoadFaceObjectsFrom(face, stream);
    } catch (const std::exception& error) {
        std::cerr << "orvella-tool: " << textFile << ": " << error.what() << "; " << docFile << " is unchanged\n";
        return 1;
    }

    // The document's lists are top-first.
    TDOList list;
    for (std::size_t i = objects.size(); i-- > 0;)
        list.Add(*objects[i]);
    doc.SaveFaceObjects(face, list);
    doc.SelectSheet(currentSheet);
    doc.SaveToFile(docFile);
    return 0;
}

}  // namespace orvella::tool
