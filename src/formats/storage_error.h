#pragma once
// Failures of compound-file storage, carrying the platform's failure code
// (the STG_E_* values documents and callers know) and its text.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace orvella {

enum class TStorageCode : uint32_t {
    InvalidFunction = 0x80030001,  // STG_E_INVALIDFUNCTION
    FileNotFound = 0x80030002,     // STG_E_FILENOTFOUND
    PathNotFound = 0x80030003,     // STG_E_PATHNOTFOUND
    AccessDenied = 0x80030005,     // STG_E_ACCESSDENIED
    InvalidPointer = 0x80030009,   // STG_E_INVALIDPOINTER (a seek before the start)
    WriteFault = 0x8003001D,       // STG_E_WRITEFAULT
    ReadFault = 0x8003001E,        // STG_E_READFAULT
    ShareViolation = 0x80030020,   // STG_E_SHAREVIOLATION
    FileAlreadyExists = 0x80030050,  // STG_E_FILEALREADYEXISTS
    MediumFull = 0x80030070,       // STG_E_MEDIUMFULL
    InvalidHeader = 0x800300FB,    // STG_E_INVALIDHEADER
    InvalidName = 0x800300FC,      // STG_E_INVALIDNAME
    Reverted = 0x80030102,         // STG_E_REVERTED
    DocfileCorrupt = 0x80030109,   // STG_E_DOCFILECORRUPT
};

class EStorageError : public std::runtime_error {
public:
    // The message is the code's text, followed by `detail` when given.
    explicit EStorageError(TStorageCode code, const std::string& detail = {});
    TStorageCode Code() const noexcept { return code_; }

private:
    TStorageCode code_;
};

// The text the platform gives for a code.
std::string StorageErrorText(TStorageCode code);

}  // namespace orvella
