#pragma once
// A new product information database: the two creator records and three
// reserved records, no product record yet.

#include <string>

namespace orvella::paperc {

void WriteEmptyProductDatabase(const std::string& fileName);

}  // namespace orvella::paperc
