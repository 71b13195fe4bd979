// orvella-tool stream totext FILE | stream tobinary FILE OUT
// Prints a component stream (with or without the resource wrapper) in its
// text form, or turns that text form back into a stream.

#include "commands.h"

#include "formats/object_text.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace orvella::tool {

namespace {

bool readAll(const std::string& fileName, std::string& content)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        std::cerr << "orvella-tool: cannot read " << fileName << '\n';
        return false;
    }
    std::ostringstream buffer;
    buffer << file.rdbuf();
    content = buffer.str();
    return true;
}

}  // namespace

int RunStream(const Arguments& args)
{
    if (args.size() == 2 && args[0] == "totext") {
        std::string bytes;
        if (!readAll(args[1], bytes))
            return 1;
        std::cout << ObjectBinaryToText(bytes);
        return 0;
    }
    if (args.size() == 3 && args[0] == "tobinary") {
        std::string text;
        if (!readAll(args[1], text))
            return 1;
        const std::string bytes = ObjectTextToBinary(text);
        std::ofstream out(args[2], std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush()) {
            std::cerr << "orvella-tool: cannot write " << args[2] << '\n';
            return 1;
        }
        return 0;
    }
    return UsageError("stream");
}

}  // namespace orvella::tool
