#pragma once
// The subcommands of orvella-tool. Each takes the words after its name and
// returns the process exit status; usage errors return 2.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvella::tool {

using Arguments = std::vector<std::string>;

// A picture larger than this a side (in pixels; at 96 dpi about 4.2 m) is
// not drawn.
constexpr int32_t kMaxRenderPixels = 16000;

struct ToolCommand {
    const char* name;
    const char* usage;  // the words after the command name, for the help text
    int (*run)(const Arguments& args);
    bool needsGui;      // renders or measures text: runs inside a QGuiApplication
};

std::span<const ToolCommand> Commands();

int RunExpand(const Arguments& args);
int RunCanvasTest(const Arguments& args);
int RunFontTest(const Arguments& args);
int RunColorSpecTest(const Arguments& args);
int RunStream(const Arguments& args);
int RunCfb(const Arguments& args);
int RunPaper(const Arguments& args);
int RunFaceTest(const Arguments& args);
int RunImage(const Arguments& args);
int RunDoc(const Arguments& args);
int RunRender(const Arguments& args);
int RunThumbnail(const Arguments& args);
int RunSiteTest(const Arguments& args);

int PutDocumentObjects(const Arguments& args);

// Registers every stored class the program knows, so that documents read
// here as in the program.
void RegisterToolClasses();
int RunMusic(const Arguments& args);
int RunPrint(const Arguments& args);

// Prints "orvella-tool: usage: orvella-tool NAME USAGE" and returns 2.
int UsageError(const char* name);

}  // namespace orvella::tool
