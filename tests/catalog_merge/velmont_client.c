/* Loads the catalog merge library with dlopen and calls both entry points,
 * as an installer does: velmont_client LIBRARY SRCDIR DSTDIR CHECKFILE
 * prints "CheckVersion=N FinishInstall=M". */

#include "catalog_merge/velmont.h"

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

/* The entry points' own declarations, so a change of them shows here. */
typedef __typeof__(&CheckVersion) velmont_entry;

static void widen(const char* text, char16_t* out, size_t capacity)
{
    size_t i = 0;
    for (; text[i] != '\0' && i + 1 < capacity; ++i)
        out[i] = (unsigned char)text[i]; /* the test passes ASCII paths */
    out[i] = 0;
}

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: velmont_client LIBRARY SRCDIR DSTDIR CHECKFILE\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    velmont_entry checkVersion = (velmont_entry)dlsym(library, "CheckVersion");
    velmont_entry finishInstall = (velmont_entry)dlsym(library, "FinishInstall");
    if (!checkVersion || !finishInstall) {
        fprintf(stderr, "missing entry point\n");
        return 2;
    }
    char macros[4096];
    snprintf(macros, sizeof macros, "srcDir=%s\r\ndstDir=%s\r\nUpdateCheckFile=%s\r\n", argv[2], argv[3], argv[4]);
    char16_t wide[4096];
    widen(macros, wide, sizeof wide / sizeof wide[0]);
    const int32_t checked = checkVersion(NULL, wide);
    const int32_t finished = finishInstall(NULL, wide);
    printf("CheckVersion=%d FinishInstall=%d\n", (int)checked, (int)finished);
    dlclose(library);
    return 0;
}
