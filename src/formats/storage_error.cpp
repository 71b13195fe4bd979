#include "formats/storage_error.h"

namespace orvella {

std::string StorageErrorText(TStorageCode code)
{
    switch (code) {
    case TStorageCode::InvalidFunction: return "関数が正しくありません。";
    case TStorageCode::FileNotFound: return "%1 が見つかりませんでした。";
    case TStorageCode::PathNotFound: return "パス %1 が見つかりませんでした。";
    case TStorageCode::AccessDenied: return "アクセスが拒否されました。";
    case TStorageCode::InvalidPointer: return "無効なポインタ エラーです。";
    case TStorageCode::WriteFault: return "書き込みエラーが発生しました。";
    case TStorageCode::ReadFault: return "読み込みエラーが発生しました。";
    case TStorageCode::ShareViolation: return "共有違反のため、アクセスできませんでした。";
    case TStorageCode::FileAlreadyExists: return "%1 は既に存在します。";
    case TStorageCode::MediumFull: return "ディスクに空き領域がないため、操作を完了できません。";
    case TStorageCode::InvalidHeader: return "ファイル %1 は有効な複合ファイルではありません。";
    case TStorageCode::InvalidName: return "名前 %1 は無効です。";
    case TStorageCode::Reverted: return "オブジェクトは既に無効になっています。";
    case TStorageCode::DocfileCorrupt: return "複合ファイルが壊れています。";
    }
    return "記憶域エラーが発生しました。";
}

namespace {

std::string composeMessage(TStorageCode code, const std::string& detail)
{
    std::string text = StorageErrorText(code);
    // The platform's texts leave a placeholder for the name; fill it.
    if (const std::size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, detail.empty() ? std::string("(名前なし)") : detail);
    else if (!detail.empty())
        text += " (" + detail + ")";
    return text;
}

}  // namespace

EStorageError::EStorageError(TStorageCode code, const std::string& detail)
    : std::runtime_error(composeMessage(code, detail)), code_(code)
{
}

}  // namespace orvella
