#pragma once
// A main window over a small paper catalog, with its message boxes and
// file dialogs answered by the test: each answer is taken from a queue, and
// every question asked is recorded.

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "../frame/frame_fixture.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvella::test {

class MainWindowTest : public FrameTest {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    // The window with a new document, as the first idle moment leaves it.
    TfrmMain& window();

    // Answers for the coming message boxes; with none left, Cancel.
    std::deque<int> answers_;
    std::vector<std::string> messages_;
    // Answers for the coming file dialogs; an empty name, or none left, cancels.
    std::deque<TFileDialogAnswer> dialogAnswers_;
    std::vector<TFileDialogRequest> dialogs_;

private:
    std::unique_ptr<TfrmMain> window_;
    TFileDialogHandler previousDialogs_;
};

// The one face of the catalog's first paper (an A4 sheet with one face at
// 10 mm, 20 mm), in 0.1 mm.
inline constexpr int32_t kFaceWidth = 500;
inline constexpr int32_t kFaceHeight = 300;

}  // namespace orvella::test
