#include "commands.h"

#include "objects/object_classes.h"

#include <cstring>
#include <iostream>

namespace orvella::tool {

namespace {

const ToolCommand kCommands[] = {
    {"expand", "[-t TABLE] [--keep-quotes] TEXT...", RunExpand, false},
    {"canvas-test", "OUT.png", RunCanvasTest, true},
    {"font-test", "OUT.png", RunFontTest, true},
    {"colorspec-test", "OUT.png", RunColorSpecTest, true},
    {"stream", "totext FILE | tobinary FILE OUT", RunStream, false},
    {"cfb", "ls FILE | cat FILE PATH | pack DIR FILE | unpack FILE DIR", RunCfb, false},
    {"paper", "ls CATALOG | render CATALOG GROUP NAME OUT.png", RunPaper, true},
    {"face-test", "OUT.png [GROUP NAME]", RunFaceTest, true},
    {"site-test", "OUT.png", RunSiteTest, true},
    {"image", "convert IN OUT | filter IN OUT [--blur N] [--monotone C] [--brightness B] [--contrast C] [--resize WxH] [--rotate DEG]", RunImage, false},
    {"doc", "new [--catalog FILE] GROUP NAME OUT.ovd | ls DOC | open DOC | dump DOC | put DOC FILE [--sheet N] [--face N]", RunDoc, true},
    {"render", "DOC OUT.{png,jpg,bmp} [--sheet N] [--face N] [--dpi D]", RunRender, true},
    {"thumbnail", "DOC OUT.png SIZE", RunThumbnail, false},
    {"music", "tags FILE... | album FOLDER|PLAYLIST", RunMusic, false},
    {"print", "DOC [--printer NAME | --pdf OUT.pdf] [--sheet N] [--faces I,J,...] [--copies N] [--offset X,Y] [--frame] [--cut-line] [--paper-image] [--soft-edge] [--dpi D]", RunPrint, true},
};

}  // namespace

std::span<const ToolCommand> Commands() { return kCommands; }

void RegisterToolClasses() { RegisterObjectClasses(); }

int UsageError(const char* name)
{
    for (const ToolCommand& command : kCommands)
        if (std::strcmp(command.name, name) == 0)
            std::cerr << "orvella-tool: usage: orvella-tool " << command.name << ' ' << command.usage << '\n';
    return 2;
}

}  // namespace orvella::tool
