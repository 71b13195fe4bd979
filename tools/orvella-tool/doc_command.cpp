// orvella-tool doc new [--catalog FILE] GROUP NAME OUT.ovd
// orvella-tool doc ls DOC
// orvella-tool doc dump DOC
// (doc put: doc_put.cpp)
// Makes a label document on a paper of the system catalog (by default the
// one beside the program's data), lists a document's sheets with their
// papers and each face's object classes, and prints every component stream
// of a document in its text form, unpacking compressed face streams.

#include "commands.h"

#include "frame/program_macros.h"
#include "formats/byte_reader.h"
#include "formats/component_stream.h"
#include "formats/doc_name_list.h"
#include "formats/doc_stream.h"
#include "document/label_data.h"
#include "document/label_data_layout.h"
#include "drawing/draw_object.h"
#include "formats/object_text.h"
#include "paper/papers.h"
#include "platform/zlib_container.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>

namespace orvella::tool {

namespace {

using namespace label_layout;

std::string defaultCatalog() { return ProgramPlaces().ExeDir + "orvella.ppr"; }

int newDocument(const Arguments& args)
{
    std::string catalogFile = defaultCatalog();
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--catalog" && i + 1 < args.size())
            catalogFile = args[++i];
        else
            rest.push_back(args[i]);
    }
    if (rest.size() != 3)
        return UsageError("doc");
    RegisterToolClasses();
    TPapersV2 catalog(catalogFile, true, true);
    for (int i = 0; i < catalog.Count(); ++i) {
        const TPaperInfo& paper = catalog.Papers(i);
        if (paper.GroupName != rest[0] || paper.PaperName != rest[1])
            continue;
        TLabelData doc;
        doc.SetPaper(paper);
        if (auto extra = catalog.GetExtraInfo("ExtraInfos", paper.PaperName))
            doc.SetExtraPaperInfo(dynamic_cast<const TExPaperInfo*>(extra.get()));
        if (auto images = catalog.GetExtraInfo("PaperImages", paper.PaperName))
            doc.SetImagePaperInfo(dynamic_cast<const TImagePaperInfo*>(images.get()));
        doc.SaveToFile(rest[2]);
        return 0;
    }
    std::cerr << "orvella-tool: no paper " << rest[0] << " / " << rest[1] << " in " << catalogFile << '\n';
    return 1;
}

// The classes of the components in a face stream, in stream order, read
// from its text form so that no object class needs to be known.
std::vector<std::string> faceClasses(std::string bytes)
{
    if (IsZlibContainer(bytes))
        bytes = DecompressContainer(bytes);
    std::vector<std::string> classes;
    if (bytes.empty())
        return classes;
    const std::string text = ObjectBinaryToText(bytes);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        const std::size_t indent = line.find_first_not_of(' ');
        if (indent != std::string_view::npos) {
            const std::string_view word = line.substr(indent);
            if (word.starts_with("object ") || word.starts_with("inherited ") || word.starts_with("inline ")) {
                // Only the direct children of the root (indent 2) are the face's objects.
                const std::size_t colon = word.find(": ");
                if (indent == 2)
                    classes.emplace_back(colon == std::string_view::npos ? word.substr(word.find(' ') + 1)
                                                                         : word.substr(colon + 2));
            }
        }
        start = end + 1;
    }
    return classes;
}

int listDocument(const std::string& fileName)
{
    RegisterToolClasses();
    TLabelData doc;
    doc.LoadFromFile(fileName);
    const int current = doc.CurrentSheet();
    std::vector<std::string> names;
    doc.GetSheetNames(names);
    for (int sheet = 0; sheet < doc.SheetCount(); ++sheet) {
        doc.SelectSheet(sheet);
        const TPaperInfo* paper = doc.Paper();
        std::cout << "sheet " << sheet << (sheet == current ? " *" : "") << '\t' << names[std::size_t(sheet)] << '\t'
                  << (paper ? paper->GroupName + "\t" + paper->PaperName : std::string("-\t-")) << '\t'
                  << (paper ? paper->GetFaceCount() : 0) << " faces\n";
        const std::string listPath = doc.SheetStoragePath(sheet) + "\\" + kObjectList;
        if (!doc.Storage().StreamExists(listPath))
            continue;
        TDocNameList faces(doc.Storage(), listPath);
        for (int face = 0; face < faces.Count(); ++face) {
            if (!faces.ElementExists(face))
                continue;
            const std::vector<std::string> classes = faceClasses(faces.OpenStream(face, dmRead)->ReadAll());
            std::cout << "  face " << face << '\t' << classes.size() << " objects";
            for (const std::string& name : classes)
                std::cout << '\t' << name;
            std::cout << '\n';
        }
    }
    return 0;
}

// A loaded object's class; a container's members follow in brackets.
std::string describeObject(TDrawObject& object)
{
    std::string text = object.ClassName();
    std::vector<std::string> members;
    object.GetChildren([&](TComponent& child) {
        if (auto* member = dynamic_cast<TDrawObject*>(&child))
            members.push_back(describeObject(*member));
    });
    if (!members.empty()) {
        text += '[';
        for (std::size_t i = 0; i < members.size(); ++i)
            text += (i ? "," : "") + members[i];
        text += ']';
    }
    return text;
}

// Opens the document as the program does and loads every face's objects
// through the program's classes: what this lists, the program can open.
int openDocument(const std::string& fileName)
{
    RegisterToolClasses();
    TLabelData doc;
    doc.LoadFromFile(fileName);
    for (int sheet = 0; sheet < doc.SheetCount(); ++sheet) {
        doc.SelectSheet(sheet);
        const int faces = doc.Paper() ? doc.Paper()->GetFaceCount() : 0;
        std::cout << "sheet " << sheet << '\t' << faces << " faces\n";
        // Face 0 stands for all faces when they are not designed apart.
        for (int face = 0; face < (doc.SeparatelyDesign() ? faces : std::min(faces, 1)); ++face) {
            if (!doc.HasFaceObjects(face))
                continue;
            const std::vector<std::unique_ptr<TDrawObject>> objects = doc.LoadFaceObjects(face);
            std::cout << "  face " << face << '\t' << objects.size() << " objects";
            for (const std::unique_ptr<TDrawObject>& object : objects)
                std::cout << '\t' << describeObject(*object);
            std::cout << '\n';
        }
    }
    return 0;
}

void dumpStorage(TRootStorage& root, const std::string& path)
{
    std::unique_ptr<TDocStorage> storage;
    TDocStorage* at = &root;
    if (!path.empty()) {
        storage = std::make_unique<TDocStorage>(root, false, path);
        at = storage.get();
    }
    std::vector<std::string> names;
    at->ListStreams(names);
    for (const std::string& name : names) {
        const std::string full = path.empty() ? name : path + "\\" + name;
        std::string bytes = TDocStream(root, dmRead, full).ReadAll();
        const bool packed = IsZlibContainer(bytes);
        if (packed)
            bytes = DecompressContainer(bytes);
        if (!HasResHeader(bytes))
            continue;
        std::cout << "--- " << full << (packed ? " (compressed)" : "") << '\n' << ObjectBinaryToText(bytes);
    }
    names.clear();
    at->ListStorages(names);
    for (const std::string& name : names)
        dumpStorage(root, path.empty() ? name : path + "\\" + name);
}

int dumpDocument(const std::string& fileName)
{
    TFileStorage file(fileName, dmRead);
    dumpStorage(file, "");
    return 0;
}

}  // namespace

int RunDoc(const Arguments& args)
{
    if (!args.empty() && args[0] == "new")
        return newDocument(args);
    if (args.size() == 2 && args[0] == "ls")
        return listDocument(args[1]);
    if (args.size() == 2 && args[0] == "open")
        return openDocument(args[1]);
    if (args.size() == 2 && args[0] == "dump")
        return dumpDocument(args[1]);
    if (!args.empty() && args[0] == "put")
        return PutDocumentObjects(args);
    return UsageError("doc");
}

}  // namespace orvella::tool
