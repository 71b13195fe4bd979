#pragma once
// The two functions an installer or content updater calls. Both take the
// owner window of any message (unused on this system: messages go to
// standard error) and a NUL-terminated UTF-16 text of Name=Value lines
// naming "srcDir", "dstDir" and "UpdateCheckFile".

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define VELMONT_EXPORT __attribute__((visibility("default")))

// 0 when "$(dstDir)$(UpdateCheckFile)" exists, 3 when it does not, 2 after an error.
VELMONT_EXPORT int32_t CheckVersion(void* window, const char16_t* macroText);

// -1 after the template and background catalogs were merged, 0 after an error.
VELMONT_EXPORT int32_t FinishInstall(void* window, const char16_t* macroText);

#ifdef __cplusplus
}
#endif
