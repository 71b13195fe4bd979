#!/usr/bin/python3
"""Lists a compound file with python3-olefile, one line per element:
PATH TYPE SIZE SHA1 (paths joined with backslashes, SHA1 of a stream's bytes)."""
import hashlib
import sys

import olefile

ole = olefile.OleFileIO(sys.argv[1])
for parts in sorted(ole.listdir(streams=True, storages=True)):
    path = "/".join(parts)
    if ole.get_type(path) == olefile.STGTY_STREAM:
        data = ole.openstream(path).read()
        print("\\".join(parts), "stream", len(data), hashlib.sha1(data).hexdigest())
    else:
        print("\\".join(parts), "storage", 0, "-")
