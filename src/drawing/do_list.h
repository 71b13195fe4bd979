#pragma once
// A list of drawing-object references, and the object list form: a 32-bit
// little-endian count, then each object as a component stream. The same
// form travels through the clipboard under the drawing-object MIME type.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QString;

namespace orvella {

class TDrawObject;

class TDOList {
public:
    TDOList();
    // Frees the objects the list read itself and still holds.
    ~TDOList();
    TDOList(const TDOList&) = delete;
    TDOList& operator=(const TDOList&) = delete;

    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    TDrawObject& Items(std::size_t index) const { return *items_.at(index); }
    TDrawObject& operator[](std::size_t index) const { return *items_.at(index); }
    void Add(TDrawObject& object) { items_.push_back(&object); }
    // Drops the references (frees nothing).
    void Clear();
    // Frees every listed object the list or a component owner owns, then
    // empties the list.
    void FreeAll();
    // Hands over an object the list read; nullptr when it did not own it.
    std::unique_ptr<TDrawObject> Take(TDrawObject& object);

    void WriteToStream(std::string& out) const;
    // Empties the list, then reads the object list form. Components that are
    // not drawing objects are dropped. A damaged or hostile payload raises
    // EReadError and leaves the list empty.
    void ReadFromStream(std::string_view bytes);

    // Nothing happens for an empty list.
    void CopyToClipboard(const QString& format) const;
    // True when the clipboard held data in the format (read into the list).
    bool PasteClipboard(const QString& format);

private:
    std::vector<TDrawObject*> items_;
    std::vector<std::unique_ptr<TDrawObject>> owned_;
};

// "application/x-<application name>-drawobjects", the application name in
// lower case ("orvella" when none is set).
QString DrawObjectClipboardFormat();

}  // namespace orvella
