#include "main_window_fixture.h"

#include "../paper/paper_fixtures.h"
#include "document/document_classes.h"
#include "document/label_data.h"
#include "paper/papers.h"
#include "paper/program_catalog.h"

namespace orvella::test {

MainWindowTest::MainWindowTest()
{
    RegisterDocumentClasses();
    auto catalog = std::make_unique<TPapersV2>(dir_.File("papers.ppr"), true, false, true);
    catalog->AddStandardSections();
    catalog->Store(*GridPaper("Card", 1, 1));
    catalog->Store(*GridPaper("Two cards", 2, 1));
    SetProgramPapers(std::move(catalog));

    frame_->OnMessageBox = [this](const std::string& message, std::span<const TButtonKind>, int, int) {
        messages_.push_back(message);
        if (answers_.empty())
            return int(mrCancel);
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    };
    previousDialogs_ = SetFileDialogHandler([this](const TFileDialogRequest& request) {
        dialogs_.push_back(request);
        std::optional<TFileDialogAnswer> answer;
        if (!dialogAnswers_.empty()) {
            if (!dialogAnswers_.front().FileName.isEmpty())
                answer.emplace(dialogAnswers_.front());
            dialogAnswers_.pop_front();
        }
        return answer;
    });
}

MainWindowTest::~MainWindowTest()
{
    window_.reset();
    SetFileDialogHandler(std::move(previousDialogs_));
    SetProgramPapers(nullptr);
}

TfrmMain& MainWindowTest::window()
{
    if (!window_) {
        window_ = std::make_unique<TfrmMain>();
        window_->NewDocument();
    }
    return *window_;
}

}  // namespace orvella::test
