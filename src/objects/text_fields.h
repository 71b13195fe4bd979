#pragma once
// Texts bound to a field of the document's information records take that
// field's lines.

#include "objects/lo_text.h"

#include <initializer_list>

namespace orvella {

class TDOList;
class TLabelData;

// Captions of the record kinds in TFieldType order, as the text dialog lists them.
const std::vector<std::string>& FieldTypeCaptions();

// Every text object of the list bound to a field (FieldNo n >= 1) of one of
// the given record kinds gets the lines of field n of the document's record.
void RefreshFields(const TDOList& objects, const TLabelData& document, std::initializer_list<TFieldType> types);

}  // namespace orvella
