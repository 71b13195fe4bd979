#pragma once
// The read-only pattern file of text distortions: a compound file whose name
// list "CoonsDistortionData\NameList" orders the patterns as the selection
// dialog shows them; each entry's stream holds one pattern in the stored
// form of TCoonsDistortion.

#include <memory>
#include <string>

namespace orvella {

class TCoonsDistortion;
class TDocNameList;
class TFileStorage;

class TCDDFile {
public:
    TCDDFile();
    ~TCDDFile();
    TCDDFile(const TCDDFile&) = delete;
    TCDDFile& operator=(const TCDDFile&) = delete;

    // Closes any open file, then opens the storage at path and its name
    // list; failures raise the storage errors.
    void Open(const std::string& path);
    void Close();
    bool IsOpen() const noexcept { return storage_ != nullptr; }

    // 0 while closed.
    int PatternCount() const;
    // Reads entry index into pattern; an index outside the list raises.
    void LoadPattern(TCoonsDistortion& pattern, int index);
    // -1 for an empty pattern or one the file does not hold, else the first
    // entry with the pattern's identifier.
    int IndexOfPattern(const TCoonsDistortion& pattern);

    // The list's path inside the file.
    static constexpr const char* kNameListPath = "CoonsDistortionData\\NameList";

private:
    std::unique_ptr<TFileStorage> storage_;
    std::unique_ptr<TDocNameList> names_;
};

}  // namespace orvella
