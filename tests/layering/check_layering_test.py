#!/usr/bin/env python3
"""Tests of check_layering.py on small trees made for each case, so that the
layering check itself cannot pass by reading nothing or missing a back-edge."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layering.py")


class CheckLayering(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.repo = self.tmp.name
        # lib/ with low < mid < high, and platform/ beside it.
        self.Write("platform/abi/types.h", "#pragma once\n")
        self.Write("lib/low/a.h", '#pragma once\n#include "platform/abi/types.h"\n')
        self.Write("lib/low/a.cpp", '#include "lib/low/a.h"\n#include <vector>\n')
        self.Write("lib/mid/b.h", '#pragma once\n#include "lib/low/a.h"\n')
        self.Write("lib/mid/b.cpp", '#include "lib/mid/b.h"\n#include "b.h"\n')
        self.Write("lib/high/c.cpp", '#include "lib/mid/b.h"\n#include "lib/low/a.h"\n#include "platform/abi/types.h"\n')

    def tearDown(self):
        self.tmp.cleanup()

    def Write(self, path, text):
        full = os.path.join(self.repo, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as f:
            f.write(text)

    def Run(self, *order, root="lib"):
        return subprocess.run([sys.executable, SCRIPT, os.path.join(self.repo, root), *order],
                              capture_output=True, text=True)

    def test_a_tree_that_includes_downwards_passes(self):
        r = self.Run("low", "mid", "high")
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertIn("5 files", r.stdout)

    def test_a_back_edge_fails_naming_the_file_and_line(self):
        self.Write("lib/low/a.cpp", '#include "lib/low/a.h"\n\n#include "lib/high/c.h"\n')
        self.Write("lib/high/c.h", "#pragma once\n")
        r = self.Run("low", "mid", "high")
        self.assertEqual(r.returncode, 1)
        self.assertIn(os.path.join("lib", "low", "a.cpp") + ":3:", r.stdout)
        self.assertIn("lib/high/c.h", r.stdout)

    def test_the_order_decides_what_is_a_back_edge(self):
        # mid includes low: fine in one order, a back-edge in the other.
        r = self.Run("mid", "low", "high")
        self.assertEqual(r.returncode, 1)
        self.assertIn(os.path.join("lib", "mid", "b.h") + ":2:", r.stdout)

    def test_a_relative_back_edge_is_found_too(self):
        self.Write("lib/mid/d.cpp", '#include "../high/e.h"\n')
        self.Write("lib/high/e.h", "#pragma once\n")
        r = self.Run("low", "mid", "high")
        self.assertEqual(r.returncode, 1)
        self.assertIn(os.path.join("lib", "mid", "d.cpp") + ":1:", r.stdout)

    def test_folders_outside_the_order_fail(self):
        self.Write("lib/extra/f.cpp", '#include "lib/low/a.h"\n')
        r = self.Run("low", "mid", "high")
        self.assertEqual(r.returncode, 1)
        self.assertIn("f.cpp: the folder of this file has no place", r.stdout)
        self.Write("lib/extra/f.cpp", "\n")
        self.Write("lib/low/g.cpp", '#include "lib/extra/f.h"\n')
        r = self.Run("extra", "low", "mid", "high")
        self.assertEqual(r.returncode, 0, r.stdout)
        r = self.Run("low", "mid", "high")
        self.assertIn("g.cpp:1: includes lib/extra/f.h, from no folder in the order", r.stdout)

    def test_mistakes_in_the_arguments_are_errors(self):
        self.assertEqual(self.Run().returncode, 2)
        self.assertEqual(self.Run("low", "nosuch").returncode, 2)
        self.assertEqual(self.Run("low", "low").returncode, 2)
        self.assertEqual(self.Run("x", root="missing").returncode, 2)

    def test_a_tree_without_sources_fails(self):
        os.makedirs(os.path.join(self.repo, "empty", "only"))
        self.assertEqual(self.Run("only", root="empty").returncode, 1)


if __name__ == "__main__":
    unittest.main()
