// The suites never touch the real home: settings, data and the runtime
// folder of everything they start point into a temporary folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class IsolatedHome : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvella-home-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        home_ = pattern;
        for (const char* name : {"config", "data", "runtime"})
            std::filesystem::create_directories(home_ / name);
        std::filesystem::permissions(home_ / "runtime", std::filesystem::perms::owner_all);
        setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home_ / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (home_ / "runtime").c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }

private:
    std::filesystem::path home_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new IsolatedHome);

}  // namespace
