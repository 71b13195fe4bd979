#include "formats/xml_ini_file.h"

#include "platform/atomic_file.h"

#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <mutex>
#include <sstream>

namespace orvella {

struct TXmlDocument {
    xmlDocPtr doc = nullptr;
    std::vector<xmlNodePtr> detached;
    ~TXmlDocument()
    {
        for (xmlNodePtr node : detached)
            xmlFreeNode(node);
        if (doc)
            xmlFreeDoc(doc);
    }
};

namespace {

const xmlChar* x(const char* text) { return reinterpret_cast<const xmlChar*>(text); }
std::string fromXml(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }

// Converts one chunk with iconv, as libxml2's encoding handlers must: the
// consumed and produced counts go back through the length arguments; an
// incomplete character at the end is left for the next call, a character
// that cannot be converted answers -2 (libxml2 then writes it as a
// character reference on output).
int convertChunk(const char* to, const char* from, unsigned char* out, int* outlen, const unsigned char* in, int* inlen)
{
    thread_local std::pair<std::string, iconv_t> handles[2] = {{"", iconv_t(-1)}, {"", iconv_t(-1)}};
    auto& slot = std::string(to) == "UTF-8" ? handles[0] : handles[1];
    if (slot.second == iconv_t(-1))
        slot.second = iconv_open(to, from);
    if (slot.second == iconv_t(-1))
        return -2;
    iconv(slot.second, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
    std::size_t inLeft = std::size_t(*inlen);
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = std::size_t(*outlen);
    const std::size_t rc = iconv(slot.second, &inPtr, &inLeft, &outPtr, &outLeft);
    const int consumed = *inlen - int(inLeft);
    const int produced = *outlen - int(outLeft);
    *inlen = consumed;
    *outlen = produced;
    if (rc == std::size_t(-1) && errno == EILSEQ)
        return -2;
    return produced;
}

int cp932ToUtf8(unsigned char* out, int* outlen, const unsigned char* in, int* inlen)
{
    return convertChunk("UTF-8", "CP932", out, outlen, in, inlen);
}

int utf8ToCp932(unsigned char* out, int* outlen, const unsigned char* in, int* inlen)
{
    return convertChunk("CP932", "UTF-8", out, outlen, in, inlen);
}

void silence(void*, const char*, ...) {}

// Once per process: Shift_JIS documents are read and written as CP932 (the
// plain Shift_JIS table lacks ① and the other characters Windows adds), and
// libxml2 reports errors to us instead of printing them.
void initialiseLibxml()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, silence);
        for (const char* name : {"Shift_JIS", "SJIS", "CP932", "Windows-31J", "MS_Kanji"})
            xmlNewCharEncodingHandler(name, cp932ToUtf8, utf8ToCp932);
    });
}

[[noreturn]] void raiseXmlError(const std::string& what)
{
    const xmlError* error = xmlGetLastError();
    std::string message = what;
    if (error && error->message) {
        std::string detail = error->message;
        while (!detail.empty() && (detail.back() == '\n' || detail.back() == ' '))
            detail.pop_back();
        message += ": " + detail;
        if (error->line > 0)
            message += " (" + std::to_string(error->line) + " 行目)";
    }
    xmlResetLastError();
    throw EXMLIniFile(message);
}

std::vector<std::string> pathComponents(std::string_view path)
{
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            components.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

std::vector<xmlNodePtr> selectNodes(xmlDocPtr doc, xmlNodePtr context, const std::string& expression)
{
    xmlXPathContextPtr xpath = xmlXPathNewContext(doc);
    xpath->node = context;
    xmlXPathObjectPtr result = xmlXPathEvalExpression(x(expression.c_str()), xpath);
    xmlXPathFreeContext(xpath);
    if (!result)
        raiseXmlError("パスが正しくありません「" + expression + "」");
    std::vector<xmlNodePtr> nodes;
    if (result->type == XPATH_NODESET && result->nodesetval)
        for (int i = 0; i < result->nodesetval->nodeNr; ++i)
            if (result->nodesetval->nodeTab[i]->type == XML_ELEMENT_NODE)
                nodes.push_back(result->nodesetval->nodeTab[i]);
    xmlXPathFreeObject(result);
    return nodes;
}

xmlNodePtr selectSingle(xmlDocPtr doc, xmlNodePtr context, const std::string& expression)
{
    const std::vector<xmlNodePtr> nodes = selectNodes(doc, context, expression);
    return nodes.empty() ? nullptr : nodes.front();
}

void checkName(const std::string& name)
{
    if (xmlValidateName(x(name.c_str()), 0) != 0)
        throw EXMLIniFile("名前に使えない文字があります「" + name + "」");
}

xmlNodePtr appendElement(xmlNodePtr parent, const std::string& name)
{
    checkName(name);
    xmlAddChild(parent, xmlNewText(x("\n")));
    return xmlAddChild(parent, xmlNewNode(nullptr, x(name.c_str())));
}

void detach(TXmlDocument& document, xmlNodePtr node)
{
    xmlUnlinkNode(node);
    document.detached.push_back(node);
}

bool parseInteger(const std::string& text, int32_t& value)
{
    const char* begin = text.c_str();
    while (*begin == ' ')
        ++begin;
    if (*begin == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(begin, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = int32_t(parsed);
    return true;
}

bool parseFloat(const std::string& text, double& value)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double parsed;
    in >> parsed;
    if (in.fail())
        return false;
    in >> std::ws;
    if (!in.eof())
        return false;
    value = parsed;
    return true;
}

}  // namespace

// ---- TXMLIniSection

TXMLIniSection::TXMLIniSection(std::shared_ptr<TXmlDocument> document, xmlNodePtr element)
    : document_(std::move(document)), element_(element)
{
}

xmlNodePtr TXMLIniSection::walk(std::string_view path, bool create)
{
    xmlNodePtr node = path.starts_with('\\') ? reinterpret_cast<xmlNodePtr>(document_->doc) : element_;
    for (const std::string& component : pathComponents(path)) {
        xmlNodePtr found = selectSingle(document_->doc, node, component);
        if (!found) {
            if (!create)
                return nullptr;
            if (node->type == XML_DOCUMENT_NODE)
                throw EXMLIniFile("文書の要素は一つだけです「" + component + "」");
            found = appendElement(node, component);
        }
        node = found;
    }
    return node;
}

TXMLIniSection TXMLIniSection::GetSection(std::string_view path)
{
    xmlNodePtr node = walk(path, true);
    if (node->type != XML_ELEMENT_NODE)
        throw EXMLIniFile("要素ではありません「" + std::string(path) + "」");
    return TXMLIniSection(document_, node);
}

TXMLIniSectionList TXMLIniSection::GetSections(std::string_view path)
{
    std::vector<std::string> components = pathComponents(path);
    if (components.empty())
        throw EXMLIniFile("パスがありません");
    const std::string last = components.back();
    components.pop_back();
    std::string parentPath = path.starts_with('\\') ? "\\" : "";
    for (const std::string& component : components)
        parentPath += component + "\\";
    xmlNodePtr parent = walk(parentPath, false);
    std::vector<xmlNodePtr> nodes;
    if (parent)
        nodes = selectNodes(document_->doc, parent, last);
    // Without its parent the list is empty; Add makes the parent then, so
    // that the new section lands where the path says.
    return TXMLIniSectionList(document_, element_, parentPath, parent, last, std::move(nodes));
}

std::string TXMLIniSection::GetName() const { return fromXml(element_->name); }

std::string TXMLIniSection::GetText() const
{
    xmlChar* content = xmlNodeGetContent(element_);
    std::string text = fromXml(content);
    xmlFree(content);
    return text;
}

void TXMLIniSection::SetText(std::string_view text)
{
    while (xmlNodePtr child = element_->last)
        detach(*document_, child);
    xmlAddChild(element_, xmlNewTextLen(x(std::string(text).c_str()), int(text.size())));
}

std::string TXMLIniSection::ReadString(std::string_view name, std::string_view defaultValue) const
{
    xmlChar* value = xmlGetProp(element_, x(std::string(name).c_str()));
    std::string text = fromXml(value);
    xmlFree(value);
    return text.empty() ? std::string(defaultValue) : text;
}

void TXMLIniSection::WriteString(std::string_view name, std::string_view value)
{
    const std::string attribute(name);
    checkName(attribute);
    xmlSetProp(element_, x(attribute.c_str()), x(std::string(value).c_str()));
}

int32_t TXMLIniSection::ReadInteger(std::string_view name, int32_t defaultValue) const
{
    int32_t value = defaultValue;
    return parseInteger(ReadString(name, ""), value) ? value : defaultValue;
}

void TXMLIniSection::WriteInteger(std::string_view name, int32_t value) { WriteString(name, std::to_string(value)); }

bool TXMLIniSection::ReadBool(std::string_view name, bool defaultValue) const
{
    return ReadInteger(name, defaultValue ? 1 : 0) != 0;
}

void TXMLIniSection::WriteBool(std::string_view name, bool value) { WriteString(name, value ? "1" : "0"); }

double TXMLIniSection::ReadFloat(std::string_view name, double defaultValue) const
{
    double value = defaultValue;
    return parseFloat(ReadString(name, ""), value) ? value : defaultValue;
}

void TXMLIniSection::WriteFloat(std::string_view name, double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", value);
    WriteString(name, text);
}

TDateTime TXMLIniSection::ReadDate(std::string_view name, TDateTime defaultValue) const
{
    TDateTime value = defaultValue;
    return ParseDate(ReadString(name, ""), value) ? value : defaultValue;
}

void TXMLIniSection::WriteDate(std::string_view name, TDateTime value) { WriteString(name, FormatDate(value)); }

TDateTime TXMLIniSection::ReadTime(std::string_view name, TDateTime defaultValue) const
{
    TDateTime value = defaultValue;
    return ParseTime(ReadString(name, ""), value) ? value : defaultValue;
}

void TXMLIniSection::WriteTime(std::string_view name, TDateTime value) { WriteString(name, FormatTime(value)); }

TDateTime TXMLIniSection::ReadDateTime(std::string_view name, TDateTime defaultValue) const
{
    TDateTime value = defaultValue;
    return ParseDateTime(ReadString(name, ""), value) ? value : defaultValue;
}

void TXMLIniSection::WriteDateTime(std::string_view name, TDateTime value)
{
    WriteString(name, FormatDateTime(value));
}

bool TXMLIniSection::IsEmpty() const { return element_->children == nullptr && element_->properties == nullptr; }

void TXMLIniSection::Clear()
{
    while (xmlNodePtr child = element_->last)
        detach(*document_, child);
    while (xmlAttrPtr attribute = element_->properties)
        xmlRemoveProp(attribute);
}

bool TXMLIniSection::ValueExists(std::string_view name) const
{
    return xmlHasProp(element_, x(std::string(name).c_str())) != nullptr;
}

void TXMLIniSection::DeleteValue(std::string_view name)
{
    if (xmlAttrPtr attribute = xmlHasProp(element_, x(std::string(name).c_str())))
        xmlRemoveProp(attribute);
}

std::string TXMLIniSection::ReadValueNames() const
{
    std::string names;
    for (xmlAttrPtr attribute = element_->properties; attribute; attribute = attribute->next)
        names += fromXml(attribute->name) + "\r\n";
    return names;
}

bool TXMLIniSection::SectionExists(std::string_view path) { return walk(path, false) != nullptr; }

void TXMLIniSection::DeleteSection(std::string_view path)
{
    xmlNodePtr node = walk(path, false);
    if (node && node->type == XML_ELEMENT_NODE && node != xmlDocGetRootElement(document_->doc))
        detach(*document_, node);
}

void TXMLIniSection::Assign(const TXMLIniSection& other)
{
    for (xmlNodePtr child = other.element_->children; child; child = child->next)
        xmlAddChild(element_, xmlDocCopyNode(child, document_->doc, 1));
    for (xmlAttrPtr attribute = other.element_->properties; attribute; attribute = attribute->next) {
        xmlChar* value = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attribute));
        xmlSetProp(element_, attribute->name, value);
        xmlFree(value);
    }
}

// ---- TXMLIniSectionList

TXMLIniSectionList::TXMLIniSectionList(std::shared_ptr<TXmlDocument> document, xmlNodePtr origin,
                                       std::string parentPath, xmlNodePtr parent, std::string tagName,
                                       std::vector<xmlNodePtr> nodes)
    : document_(std::move(document)),
      origin_(origin),
      parentPath_(std::move(parentPath)),
      parent_(parent),
      tagName_(std::move(tagName)),
      nodes_(std::move(nodes))
{
}

TXMLIniSection TXMLIniSectionList::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("section list index out of range");
    return TXMLIniSection(document_, nodes_[std::size_t(index)]);
}

TXMLIniSection TXMLIniSectionList::Add()
{
    if (!parent_)
        parent_ = TXMLIniSection(document_, origin_).GetSection(parentPath_).GetNode();
    return TXMLIniSection(document_, appendElement(parent_, tagName_));
}

void TXMLIniSectionList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("section list index out of range");
    if (nodes_[std::size_t(index)]->parent)
        detach(*document_, nodes_[std::size_t(index)]);
}

// ---- TXMLIniFile

TXMLIniFile::TXMLIniFile() : TXMLIniSection(nullptr, nullptr)
{
    initialiseLibxml();
    auto document = std::make_shared<TXmlDocument>();
    document->doc = xmlNewDoc(x("1.0"));
    adopt(std::move(document));
}

void TXMLIniFile::adopt(std::shared_ptr<TXmlDocument> document)
{
    xmlNodePtr root = xmlDocGetRootElement(document->doc);
    if (!root) {
        root = xmlNewNode(nullptr, x("root"));
        xmlDocSetRootElement(document->doc, root);
    }
    document_ = std::move(document);
    element_ = root;
}

void TXMLIniFile::parse(std::string_view bytes, const std::string& name)
{
    xmlResetLastError();
    xmlDocPtr doc = xmlReadMemory(bytes.data(), int(bytes.size()), name.c_str(), nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        raiseXmlError("XML文書を読み込めません「" + name + "」");
    auto document = std::make_shared<TXmlDocument>();
    document->doc = doc;
    adopt(std::move(document));
}

void TXMLIniFile::LoadFromString(std::string_view bytes)
{
    if (bytes.size() > std::size_t(INT32_MAX))
        throw EXMLIniFile("XML文書が大きすぎます");
    parse(bytes, "memory");
}

void TXMLIniFile::LoadFromFile(const std::string& fileName)
{
    if (!std::filesystem::is_regular_file(fileName))
        return;
    std::ifstream file(fileName, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file && !file.eof())
        throw EXMLIniFile("XML文書を読み込めません「" + fileName + "」");
    const std::string content = bytes.str();
    if (content.size() > std::size_t(INT32_MAX))
        throw EXMLIniFile("XML文書が大きすぎます「" + fileName + "」");
    parse(content, fileName);
}

std::string TXMLIniFile::SaveToString()
{
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(document_->doc, &buffer, &size, "Shift_JIS", 0);
    if (!buffer)
        raiseXmlError("XML文書を書き出せません");
    std::string bytes(reinterpret_cast<const char*>(buffer), std::size_t(size));
    xmlFree(buffer);
    return bytes;
}

void TXMLIniFile::SaveToFile(const std::string& fileName) { WriteFileAtomically(fileName, SaveToString()); }

std::unique_ptr<TXMLIniFile> CreateXMLIniFile() { return std::make_unique<TXMLIniFile>(); }

}  // namespace orvella
