// A macro table and a text from the same input: the first line is the text,
// the rest is the table (texts come from documents, tables from data files).

#include "frame/macro_string.h"
#include "frame/split_tokens.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view text = input.substr(0, newline);
    orvella::TMacroString table;
    if (newline != std::string_view::npos)
        table.SetText(input.substr(newline + 1));
    for (bool strip : {true, false}) {
        table.StripQuotes = strip;
        try {
            table.Expand(text);
        } catch (const orvella::EMacroString&) {
        }
    }
    orvella::SplitTokens(input, ";,\"", true);
    return 0;
}
