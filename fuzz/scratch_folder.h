#pragma once
// The readers of documents and catalogs work on files, so the targets that
// fuzz them write each input to a file: in a folder of this process's own
// (made with mkdtemp under $TMPDIR), never a fixed name in /tmp that another
// run could share. The folder goes when the process ends normally; a crash
// ends libFuzzer without running destructors, so scripts/fuzz points TMPDIR
// into a folder that it removes itself in every case.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace orvella::fuzz {

class ScratchFolder {
public:
    // The file `name` in the folder, made on first use.
    static std::string File(const std::string& name) { return instance().path_ + "/" + name; }

private:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvella-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    static ScratchFolder& instance()
    {
        static ScratchFolder folder;
        return folder;
    }

    std::string path_;
};

}  // namespace orvella::fuzz
