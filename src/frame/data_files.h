#pragma once
// The data files the program loads at start, in a fixed order, and the work
// it does with them at exit. Each floor that owns a data file registers its
// loader here (the thumbnail cache, the system and user paper catalogs, the
// product database); the start-up sequence runs whatever is registered.
//
// A writer registered for the exit must replace its file through
// platform/atomic_file.h (a temporary file renamed over the old one): a
// failure half way must never cost the user the file's old content.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orvella {

// The order the files load in.
enum class TDataFileStage {
    ImageCache = 1,
    SystemPaper = 2,
    UserPaper = 3,
    ProductDatabase = 4,
};

enum class TDataFileRule {
    // The file's folder is created (with its parents); the file need not exist.
    CreateFolder,
    // The file must exist. The program only reads it: an installed program's
    // files belong to another user and are not writable, which is fine.
    Required,
    // Loaded only when it exists.
    Optional,
    // Loaded only when it exists; the program writes it back later (at
    // exit), so an existing read-only file refuses the start rather than
    // losing the user's changes at the end.
    Written,
};

struct TDataFileLoader {
    TDataFileStage Stage = TDataFileStage::ImageCache;
    std::string FileMacro;  // "$(SystemPaperInfo)"
    TDataFileRule Rule = TDataFileRule::Required;
    // Called with the expanded path (Optional: only when the file exists).
    std::function<void(const std::filesystem::path& file)> Load;
};

class TDataFileRegistry {
public:
    void Register(TDataFileLoader loader);
    void RegisterAtExit(std::function<void()> hook);

    // Loads every registered file in stage order (registration order within
    // a stage). A failure raises EFileError with the message to show:
    // "アプリケーションに必要なファイル「%s」が開けませんでした" for a missing
    // file or any other error, "実行に必要なファイル「%s」が読み取り専用になっています"
    // for a read-only file the program writes, %s being the file name
    // without its folder.
    void LoadAll() const;

    // Runs the exit hooks in registration order; a failing hook is reported
    // and the others still run.
    void RunAtExit() const;

    bool Empty() const noexcept { return loaders_.empty() && exitHooks_.empty(); }

private:
    std::vector<TDataFileLoader> loaders_;
    std::vector<std::function<void()>> exitHooks_;
};

// Whether the permission bits deny writing to the file's owner class as it
// applies to this process (owner, group, others). The bits decide, not
// access(): the superuser may write anything, yet a file with its write bits
// cleared is still read-only.
bool IsReadOnlyFile(const std::filesystem::path& file);

}  // namespace orvella
