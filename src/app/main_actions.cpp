#include "app/main_actions.h"

#include <QAction>
#include <QApplication>
#include <QRegularExpression>
#include <QStyle>

namespace orvella {

namespace {

constexpr const char* kFile = "ファイル";
constexpr const char* kHelp = "ヘルプ";
constexpr const char* kView = "画面切り替え";

constexpr TMainActionRow kActions[] = {
    {"actNew", kFile, "新規作成(&N)...", "Ctrl+N", QStyle::SP_FileIcon, true},
    {"actOpen", kFile, "開く(&O)...", "Ctrl+O", QStyle::SP_DialogOpenButton, true},
    {"actSave", kFile, "保存(&S)", "Ctrl+S", QStyle::SP_DialogSaveButton, true},
    {"actSaveAs", kFile, "名前を付けて保存(&A)...", "", -1, true},
    {"actTemplate", kFile, "ラベルテンプレートの呼び出し(&T)...", "", -1, false},
    {"actSelectPaper", kFile, "用紙/メディア選択(&L)...", "", -1, false},
    {"actEnvironment", kFile, "環境設定(&E)...", "", -1, false},
    {"actEnvProxy", kFile, "環境設定", "", -1, false},
    {"actPrinterSetup", kFile, "プリンタ設定(&R)...", "", -1, true},
    {"actPrint", kFile, "印刷(&P)...", "Ctrl+P", -1, true},
    {"actExit", kFile, "$(AppName)の終了(&X)", "", QStyle::SP_DialogCloseButton, true},
    {"actExport", kFile, "他形式保存(&H)...", "", -1, true},
    {"actImportPaper", kFile, "ユーザー用紙情報の取り込み(&I)...", "", -1, true},
    {"actExportPaper", kFile, "ユーザー用紙情報の保存(&Y)...", "", -1, true},
    {"actStartMenu", kFile, "スタートメニュー(&W)...", "", -1, false},
    {"actAdjustCD", "", "外円・内円のサイズ調整...", "", -1, false},
    {"actHelp", kHelp, "$(AppName)の使い方(&C)", "", QStyle::SP_DialogHelpButton, true},
    {"actHomepage", kHelp, "Tessmarkのホームページ(&H)", "", -1, true},
    {"actAbout", kHelp, "バージョン情報(&A)...", "", QStyle::SP_MessageBoxInformation, true},
    {"actUpdatePaper", kHelp, "用紙情報の更新(&U)...", "", -1, false},
    {"actAdvancedPaper", kHelp, "用紙選択機能の拡張", "", -1, false},
    {"actAdvancedURL", kHelp, "用紙更新情報のURL変更...", "", -1, false},
    {"actComponentViewer", kHelp, "Component Viewer", "", -1, true},
    {"actSheet", kView, "ラベルシート表示(&S)", "", -1, true},
    {"actLayout", kView, "ラベル表示(&L)", "", -1, true},
    {"actPaperInfoToPrinter", "", "", "", -1, false},
};

}  // namespace

std::span<const TMainActionRow> MainActionTable() { return kActions; }

QString ActionHint(const QString& caption)
{
    QString hint = caption;
    static const QRegularExpression accessKey(QStringLiteral("\\(&.\\)"));
    hint.remove(accessKey);
    if (hint.endsWith(QLatin1String("...")))
        hint.chop(3);
    hint.remove(QLatin1Char('&'));
    return hint;
}

TMainActions::TMainActions(QObject* parent)
{
    for (const TMainActionRow& row : kActions) {
        const QString caption = QString::fromUtf8(row.Caption);
        auto* action = new QAction(caption, parent);
        action->setObjectName(QString::fromLatin1(row.Name));
        action->setProperty("category", QString::fromUtf8(row.Category));
        action->setStatusTip(ActionHint(caption));
        action->setToolTip(ActionHint(caption));
        if (*row.Shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(row.Shortcut)));
        if (row.Image >= 0)
            action->setIcon(QApplication::style()->standardIcon(QStyle::StandardPixmap(row.Image)));
        action->setEnabled(row.Available);
        actions_.emplace(action->objectName(), action);
    }
}

}  // namespace orvella
