#include "app/user_paper_file.h"

#include "frame/app_frame.h"
#include "app/file_dialogs.h"
#include "paper/copy_papers.h"
#include "paper/program_catalog.h"

#include <functional>
#include <string>

namespace orvella {

namespace {

TFileDialogRequest backupRequest(TFileDialogKind kind, const char* title)
{
    TFileDialogRequest request;
    request.Kind = kind;
    request.Title = QString::fromUtf8(title);
    request.Filter = QStringLiteral("用紙情報のバックアップ(*.ppb)|*.ppb|すべてのファイル(*.*)|*.*");
    request.DefaultExts = {QStringLiteral("ppb")};
    request.OverwritePrompt = kind == TFileDialogKind::Save;
    return request;
}

// Asks for the file, does the work and confirms it; a failure goes to the
// frame's exception report.
bool transfer(QWidget* parent, TFileDialogKind kind, const char* title,
              const std::function<void(TPapersV2&, const std::string&)>& work, const char* done)
{
    const auto answer = ExecuteFileDialog(backupRequest(kind, title), parent);
    if (!answer)
        return false;
    try {
        work(ProgramPapers(), answer->FileName.toStdString());
    } catch (...) {
        if (TAppFrame* frame = AppFrame())
            frame->HandleException(std::current_exception());
        return false;
    }
    ShowInfo(done);
    return true;
}

}  // namespace

bool ImportUserPaperFile(QWidget* parent)
{
    return transfer(parent, TFileDialogKind::Open, "ユーザー用紙情報の選択", ImportUserPapers,
                    "ユーザー用紙情報を取り込みました");
}

bool ExportUserPaperFile(QWidget* parent)
{
    return transfer(parent, TFileDialogKind::Save, "ユーザー用紙情報の保存", SaveUserPapers,
                    "ユーザー用紙情報を保存しました");
}

}  // namespace orvella
