#pragma once
// Small XML documents read and written like INI files: elements are sections
// addressed by backslash paths whose components are XPath expressions
// ("PrinterData[@PrinterName=\"X\"]"), attributes are typed values. Files are
// written in Shift_JIS (decoded and encoded as CP932, so ① survives); a
// character CP932 lacks is written as a character reference, never lost.

#include "formats/date_time_text.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;

namespace orvella {

// The parsed document, shared by its sections; nodes a section removes are
// kept until the document goes, so that no other section is left dangling.
struct TXmlDocument;

class EXMLIniFile : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};


class TXMLIniSectionList;

class TXMLIniSection {
public:
    TXMLIniSection(std::shared_ptr<TXmlDocument> document, _xmlNode* element);

    // The section at path, creating missing elements, each after a line-feed
    // text node.
    TXMLIniSection GetSection(std::string_view path);
    TXMLIniSectionList GetSections(std::string_view path);
    std::string GetName() const;
    _xmlNode* GetNode() const { return element_; }
    std::string GetText() const;
    void SetText(std::string_view text);

    // A missing or empty attribute, or one that does not convert, reads as
    // the default.
    std::string ReadString(std::string_view name, std::string_view defaultValue) const;
    void WriteString(std::string_view name, std::string_view value);
    int32_t ReadInteger(std::string_view name, int32_t defaultValue) const;
    void WriteInteger(std::string_view name, int32_t value);
    bool ReadBool(std::string_view name, bool defaultValue) const;
    void WriteBool(std::string_view name, bool value);
    double ReadFloat(std::string_view name, double defaultValue) const;
    void WriteFloat(std::string_view name, double value);
    TDateTime ReadDate(std::string_view name, TDateTime defaultValue) const;
    void WriteDate(std::string_view name, TDateTime value);
    TDateTime ReadTime(std::string_view name, TDateTime defaultValue) const;
    void WriteTime(std::string_view name, TDateTime value);
    TDateTime ReadDateTime(std::string_view name, TDateTime defaultValue) const;
    void WriteDateTime(std::string_view name, TDateTime value);

    bool IsEmpty() const;
    void Clear();
    bool ValueExists(std::string_view name) const;
    void DeleteValue(std::string_view name);
    // The attribute names, each followed by CR LF.
    std::string ReadValueNames() const;
    bool SectionExists(std::string_view path);
    void DeleteSection(std::string_view path);
    // Appends deep copies of the other section's children (in their order)
    // and sets copies of its attributes.
    void Assign(const TXMLIniSection& other);

protected:
    // The node a path leads to, or null; with create, missing elements are made.
    _xmlNode* walk(std::string_view path, bool create);

    std::shared_ptr<TXmlDocument> document_;
    _xmlNode* element_;
};

class TXMLIniSectionList {
public:
    // parent is null when parentPath leads nowhere from origin yet.
    TXMLIniSectionList(std::shared_ptr<TXmlDocument> document, _xmlNode* origin, std::string parentPath,
                       _xmlNode* parent, std::string tagName, std::vector<_xmlNode*> nodes);
    int Count() const { return int(nodes_.size()); }
    TXMLIniSection Item(int index) const;
    // Appends a line feed and a new element named like the list's path to the
    // parent, creating a missing parent first; the list itself is not updated.
    TXMLIniSection Add();
    void Delete(int index);

private:
    std::shared_ptr<TXmlDocument> document_;
    _xmlNode* origin_;
    std::string parentPath_;
    _xmlNode* parent_;
    std::string tagName_;
    std::vector<_xmlNode*> nodes_;
};

class TXMLIniFile : public TXMLIniSection {
public:
    TXMLIniFile();
    // Loads the file when it exists; a missing file leaves the document as it was.
    void LoadFromFile(const std::string& fileName);
    void LoadFromString(std::string_view bytes);
    // Declares the encoding Shift_JIS and writes through a temporary file.
    void SaveToFile(const std::string& fileName);
    std::string SaveToString();

private:
    void adopt(std::shared_ptr<TXmlDocument> document);
    void parse(std::string_view bytes, const std::string& name);
};

std::unique_ptr<TXMLIniFile> CreateXMLIniFile();

}  // namespace orvella
