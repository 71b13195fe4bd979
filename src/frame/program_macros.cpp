#include "frame/program_macros.h"

#include "platform/version.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace orvella {

namespace {

constexpr char kProgramName[] = "orvella";

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

}  // namespace

const std::vector<std::string>& ProgramMacroLines()
{
    // Folder texts end in '/' on this system; registry key paths keep their
    // backslashes, being key paths and not file paths.
    static const std::vector<std::string> lines = {
        "AppName=Orvella",
        "SysHelpFile=$(ExeNameNoExt).chm",
        "SysMsgUnexpected=予期しないエラーが発生しました$(CRLF)%s",
        "SysMsgTwainErr=TWAINでエラーが発生しました。$(CRLF)TWAINドライバあるいはTWAIN機器に問題があると$(CRLF)"
        "思われます$(CRLF)「%s」",
        "SysMsgNotDefaultPrinter=通常使うプリンタがセットされていません$(CRLF)"
        "コントロールパネルのプリンタを開いて設定してください",
        "SysMsgNotEnoughColor=「$(AppName)」は、32,000色以上の$(CRLF)表示環境でご使用ください。$(CRLF)"
        "正しく表示できないことがありますが起動しますか？",
        "SysMsgAlreadyRun=$(AppName)は、すでに実行中です",
        "SysMutexID=$(AppName).$(ShortVer).Karvane.Japan",
        "SysMsgCDNotFound=%sが見つかりません$(CRLF)$(AppName)のＣＤを正しくセットしてください。",
        "SysRegistryKey=Software\\Tessmark\\Orvella\\$(ShortVer)\\Settings",
        "SysKeyFile=ORVL.KEY",
        "SysApplicationFolder=",
        "SysInstallKey=Orvella.Application",
        "ProductDB=$(ExeNameNoExt).cdb",
        "SystemPaperInfo=$(ExeNameNoExt).ppr",
        "CoonsDistortionData=$(ExeNameNoExt).cdd",
        "UserImageHistory=$(SysRegistryKey)\\UserImageHistory",
        "OpenFileHistory=$(SysRegistryKey)\\OpenFileHistory",
        "CDPathHistory=$(SysRegistryKey)\\CDPathHistory",
        "WindowColors=$(SysRegistryKey)\\WindowColors",
        "LabelDataHistory=$(SysRegistryKey)\\LabelDataHistory",
        "TitleBarFormat=$(AppName) - %s",
        "PrintTitleFormat=%s - $(AppName)",
        "FindPaperHistory=$(SysRegistryKey)\\FindPaperHistory",
        "UsedPaperHistory=$(SysRegistryKey)\\UsedPaperHistory",
        "UsedMediaHistory=$(SysRegistryKey)\\UsedMediaHistory",
        "QRCodeHistory=$(SysRegistryKey)\\QRCodeHistory",
        "OpenDataFilter=%sデータ(*.%s)|*.%s|すべてのファイル(*.*)|*.*",
        "UserPreferenceFolder=$(AppDataDir)$(AppName)/$(ShortVer)/",
        "SystemPreferenceFolder=$(ExeDir)",
        "ColorSpecHistory=$(UserPreferenceFolder)ColorSpec.hst",
        "FindAlbumHistory=$(SysRegistryKey)\\FindAlbumHistory",
        "ImageCacheFile=$(UserPreferenceFolder)ImageCache.ic",
        "ImageFileExtentions=.bmp;.jpg;.jpeg;.pcd;.wmf;.emf;.cbm;.gif;.png",
        "PreCheckedImageFileExtentions=.mp3;.m4a;.m4p",
        "UserPaperInfo=$(UserPreferenceFolder)UserPaper.ppr",
        "SysMsgNotPowerUsers=「$(AppName)」の実行には$(CRLF)標準ユーザー（PowerUsers）以上の権限が必要です",
        "SizeAdjustKey=$(SysRegistryKey)\\SizeAdjust",
        "FavoriteTemplate=$(UserPreferenceFolder)Favorite.dat",
        "CaptureHistory=$(UserPreferenceFolder)CaptureHistory",
        "KeywordHistory=$(SysRegistryKey)\\KeywordHistory",
    };
    return lines;
}

TProgramPlaces ProgramPlaces()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path prefix = error ? std::filesystem::current_path(error) : exe.parent_path().parent_path();
    TProgramPlaces places;
    places.ExeDir = withSlash((prefix / "share" / kProgramName).string());
    places.ExeNameNoExt = places.ExeDir + kProgramName;

    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        places.AppDataDir = withSlash(data);
    else if (const char* home = std::getenv("HOME"); home && *home)
        places.AppDataDir = withSlash(std::string(home) + "/.local/share");
    else
        places.AppDataDir = "/tmp/";
    return places;
}

void SetBuiltInMacros(TMacroString& table, const TProgramPlaces& places)
{
    // The program file has no extension on this system.
    if (table.Value("SysKeyFile").empty())
        table.SetValue("SysKeyFile", kProgramName);
    if (table.Value("SysApplicationFolder").empty())
        table.SetValue("SysApplicationFolder", kProgramName);
    table.SetValue("CRLF", "\r\n");
    table.SetValue("Quote", "\"");
    table.SetValue("ExeDir", places.ExeDir);
    table.SetValue("ExeNameNoExt", places.ExeNameNoExt);
    table.SetValue("AppDataDir", places.AppDataDir);
    const std::string shortVer = std::to_string(ORVELLA_VERSION_MAJOR) + "." + std::to_string(ORVELLA_VERSION_MINOR);
    table.SetValue("ShortVer", shortVer);
    table.SetValue("LongVer", shortVer + "." + std::to_string(ORVELLA_VERSION_PATCH) + ".0");
}

TMacroString ProgramMacroTable()
{
    TMacroString table;
    table.Assign(ProgramMacroLines());
    SetBuiltInMacros(table, ProgramPlaces());
    return table;
}

}  // namespace orvella
