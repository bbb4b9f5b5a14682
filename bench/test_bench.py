"""Self-test of the benchmark tools: the corpus generator, its truth file and
--verify, the output parsers, and the driver's correctness check.

    python3 -m unittest -v test_bench        (from bench/)
"""

import hashlib
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import gen_corpus as gc  # noqa: E402
import normalise as nm  # noqa: E402

MiB = gc.MiB


class ContentModel(unittest.TestCase):
    def setUp(self):
        self.b = gc.Builder("unit")
        self.filler = gc.Filler("unit")

    def raw(self, c):
        return b"".join(bytes(p) for p in self.filler._filler_pieces(c.base, c.size))

    def test_stamp_lands_exactly_where_asked_even_across_piece_boundaries(self):
        size = gc.BLOCK + gc.BLOCK // 2 + 77
        base = self.b.new_base()
        pieces = list(self.filler._filler_pieces(base, size))
        self.assertGreater(len(pieces), 2)
        bounds = []
        off = 0
        for p in pieces[:-1]:
            off += len(p)
            bounds.append(off)
        for pos in [0, size - 8, 12345] + [x - k for x in bounds for k in (0, 1, 4, 7, 8)]:
            c = self.b.content(size, base, pos)
            raw = self.raw(c)
            got = self.filler.content_bytes(c)
            self.assertEqual(len(got), size)
            self.assertEqual(got, raw[:pos] + gc.stamp_bytes(c.key[1]) + raw[pos + 8 :], pos)

    def test_near_duplicates_differ_only_in_their_stamps(self):
        for size in (100, 70000, gc.SLICE_MAX + 1, 6 * MiB + 3):
            base = self.b.new_base()
            pos = gc.late_pos(self.b, size)
            x = self.filler.content_bytes(self.b.content(size, base, pos))
            y = self.filler.content_bytes(self.b.content(size, base, pos))
            diff = [i for i in range(0, size) if x[i] != y[i]] if size < MiB else first_last_diff(x, y)
            self.assertTrue(diff)
            self.assertGreaterEqual(min(diff), pos)
            self.assertLess(max(diff), pos + 8)
            self.assertGreaterEqual(pos, size - 4096 - 8)

    def test_between_samples_positions_avoid_ends_middle_and_block_boundaries(self):
        for size in (5 * MiB, 77 * MiB + 5):
            for _ in range(50):
                pos = gc.between_samples_pos(self.b, size)
                self.assertGreater(pos, size // 4 - 1)
                self.assertLess(pos + 8, size - 4096)
                self.assertNotEqual(pos // 4096, (size // 2) // 4096)
                self.assertNotEqual(pos % 4096, 0)

    def test_same_stream_different_lengths_share_their_prefix(self):
        for short_size, long_size in ((5000, gc.SLICE_MAX), (gc.SLICE_MAX + 1, gc.BLOCK + 9000)):
            base = self.b.new_base()
            short = self.filler.content_bytes(self.b.content(short_size, base, short_size - 8))
            long_ = self.filler.content_bytes(self.b.content(long_size, base, long_size - 8))
            self.assertEqual(short[: short_size - 8], long_[: short_size - 8])
            self.assertNotEqual(short, long_[:short_size])

    def test_distinct_contents_of_one_size_differ(self):
        a = self.filler.content_bytes(self.b.content(4096))
        b = self.filler.content_bytes(self.b.content(4096))
        self.assertNotEqual(a, b)
        self.assertNotEqual(gc.stamp_bytes(1), gc.stamp_bytes(2))

    def test_tiny_contents_are_keyed_by_their_bytes(self):
        self.assertEqual(self.b.tiny(b"ab").key, self.b.tiny(b"ab").key)
        self.assertNotEqual(self.b.tiny(b"ab").key, self.b.tiny(b"ba").key)
        self.assertIsNotNone(self.b.content(5).data)

    def test_names_fit_the_file_system_limit(self):
        d = gc.Dir(b"", None)
        long_name = b"x" * 300 + b".txt"
        first = gc.unique_name(d, long_name)
        d.add(gc.File(first, None))
        second = gc.unique_name(d, long_name)
        self.assertEqual(len(first), 255)
        self.assertLessEqual(len(second), 255)
        self.assertNotEqual(first, second)


def first_last_diff(x, y):
    """Indices where two long byte strings differ, found by bisecting chunks."""
    out = []
    step = 65536
    for off in range(0, len(x), step):
        if x[off : off + step] != y[off : off + step]:
            out.extend(off + i for i in range(min(step, len(x) - off)) if x[off + i] != y[off + i])
    return out


class SmallCorpus(unittest.TestCase):
    """One generated `small` corpus, shared by the tests of this class."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="bench-test-")
        cls.root = os.path.join(cls.tmp, "small")
        cls.truth = gc.generate("small", cls.root, quiet=True)
        cls.inodes, cls.dirs, cls.links = gc.scan_disk(cls.root)
        cls.groups = [[os.fsencode(p) for p in g] for g in cls.truth["groups"]]

    @classmethod
    def tearDownClass(cls):
        gc.remove_tree(cls.tmp)

    def abs(self, rel):
        return os.path.join(os.fsencode(self.root), rel)

    def test_truth_matches_disk(self):
        self.assertTrue(gc.verify(self.root, quiet=True))

    def test_size_is_about_five_thousand_files(self):
        s = self.truth["stats"]
        self.assertGreater(s["files"], 4500)
        self.assertLess(s["files"], 6000)
        self.assertEqual(s["groups"], len(self.groups))

    def test_generation_is_deterministic(self):
        other = os.path.join(self.tmp, "again")
        t2 = gc.generate("small", other, quiet=True)
        try:
            self.assertEqual(t2["fingerprint"], self.truth["fingerprint"])
            self.assertEqual(tree_digest(self.root), tree_digest(other))
            self.assertNotEqual(gc.fingerprint(gc.plan("small", 2)), self.truth["fingerprint"])
        finally:
            gc.remove_tree(other)
            os.unlink(gc.truth_path(other))

    def test_truth_lists_one_sorted_name_per_inode(self):
        for g in self.groups:
            self.assertEqual(g, sorted(g))
            keys = [nm.file_key(self.abs(p)) for p in g]
            self.assertEqual(len(set(keys)), len(keys))
            for p, k in zip(g, keys):
                self.assertEqual(p, min(self.inodes[k][1]))

    def test_corpus_has_every_kind_of_case(self):
        names = [p for _, paths in self.inodes.values() for p in paths]
        grouped = {p for g in self.groups for p in g}
        sizes = {k: v[0] for k, v in self.inodes.items()}
        by_path = {p: k for k, (_, paths) in self.inodes.items() for p in paths}

        def in_group(pred):
            return any(pred(p) for p in grouped)

        self.assertTrue(in_group(lambda p: os.path.basename(p).startswith(b".")), "hidden file in a group")
        self.assertTrue(in_group(lambda p: b"/." in b"/" + os.path.dirname(p)), "file of a hidden directory")
        self.assertTrue(in_group(lambda p: b"\n" in p), "newline in a name")
        self.assertTrue(in_group(lambda p: os.path.basename(p).startswith(b"-")), "leading dash")
        self.assertTrue(in_group(lambda p: not is_utf8(p)), "name that is not UTF-8")
        self.assertTrue(in_group(lambda p: b" " in os.path.basename(p)), "space in a name")
        self.assertTrue(in_group(lambda p: not os.stat(self.abs(p)).st_mode & stat.S_IWUSR), "read-only file")
        self.assertTrue(any(not os.lstat(self.abs(os.path.dirname(p))).st_mode & stat.S_IWUSR for p in grouped),
                        "read-only directory")
        self.assertTrue(any(sizes[by_path[g[0]]] == 0 for g in self.groups), "empty files")
        self.assertTrue(any(1 <= sizes[by_path[g[0]]] <= 3 for g in self.groups), "tiny files")
        self.assertTrue(any(sizes[by_path[g[0]]] >= 5 * MiB for g in self.groups), "large copies")
        self.assertTrue(any(len(set(map(os.path.dirname, g))) == 1 and len(g) >= 4 for g in self.groups),
                        "a run of four or more copies in one directory")
        self.assertTrue(any(len(paths) > 1 for _, paths in self.inodes.values()), "hard links")
        self.assertTrue(any(len(paths) > 1 and p in grouped for _, paths in self.inodes.values() for p in paths),
                        "a hard-linked file that also has copies")
        self.assertGreater(len(names), len(self.inodes))
        links = [os.path.join(t, n) for t, ds, fs in os.walk(os.fsencode(self.root)) for n in ds + fs
                 if os.path.islink(os.path.join(t, n))]
        self.assertTrue(any(os.path.isdir(p) for p in links), "link to a directory")
        self.assertTrue(any(os.path.isfile(p) for p in links), "link to a file")
        self.assertTrue(any(not os.path.exists(p) for p in links), "dangling or looping link")
        self.assertTrue(any(os.path.realpath(os.path.dirname(p)).startswith(os.path.realpath(p) + b"/") or
                            os.path.realpath(p) == os.path.realpath(os.path.dirname(p)) for p in links),
                        "link to an ancestor (a loop when followed)")

    def test_near_duplicates_of_one_size_are_not_grouped(self):
        # Files of one size that are not copies: some share their first 500
        # bytes, some large ones differ only in their last 4 KiB, some only
        # between the quarter and the last 4 KiB.
        group_of = {p: i for i, g in enumerate(self.groups) for p in g}
        by_size = {}
        for size, paths in self.inodes.values():
            by_size.setdefault(size, []).append(min(paths))
        same_head = late = between = 0
        for size, ps in by_size.items():
            if size < 1024:
                continue
            ps = sorted(ps)[:6]
            for i, p in enumerate(ps):
                for q in ps[i + 1 :]:
                    if group_of.get(p, -1) == group_of.get(q, -2):
                        continue
                    with open(self.abs(p), "rb") as f, open(self.abs(q), "rb") as g:
                        a, b = f.read(), g.read()
                    d = first_last_diff(a, b)
                    self.assertTrue(d, (p, q))
                    same_head += min(d) >= 500
                    if size >= 5 * MiB:
                        late += min(d) >= size - 4096 - 8
                        between += size // 4 <= min(d) < size - 4096
        self.assertGreater(same_head, 10)
        self.assertGreater(late, 0)
        self.assertGreater(between, 0)

    def test_duplicated_subtree(self):
        # Some directory's files all have copies under one other directory,
        # at the same relative paths.
        groups = [set(g) for g in self.groups]
        dirs_with_copies = {}
        for g in groups:
            for p in g:
                for q in g:
                    if p != q and os.path.basename(p) == os.path.basename(q):
                        dirs_with_copies.setdefault((os.path.dirname(p), os.path.dirname(q)), 0)
                        dirs_with_copies[(os.path.dirname(p), os.path.dirname(q))] += 1
        self.assertTrue(any(n >= 10 for n in dirs_with_copies.values()))

    def test_verify_catches_a_changed_byte(self):
        p = self.abs(self.groups[len(self.groups) // 2][0])
        st = os.stat(p)
        os.chmod(p, 0o644)
        with open(p, "r+b") as f:
            f.seek(st.st_size - 1)
            old = f.read(1)
            f.seek(st.st_size - 1)
            f.write(bytes([old[0] ^ 1]))
        try:
            self.assertFalse(gc.verify(self.root, quiet=True))
        finally:
            with open(p, "r+b") as f:
                f.seek(st.st_size - 1)
                f.write(old)
            os.chmod(p, stat.S_IMODE(st.st_mode))
        self.assertTrue(gc.verify(self.root, quiet=True))

    def test_verify_catches_a_wrong_truth_file(self):
        tp = gc.truth_path(self.root)
        with open(tp, "rb") as f:
            saved = f.read()
        try:
            doc = json.loads(saved)
            a, b = doc["groups"][0], doc["groups"][1]
            doc["groups"][0:2] = [sorted(a + b)]  # two groups merged
            doc["stats"]["groups"] -= 1
            with open(tp, "w") as f:
                json.dump(doc, f)
            self.assertFalse(gc.verify(self.root, quiet=True))
        finally:
            with open(tp, "wb") as f:
                f.write(saved)

    def test_verify_catches_an_extra_hard_link(self):
        g = self.groups[0]
        extra = self.abs(b"extra hard link")
        os.link(self.abs(g[0]), extra)
        try:
            self.assertFalse(gc.verify(self.root, quiet=True))
        finally:
            os.unlink(extra)

    def test_check_mode_passes_a_correct_tool_and_fails_wrong_ones(self):
        fake = os.path.join(self.tmp, "fake-cli")
        with open(fake, "w") as f:
            f.write(FAKE_CLI.replace("@HERE@", HERE))
        os.chmod(fake, 0o755)
        run = os.path.join(HERE, "run")

        def check(mode, fresh=False):
            env = dict(os.environ, FAKE_MODE=mode)
            argv = [sys.executable, run, "small", "--check", "--cli", fake, "--data", self.tmp]
            return subprocess.run(argv + ([] if fresh else ["--corpus", self.root]), env=env, capture_output=True)

        self.assertEqual(check("ok", fresh=True).returncode, 0)
        self.assertEqual([n for n in os.listdir(self.tmp) if n.startswith("paradrex-bench-")], [])
        self.assertEqual(check("hardlinks").returncode, 0)  # second names of one inode are ignored
        for mode in ("drop", "merge", "symlink", "split", "text-drop"):
            r = check(mode)
            self.assertEqual(r.returncode, 1, mode + r.stdout.decode(errors="replace"))
            self.assertIn(b"differ", r.stdout)


# A stand-in for paradrex-cli that prints the corpus's truth in the CLI's
# formats, corrupted on request, to test the driver's check itself.
FAKE_CLI = r'''#!/usr/bin/env python3
import json, os, sys
sys.path.insert(0, "@HERE@")
import gen_corpus as gc
mode = os.environ["FAKE_MODE"]
fmt = sys.argv[sys.argv.index("--format") + 1]
root = os.fsencode(sys.argv[-1])
groups = [[os.path.join(root, p) for p in g] for g in gc.load_truth(root)["groups"]]
inodes, _, _ = gc.scan_disk(root)
if mode == "drop" or (mode == "text-drop" and fmt == "text"):
    groups = groups[1:]
elif mode == "merge":
    groups = [groups[0] + groups[1]] + groups[2:]
elif mode == "split":
    big = max(range(len(groups)), key=lambda i: len(groups[i]))
    g = groups.pop(big)
    groups += [g[:2], g[2:]] if len(g) > 3 else [g]
elif mode == "symlink":
    for t, ds, fs in os.walk(root):
        links = [n for n in fs if os.path.islink(os.path.join(t, n)) and os.path.isfile(os.path.join(t, n))]
        if links:
            groups[0].append(os.path.join(t, links[0]))
            break
elif mode == "hardlinks":
    for size, paths in inodes.values():
        if len(paths) > 1:
            p0 = os.path.join(root, min(paths))
            for g in groups:
                if p0 in g:
                    g.extend(os.path.join(root, p) for p in paths if os.path.join(root, p) != p0)
out = sys.stdout.buffer
if fmt == "text":
    for g in groups:
        out.write(b"".join(p + b"\n" for p in g) + b"\n")
else:
    def rec(p):
        d, n = os.path.split(p)
        return {"path": os.fsdecode(d), "name": os.fsdecode(n), "size": 0, "modified": 0, "state": 0}
    half = len(groups) // 2
    doc = {"cloneSets": [{"signature": [], "groups": [[rec(p) for p in g] for g in groups[:half]]}],
           "runGroups": [{"runs": [], "files": [rec(p) for p in g]} for g in groups[half:]]}
    out.write(json.dumps(doc).encode())
'''


def is_utf8(b):
    try:
        b.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def tree_digest(root):
    """Digest of every name, type, mode, link text and file content under root."""
    h = hashlib.sha256()
    root = os.fsencode(root)
    for top, dirs, files in os.walk(root):
        dirs.sort()
        for n in sorted(dirs + files):
            p = os.path.join(top, n)
            st = os.lstat(p)
            h.update(os.path.relpath(p, root) + b"\0" + str(st.st_mode).encode() + b"\0")
            if stat.S_ISLNK(st.st_mode):
                h.update(os.readlink(p))
            elif stat.S_ISREG(st.st_mode):
                with open(p, "rb") as f:
                    h.update(hashlib.sha256(f.read()).digest())
    return h.hexdigest()


class Parsers(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="bench-parse-")
        self.root = os.fsencode(self.tmp)
        self.p = {}
        for name, data in ((b"a", b"x"), (b"a\nb", b"x"), (b"b", b"x"), (b"c\xe9", b"y"), (b"d", b"y"),
                           (b"e", b"z"), (b"-n", b"q"), (b"f\n\ng", b"q")):
            path = os.path.join(self.root, name)
            with open(path, "wb") as f:
                f.write(data)
            self.p[name] = path
        os.link(self.p[b"e"], os.path.join(self.root, b"e2"))
        self.p[b"e2"] = os.path.join(self.root, b"e2")
        os.symlink(b"d", os.path.join(self.root, b"s"))
        self.p[b"s"] = os.path.join(self.root, b"s")
        inodes, _, _ = gc.scan_disk(self.root)
        self.known = nm.known_paths(self.root, inodes)
        self.names = nm.inode_names(self.root, inodes)

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def P(self, *names):
        return [self.p[n] for n in names]

    def test_blank_separated_with_newlines_in_names(self):
        p = self.p
        data = b"\n" + p[b"a"] + b"\n" + p[b"a\nb"] + b"\n" + p[b"b"] + b"\n\n" + p[b"c\xe9"] + b"\n" + p[b"d"] + \
            b"\n\n" + p[b"-n"] + b"\n" + p[b"f\n\ng"] + b"\n\n"
        groups = nm.parse_blank_separated(data, self.known)
        self.assertEqual(groups, [self.P(b"a", b"a\nb", b"b"), self.P(b"c\xe9", b"d"), self.P(b"-n", b"f\n\ng")])

    def test_blank_separated_keeps_unknown_lines(self):
        groups = nm.parse_blank_separated(self.p[b"a"] + b"\n/no/such\n\n", self.known)
        self.assertEqual(groups, [[self.p[b"a"], b"/no/such"]])

    def test_rdfind_results(self):
        p = self.p
        data = (b"# Automatically generated\n# duptype id depth size device inode priority name\n"
                b"DUPTYPE_FIRST_OCCURRENCE 3 0 1 1 2 1 " + p[b"a"] + b"\n"
                b"DUPTYPE_WITHIN_SAME_TREE -3 0 1 1 3 1 " + p[b"a\nb"] + b"\n"
                b"DUPTYPE_FIRST_OCCURRENCE 5 0 1 1 4 1 " + p[b"c\xe9"] + b"\n"
                b"DUPTYPE_WITHIN_SAME_TREE -5 0 1 1 5 1 " + p[b"d"] + b"\n"
                b"DUPTYPE_WITHIN_SAME_TREE -3 0 1 1 6 1 " + p[b"b"] + b"\n# end of file\n")
        groups = nm.parse_rdfind(data, self.known)
        self.assertEqual(sorted(map(sorted, groups)), sorted([sorted(self.P(b"a", b"a\nb", b"b")),
                                                             sorted(self.P(b"c\xe9", b"d"))]))

    def test_paradrex_json_with_escaped_bytes_and_both_path_layouts(self):
        def rec(path, split):
            d, n = os.path.split(path)
            full = os.fsdecode(path) if not split else os.fsdecode(d)
            return {"path": full, "name": os.fsdecode(n), "size": 1, "modified": 0, "state": 0}

        doc = {"cloneSets": [{"signature": [], "groups": [[rec(self.p[b"c\xe9"], True), rec(self.p[b"d"], False)]]}],
               "runGroups": [{"runs": [], "files": [rec(self.p[b"a\nb"], False), rec(self.p[b"b"], True)]}]}
        text = json.dumps(doc)
        self.assertIn("\\udce9", text)
        groups = nm.parse_paradrex_json(text.encode())
        self.assertEqual(groups, [self.P(b"c\xe9", b"d"), self.P(b"a\nb", b"b")])

    def test_inode_groups_count_hard_links_once_and_flag_links(self):
        got = nm.inode_groups([self.P(b"e", b"e2"), self.P(b"a", b"b"), self.P(b"d", b"s")])
        self.assertEqual(len(got), 2)  # e/e2 is one inode: dropped
        self.assertIn(frozenset([nm.file_key(self.p[b"a"]), nm.file_key(self.p[b"b"])]), got)
        self.assertIn(b"?" + self.p[b"s"], set().union(*got))

    def test_diff_names_missing_and_extra_groups(self):
        want = nm.inode_groups([self.P(b"a", b"b", b"a\nb"), self.P(b"c\xe9", b"d")])
        got = nm.inode_groups([self.P(b"a", b"b"), self.P(b"c\xe9", b"d")])
        ok, text = nm.diff(want, got, self.names)
        self.assertFalse(ok)
        self.assertIn("1 true groups missing, 1 reported groups not true", text)
        self.assertIn("a\\nb", text)
        self.assertTrue(nm.diff(want, want, self.names)[0])


if __name__ == "__main__":
    unittest.main()
