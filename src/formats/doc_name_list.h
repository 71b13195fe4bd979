#pragma once
// An ordered list of element names kept in a stream, with a counter for new
// names: a list stored at "Sheets\NameList" names its elements "NameList0",
// "NameList1", ... beside it. The counter only grows, so a deleted entry's
// name is never used again. Stream layout: the counter (4 bytes, little
// endian), then each name as CP932 text followed by CR LF.

#include "formats/doc_stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TDocNameList {
public:
    // Opens the list stream at `path` (read-write, created when missing, if
    // the root is writable; for reading otherwise) and loads it.
    TDocNameList(TRootStorage& root, std::string_view path);

    int Count() const { return int(names_.size()); }
    const std::string& Name(int index) const;
    uint32_t Counter() const { return counter_; }
    const std::vector<std::string>& Names() const { return names_; }

    // Appends base name + counter and advances the counter (past any name
    // already listed); the element itself is not created. Returns the new
    // entry's index.
    int AddNew();
    // Destroys the entry's element (when it exists) and removes the entry.
    void DeleteEntry(int index);
    void MoveEntry(int from, int to);
    void RenameEntry(int index, std::string_view newName);

    // The absolute path of the entry's element.
    std::string ElementPath(int index) const;
    std::unique_ptr<TDocStream> OpenStream(int index, uint32_t mode);
    std::unique_ptr<TDocStorage> OpenStorage(int index, bool createMissing);
    // True when the index is in the list and its element exists as a stream.
    bool ElementExists(int index);

private:
    void checkIndex(int index) const;
    bool listed(std::string_view name) const;
    void load();
    void save();

    TRootStorage& root_;
    std::vector<std::string> parentPath_;  // the storage that holds the list and its elements
    std::string baseName_;
    std::unique_ptr<TDocStream> stream_;
    uint32_t counter_ = 0;
    std::vector<std::string> names_;
};

// The same list under the names code uses for what it holds.
using TDocStreamList = TDocNameList;
using TDocStorageList = TDocNameList;

}  // namespace orvella
