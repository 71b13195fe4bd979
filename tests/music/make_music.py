#!/usr/bin/python3
"""Makes tagged MP3 files with sox, lame and mutagen, and prints mutagen's
reading of each: name, title, artist, album, length in seconds (tab-separated).

Usage: make_music.py FOLDER
"""
import os
import subprocess
import sys

from mutagen.id3 import ID3, TALB, TIT2, TPE1
from mutagen.mp3 import MP3

folder = sys.argv[1]
wav = os.path.join(folder, "tone.wav")
subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", wav, "synth", "12.6", "sine", "440"], check=True)
sources = {}
for kind, options in (("cbr", ["-b", "128"]), ("vbr", ["-V", "4"]), ("lowrate", ["-b", "32", "--resample", "22.05"])):
    name = os.path.join(folder, kind + ".mp3")
    subprocess.run(["lame", "--quiet", *options, wav, name], check=True)
    sources[kind] = name
os.remove(wav)

cases = [
    ("cbr", 3, 0, "Plain Title", "Some Artist", "Some Album"),
    ("vbr", 3, 1, "日本語のタイトル", "アーティスト", "アルバム"),
    ("cbr", 4, 3, "Ünïcode Title", "Artist 4", "Album 4"),
    ("vbr", 4, 1, "UTF-16 in 2.4", "Artist", "Album"),
    ("lowrate", 3, 1, "Low Rate", "Artist", "Album"),
]
for index, (kind, version, encoding, title, artist, album) in enumerate(cases):
    name = os.path.join(folder, "%02d_%s_v2%d.mp3" % (index, kind, version))
    with open(sources[kind], "rb") as source, open(name, "wb") as target:
        target.write(source.read())
    tags = ID3()
    tags.add(TIT2(encoding=encoding, text=title))
    tags.add(TPE1(encoding=encoding, text=artist))
    tags.add(TALB(encoding=encoding, text=album))
    tags.save(name, v2_version=version)
for kind in sources:
    os.remove(sources[kind])

for name in sorted(os.listdir(folder)):
    path = os.path.join(folder, name)
    audio = MP3(path)
    get = lambda key: str(audio.tags[key]) if audio.tags and key in audio.tags else ""
    print("\t".join([path, get("TIT2"), get("TPE1"), get("TALB"), "%.3f" % audio.info.length]))
