// orvella-tool expand [-t TABLE] [--keep-quotes] TEXT...
// Expands each TEXT through a macro table (the program's own, with the
// built-in macros of this installation, unless -t names one) and prints one
// line per TEXT.

#include "commands.h"

#include "frame/macro_string.h"
#include "frame/program_macros.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace orvella::tool {

namespace {

bool loadTable(const std::string& fileName, TMacroString& table)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        std::cerr << "orvella-tool: cannot read " << fileName << '\n';
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    std::string text = content.str();
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    table.SetText(text);
    return true;
}

}  // namespace

int RunExpand(const Arguments& args)
{
    TMacroString table = ProgramMacroTable();
    bool tableGiven = false;
    std::vector<std::string> texts;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "-t") {
            if (i + 1 >= args.size())
                return UsageError("expand");
            if (!tableGiven)
                table.Clear();
            tableGiven = true;
            if (!loadTable(args[++i], table))
                return 1;
        } else if (!optionsEnded && arg == "--keep-quotes") {
            table.StripQuotes = false;
        } else {
            texts.push_back(arg);
        }
    }
    if (texts.empty())
        return UsageError("expand");

    for (const std::string& text : texts) {
        try {
            std::cout << table.Expand(text) << '\n';
        } catch (const EMacroString& error) {
            std::cout.flush();
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    return 0;
}

}  // namespace orvella::tool
