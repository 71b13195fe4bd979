#pragma once
// The readable sources of the system paper catalog (data/paper): one file of
// catalog-wide texts and one file per group of papers. The format is
// described in data/paper/README.md. Errors name the file and line.

#include "paper/paper_info.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvella::paperc {

class ESourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TSourcePaper {
    std::unique_ptr<TPaperInfo> Paper;
    std::string Maker;
    std::string Use;  // the record's purpose or genre text
};

struct TSourceGroup {
    std::string Group;
    std::string Genre;
    std::vector<TSourcePaper> Papers;
};

struct TGlobalSection {
    std::string Key;
    std::vector<std::string> Lines;
};

struct TCatalogSource {
    int32_t Release = 0;
    std::vector<TGlobalSection> Purposes;  // lines "ID | DisplayName | shape, shape"
    std::vector<TGlobalSection> GlobalInfo;
};

TSourceGroup ReadGroupFile(const std::string& fileName);
TCatalogSource ReadCatalogFile(const std::string& fileName);

// "46.5" -> 465 (tenths of a millimetre); at most one decimal.
int32_t ParseMillimetres(const std::string& text);

}  // namespace orvella::paperc
