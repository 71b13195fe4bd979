#!/usr/bin/env python3
"""The program installed as a desktop citizen: installs the build into a
scratch prefix and checks what the desktop reads there with the desktop's
own tools (desktop-file-validate, appstreamcli, update-mime-database, gio),
then the thumbnailer the file managers call.

usage: desktop_install_test.py CMAKE BUILD_DIR
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

CMAKE, BUILD = sys.argv[1], sys.argv[2]
APP_ID = "org.orvella.Orvella"
REQUIRED = os.environ.get("ORVELLA_REQUIRE_ORACLES") == "1"


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kwargs)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n", path
    return struct.unpack(">II", head[16:24])


class InstalledPrefix(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="orvella-install-")
        cls.prefix = os.path.join(cls.scratch, "prefix")
        done = run([CMAKE, "--install", BUILD, "--prefix", cls.prefix])
        if done.returncode != 0:
            raise RuntimeError("cmake --install failed:\n" + done.stdout + done.stderr)
        cls.share = os.path.join(cls.prefix, "share")
        cls.tool = os.path.join(cls.prefix, "bin", "orvella-tool")
        # The desktop's view of the scratch prefix and nothing of the user's.
        home = os.path.join(cls.scratch, "home")
        cls.env = dict(os.environ,
                       HOME=home,
                       XDG_CONFIG_HOME=os.path.join(home, "config"),
                       XDG_DATA_HOME=os.path.join(home, "data"),
                       XDG_DATA_DIRS=cls.share + ":/usr/share",
                       PATH=os.path.join(cls.prefix, "bin") + ":" + os.environ.get("PATH", ""))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch, ignore_errors=True)

    def need(self, program):
        if shutil.which(program):
            return
        if REQUIRED:
            self.fail(program + " is not installed (scripts/install-deps installs it)")
        self.skipTest(program + " is not installed")

    def document(self, name):
        """A document made and filled through the installed tool."""
        path = os.path.join(self.scratch, name)
        papers = run([self.tool, "paper", "ls", os.path.join(self.share, "orvella", "orvella.ppr")], env=self.env)
        self.assertEqual(papers.returncode, 0, papers.stderr)
        group, paper = papers.stdout.splitlines()[0].split("\t")[:2]
        made = run([self.tool, "doc", "new", group, paper, path], env=self.env)
        self.assertEqual(made.returncode, 0, made.stderr)
        objects = os.path.join(self.scratch, "objects.txt")
        with open(objects, "w") as f:
            f.write("object TDOGroup\nend\n")
        put = run([self.tool, "doc", "put", path, objects], env=self.env)
        self.assertEqual(put.returncode, 0, put.stderr)
        return path

    def test_desktop_entry_is_valid(self):
        self.need("desktop-file-validate")
        entry = os.path.join(self.share, "applications", APP_ID + ".desktop")
        checked = run(["desktop-file-validate", entry])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        self.assertEqual(checked.stdout.strip(), "", "no hints either")

    def test_metainfo_is_valid(self):
        self.need("appstreamcli")
        metainfo = os.path.join(self.share, "metainfo", APP_ID + ".metainfo.xml")
        checked = run(["appstreamcli", "validate", "--no-net", metainfo])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)

    def test_file_types_are_recognised_by_name_and_by_content(self):
        self.need("update-mime-database")
        self.need("gio")
        mime = os.path.join(self.share, "mime")
        rebuilt = run(["update-mime-database", mime])
        self.assertEqual(rebuilt.returncode, 0, rebuilt.stderr)
        self.assertTrue(os.path.exists(os.path.join(mime, "application", "x-orvella-label.xml")))
        document = self.document("typed.ovd")
        # Without its extension the document is still known by its content,
        # while another compound file stays a plain compound file.
        unnamed = os.path.join(self.scratch, "unnamed")
        shutil.copy(document, unnamed)
        catalog = os.path.join(self.scratch, "catalog.bin")
        shutil.copy(os.path.join(self.share, "orvella", "orvella.ppr"), catalog)
        expected = {document: "application/x-orvella-label", unnamed: "application/x-orvella-label",
                    catalog: "application/x-orvella-paper"}
        for path, mime_type in expected.items():
            info = run(["gio", "info", "-a", "standard::content-type", path], env=self.env)
            self.assertIn("standard::content-type: " + mime_type, info.stdout, path)

    def test_the_program_is_the_default_handler_of_its_documents(self):
        self.need("gio")
        for mime_type in ("application/x-orvella-label", "application/x-orvella-paper"):
            answer = run(["gio", "mime", mime_type], env=self.env)
            self.assertIn("Default application for “%s”: %s.desktop" % (mime_type, APP_ID), answer.stdout)

    def test_icons_have_their_sizes_and_the_scalable_one_is_svg(self):
        for size in (16, 32, 48, 64, 128, 256):
            png = os.path.join(self.share, "icons", "hicolor", "%dx%d" % (size, size), "apps", APP_ID + ".png")
            self.assertEqual(png_size(png), (size, size))
        svg = os.path.join(self.share, "icons", "hicolor", "scalable", "apps", APP_ID + ".svg")
        with open(svg) as f:
            self.assertIn("<svg xmlns=\"http://www.w3.org/2000/svg\"", f.read())

    def test_thumbnailer_writes_the_stored_preview_within_the_size(self):
        with open(os.path.join(self.share, "thumbnailers", APP_ID + ".thumbnailer")) as f:
            entry = f.read()
        self.assertIn("Exec=orvella-tool thumbnail %i %o %s", entry)
        self.assertIn("MimeType=application/x-orvella-label;", entry)
        document = self.document("thumb.ovd")
        for size in (256, 128, 16):
            out = os.path.join(self.scratch, "thumb%d.png" % size)
            made = run([self.tool, "thumbnail", document, out, str(size)], env=self.env)
            self.assertEqual(made.returncode, 0, made.stderr)
            width, height = png_size(out)
            self.assertTrue(0 < width <= size and 0 < height <= size and max(width, height) >= min(size, 200),
                            (size, width, height))

    def test_thumbnailer_writes_nothing_for_a_damaged_or_foreign_file(self):
        document = self.document("whole.ovd")
        with open(document, "rb") as f:
            head = f.read(3000)
        damaged = os.path.join(self.scratch, "damaged.ovd")
        with open(damaged, "wb") as f:
            f.write(head)
        catalog = os.path.join(self.share, "orvella", "orvella.ppr")
        for bad in (damaged, catalog, os.path.join(self.scratch, "missing.ovd")):
            out = os.path.join(self.scratch, "bad.png")
            made = run([self.tool, "thumbnail", bad, out, "256"], env=self.env)
            self.assertNotEqual(made.returncode, 0, bad)
            self.assertFalse(os.path.exists(out), bad)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
