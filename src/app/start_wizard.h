#pragma once
// What the start menu asks of the start wizard window: whether its data
// could be loaded, one showing with the user's choice, and the document a
// "new label" choice made.

#include <memory>

namespace orvella {

class TLabelData;

enum class TStartChoice {
    Cancelled,
    CloseProgram,  // 1: leave the program
    OpenDocument,  // 2: open a document through the document browser
    NewDocument,   // 3: take the wizard's new document
};

class IStartWizard {
public:
    virtual ~IStartWizard() = default;
    // False when the wizard's data cannot be found.
    virtual bool LoadData() = 0;
    virtual TStartChoice Execute() = 0;
    // The document of the NewDocument choice; the caller takes it.
    virtual std::unique_ptr<TLabelData> TakeDocument() = 0;
};

}  // namespace orvella
