// orvella-tool cfb ls FILE | cat FILE PATH | pack DIR FILE | unpack FILE DIR
// Lists, extracts, builds and takes apart compound files.

#include "commands.h"

#include "formats/compound_file.h"
#include "formats/doc_storage.h"
#include "formats/storage_error.h"
#include "platform/backslash_path.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

namespace orvella::tool {

namespace {

namespace fs = std::filesystem;

std::unique_ptr<TStorageElement> readTree(const std::string& fileName)
{
    return ReadCompoundFile(ReadStorageFile(fileName));
}

void list(const TStorageElement& storage, const std::string& prefix)
{
    for (const auto& child : storage.Children) {
        const std::string path = prefix.empty() ? child->Name : prefix + "\\" + child->Name;
        std::cout << path << ' ' << (child->IsStorage() ? "storage" : "stream") << ' ' << child->Data.size() << '\n';
        if (child->IsStorage())
            list(*child, path);
    }
}

// Element names become file names only when they cannot leave the folder.
void checkFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos)
        throw EStorageError(TStorageCode::InvalidName, name);
}

void unpack(const TStorageElement& storage, const fs::path& folder)
{
    fs::create_directories(folder);
    for (const auto& child : storage.Children) {
        checkFileName(child->Name);
        const fs::path target = folder / child->Name;
        if (child->IsStorage()) {
            unpack(*child, target);
        } else {
            std::ofstream file(target, std::ios::binary);
            file.write(child->Data.data(), std::streamsize(child->Data.size()));
            if (!file)
                throw EStorageError(TStorageCode::WriteFault, target.string());
        }
    }
}

void pack(const fs::path& folder, TStorageElement& storage)
{
    // Sorted so that the same folder always gives the same bytes.
    std::map<std::string, fs::directory_entry> entries;
    for (const auto& entry : fs::directory_iterator(folder))
        entries.emplace(entry.path().filename().string(), entry);
    for (const auto& [name, entry] : entries) {
        CheckElementName(name);
        if (storage.Find(name))
            throw EStorageError(TStorageCode::FileAlreadyExists, name + " (names differ only in case)");
        auto element = std::make_unique<TStorageElement>();
        element->Name = name;
        if (entry.is_directory()) {
            element->Type = TElementType::Storage;
            pack(entry.path(), *element);
        } else {
            element->Type = TElementType::Stream;
            element->Data = ReadStorageFile(entry.path().string());
        }
        storage.Insert(std::move(element));
    }
}

}  // namespace

int RunCfb(const Arguments& args)
{
    if (args.size() == 2 && args[0] == "ls") {
        list(*readTree(args[1]), "");
        return 0;
    }
    if (args.size() == 3 && args[0] == "cat") {
        const auto root = readTree(args[1]);
        const TStorageElement* element = root.get();
        for (const std::string& name : NormalizeBackslashPath(SplitBackslashPath(args[2]))) {
            element = element->IsStorage() ? element->Find(name) : nullptr;
            if (!element)
                break;
        }
        if (!element || element->IsStorage()) {
            std::cerr << "orvella-tool: no stream " << args[2] << " in " << args[1] << '\n';
            return 1;
        }
        std::cout.write(element->Data.data(), std::streamsize(element->Data.size()));
        return 0;
    }
    if (args.size() == 3 && args[0] == "pack") {
        TStorageElement root;
        root.Type = TElementType::Root;
        pack(args[1], root);
        WriteStorageFile(args[2], WriteCompoundFile(root));
        return 0;
    }
    if (args.size() == 3 && args[0] == "unpack") {
        unpack(*readTree(args[1]), args[2]);
        return 0;
    }
    return UsageError("cfb");
}

}  // namespace orvella::tool
