#!/usr/bin/python3
"""Writes a version-4 compound file (4096-byte sectors) from a folder tree,
independently of the program's own writer, so that its reader can be tested
on the larger sector size. Usage: write_cfb_v4.py FOLDER OUT"""
import os
import struct
import sys

SECTOR = 4096
MINI = 64
CUTOFF = 4096
ENDOFCHAIN, FREESECT, FATSECT, NOSTREAM = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD, 0xFFFFFFFF


def collect(folder):
    """[(name, is_storage, data, children)] sorted as the format orders siblings."""
    items = []
    for name in os.listdir(folder):
        path = os.path.join(folder, name)
        if os.path.isdir(path):
            items.append((name, True, b"", collect(path)))
        else:
            with open(path, "rb") as f:
                items.append((name, False, f.read(), []))
    items.sort(key=lambda item: (len(item[0].encode("utf-16-le")), item[0].upper()))
    return items


def main(folder, out):
    entries = [{"name": "Root Entry", "type": 5, "left": NOSTREAM, "right": NOSTREAM, "child": NOSTREAM,
                "start": ENDOFCHAIN, "size": 0, "data": b""}]

    def add(children):
        # siblings as a right-leaning chain: valid order, colours all black
        ids = []
        for name, is_storage, data, grand in children:
            entries.append({"name": name, "type": 1 if is_storage else 2, "left": NOSTREAM, "right": NOSTREAM,
                            "child": NOSTREAM, "start": ENDOFCHAIN, "size": len(data), "data": data})
            ids.append(len(entries) - 1)
            if is_storage:
                entries[ids[-1]]["child"] = add(grand)
        for a, b in zip(ids, ids[1:]):
            entries[a]["right"] = b
        return ids[0] if ids else NOSTREAM

    entries[0]["child"] = add(collect(folder))

    mini_stream, mini_fat, big = b"", [], []
    for e in entries[1:]:
        if e["type"] != 2 or not e["data"]:
            continue
        if len(e["data"]) < CUTOFF:
            first = len(mini_stream) // MINI
            count = (len(e["data"]) + MINI - 1) // MINI
            mini_fat += [first + k + 1 if k + 1 < count else ENDOFCHAIN for k in range(count)]
            mini_stream += e["data"] + b"\0" * (count * MINI - len(e["data"]))
            e["start"] = first
        else:
            big.append(e)

    def sectors(n):
        return (n + SECTOR - 1) // SECTOR

    dir_bytes = 128 * len(entries)
    plan = [("dir", sectors(dir_bytes)), ("minifat", sectors(4 * len(mini_fat))), ("mini", sectors(len(mini_stream)))]
    plan += [("big", sectors(len(e["data"]))) for e in big]
    data_sectors = sum(n for _, n in plan)
    fat_sectors = 1
    while fat_sectors * (SECTOR // 4) < data_sectors + fat_sectors:
        fat_sectors += 1
    fat = [FATSECT] * fat_sectors
    starts = []
    for _, n in plan:
        first = len(fat)
        fat += [len(fat) + k + 1 if k + 1 < n else ENDOFCHAIN for k in range(n)]
        starts.append(first if n else ENDOFCHAIN)
    fat += [FREESECT] * (fat_sectors * (SECTOR // 4) - len(fat))
    dir_start, minifat_start, mini_start = starts[0], starts[1], starts[2]
    for e, s in zip(big, starts[3:]):
        e["start"] = s
    entries[0]["start"], entries[0]["size"] = mini_start, len(mini_stream)

    header = bytearray(SECTOR)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    struct.pack_into("<HHHHH", header, 24, 0x3E, 4, 0xFFFE, 12, 6)
    struct.pack_into("<IIIIIIIII", header, 40, sectors(dir_bytes), fat_sectors, dir_start, 0, CUTOFF,
                     minifat_start if mini_fat else ENDOFCHAIN, sectors(4 * len(mini_fat)), ENDOFCHAIN, 0)
    for i in range(109):
        struct.pack_into("<I", header, 76 + 4 * i, i if i < fat_sectors else FREESECT)

    body = bytearray()
    body += struct.pack("<%dI" % len(fat), *fat)
    directory = bytearray()
    for e in entries:
        name = e["name"].encode("utf-16-le")
        rec = bytearray(128)
        rec[0:len(name)] = name
        struct.pack_into("<HBBIII", rec, 64, len(name) + 2, e["type"], 1, e["left"], e["right"], e["child"])
        struct.pack_into("<IQ", rec, 116, e["start"] if e["type"] != 1 else 0, e["size"] if e["type"] != 1 else 0)
        directory += rec
    blocks = [directory, struct.pack("<%dI" % len(mini_fat), *mini_fat), mini_stream] + [e["data"] for e in big]
    for block in blocks:
        body += block + b"\0" * ((-len(block)) % SECTOR)
    with open(out, "wb") as f:
        f.write(bytes(header) + bytes(body))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
