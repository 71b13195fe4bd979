#pragma once
// A frame with the program's table, its program folder and settings in a
// temporary folder.

#include "frame/app_frame.h"
#include "frame/program_macros.h"
#include "platform/settings_store.h"
#include "support/tool_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace orvella::test {

class FrameTest : public ::testing::Test {
protected:
    FrameTest()
    {
        std::filesystem::create_directories(dir_.File("share/orvella"));
        std::filesystem::create_directories(dir_.File("data"));
        places_.ExeDir = dir_.File("share/orvella/");
        places_.ExeNameNoExt = places_.ExeDir + "orvella";
        places_.AppDataDir = dir_.File("data/");
        frame_ = std::make_unique<TAppFrame>();
        frame_->Macro.Assign(ProgramMacroLines());
        frame_->Loaded(places_);
        store_ = std::make_shared<TSettingsStore>(dir_.File("config/settings.ini"));
        frame_->SetSettingsStore(store_);
    }

    TempDir dir_;
    TProgramPlaces places_;
    std::unique_ptr<TAppFrame> frame_;
    std::shared_ptr<TSettingsStore> store_;
};

}  // namespace orvella::test
