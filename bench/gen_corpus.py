#!/usr/bin/env python3
"""Deterministic corpus generator for the duplicate-search benchmark.

    gen_corpus.py SCALE DEST [--seed N] [--force] [--verify]
    gen_corpus.py --verify DEST
    gen_corpus.py --plan SCALE [--seed N]

SCALE is small, medium or big.  The corpus is written to DEST (which must not
exist unless --force is given) and the true duplicate groups to
DEST.truth.json.  A duplicate group is a set of two or more distinct inodes of
regular files with identical content, reachable from DEST without following
symbolic links; hidden and empty files count.  Each inode is listed under one
name, the smallest of its names in byte order; a group's paths are sorted.

The truth is derived from the generator's own content model, not from the
disk.  --verify walks the corpus on disk, hashes every file whose size is
shared by another inode (sha256 of the full content) and checks the groups
found that way against the truth file, so a generator bug cannot hide.
--plan builds the corpus model only and prints its counts.

Everything is derived from the seed: the same seed and scale give a
byte-identical corpus.  Iteration never depends on set or hash order.
"""

import argparse
import hashlib
import json
import os
import posixpath
import random
import shutil
import stat
import struct
import sys
import time

KiB = 1024
MiB = 1024 * KiB
GiB = 1024 * MiB

BLOCK = 4 * MiB  # the random block every larger file is built from
SLICE_MAX = 1 * MiB  # contents up to this size are plain slices of the pool
TINY_MAX = 7  # contents below 8 bytes are stored as literal bytes
STAMP_LEN = 8
TRUTH_FORMAT = 1


# ---------------------------------------------------------------- content



def default_data_dir():
    """Where corpora live: $PARADREX_BENCH_DATA, else paradrex-bench under
    $XDG_CACHE_HOME (default ~/.cache)."""
    if os.environ.get("PARADREX_BENCH_DATA"):
        return os.environ["PARADREX_BENCH_DATA"]
    cache = os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")
    return os.path.join(cache, "paradrex-bench")


class Content:
    """One distinct content.  Files that share a Content object are copies.

    A content of 8 bytes or more is the filler stream of `base` cut to `size`
    bytes, with an 8-byte stamp derived from the unique `cid` written at
    `stamp_pos`.  Two contents built from the same base and size differ only
    in their stamp bytes; that is how near-duplicates are made.  Contents
    below 8 bytes are literal bytes and are keyed by those bytes, so equal
    tiny contents created independently still count as one content.
    """

    __slots__ = ("key", "size", "base", "stamp_pos", "data")

    def __init__(self, key, size, base=0, stamp_pos=0, data=None):
        self.key = key
        self.size = size
        self.base = base
        self.stamp_pos = stamp_pos
        self.data = data


def stamp_bytes(cid):
    # An odd multiplier is a bijection modulo 2**64: distinct cids, distinct stamps.
    return struct.pack("<Q", (cid * 0x9E3779B97F4A7C15 + 0x632BE59BD9B4E019) & 0xFFFFFFFFFFFFFFFF)


class Filler:
    """Produces the bytes of a Content from one seeded random pool."""

    def __init__(self, seed):
        rng = random.Random(f"pool-{seed}")
        self.seed = int.from_bytes(hashlib.blake2b(str(seed).encode(), digest_size=4).digest(), "little")
        self.pool = memoryview(rng.randbytes(BLOCK + SLICE_MAX))
        self._pool_int = None
        self._blocks = {}  # base -> memoryview of the keyed block, small LRU

    def slice_offset(self, base):
        return ((base + 1) * 0x9E3779B1 + self.seed * 7919) % BLOCK

    def rotation(self, base, index):
        h = ((base + 1) * 0x9E3779B97F4A7C15 + (index + 1) * 0xBF58476D1CE4E5B9) & 0xFFFFFFFFFFFFFFFF
        return (h >> 11) % BLOCK

    def keyed_block(self, base):
        """The pool's first BLOCK bytes XOR'ed with an 8-byte key of the base."""
        block = self._blocks.pop(base, None)
        if block is None:
            if self._pool_int is None:
                self._pool_int = int.from_bytes(self.pool[:BLOCK], "little")
            key = hashlib.blake2b(f"{self.seed}/{base}".encode(), digest_size=8).digest()
            mask = int.from_bytes(key * (BLOCK // 8), "little")
            block = memoryview((self._pool_int ^ mask).to_bytes(BLOCK, "little"))
            if len(self._blocks) >= 6:
                self._blocks.pop(next(iter(self._blocks)))
        self._blocks[base] = block
        return block

    def pieces(self, c):
        """The content as a sequence of buffers, in order."""
        if c.data is not None:
            if c.data:
                yield c.data
            return
        raw = self._filler_pieces(c.base, c.size)
        yield from splice(raw, c.stamp_pos, stamp_bytes(c.key[1]))

    def _filler_pieces(self, base, size):
        if size <= SLICE_MAX:
            off = self.slice_offset(base)
            yield self.pool[off : off + size]
            return
        block = self.keyed_block(base)
        done = 0
        index = 0
        while done < size:
            r = self.rotation(base, index)
            left = size - done
            first = block[r:]
            if len(first) >= left:
                yield first[:left]
                return
            yield first
            rest = min(r, left - len(first))
            yield block[:rest]
            done += len(first) + rest
            index += 1

    def content_bytes(self, c):
        return b"".join(bytes(p) for p in self.pieces(c))


def splice(pieces, pos, patch):
    """Yields `pieces` with the bytes at [pos, pos+len(patch)) replaced by `patch`."""
    end = pos + len(patch)
    offset = 0
    for piece in pieces:
        a, b = offset, offset + len(piece)
        offset = b
        lo, hi = max(a, pos), min(b, end)
        if lo >= hi:
            yield piece
            continue
        if lo > a:
            yield piece[: lo - a]
        yield patch[lo - pos : hi - pos]
        if hi < b:
            yield piece[hi - a :]


def write_all(fd, pieces):
    """Writes the buffers with few system calls, batching them for writev."""
    batch, total = [], 0
    for p in pieces:
        batch.append(p)
        total += len(p)
        if total >= 16 * MiB or len(batch) >= 512:
            _writev_fully(fd, batch, total)
            batch, total = [], 0
    if batch:
        _writev_fully(fd, batch, total)


def _writev_fully(fd, batch, total):
    n = os.writev(fd, batch)
    if n == total:
        return
    rest = memoryview(b"".join(bytes(p) for p in batch))[n:]
    while rest:
        rest = rest[os.write(fd, rest) :]


# ---------------------------------------------------------------- tree model


class Dir:
    __slots__ = ("name", "parent", "children", "names", "mode", "depth")

    def __init__(self, name, parent):
        self.name = name
        self.parent = parent
        self.children = []  # Dir, File, Link, HardLink in creation order
        self.names = {}  # name -> node, for uniqueness
        self.mode = None  # None: default permissions; else chmod at the end
        self.depth = 0 if parent is None else parent.depth + 1

    def add(self, node):
        assert len(node.name) <= NAME_MAX and node.name not in self.names, node.name
        self.children.append(node)
        self.names[node.name] = node
        node.parent = self
        if isinstance(node, Dir):
            node.depth = self.depth + 1
        return node

    def path(self):
        parts = []
        d = self
        while d.parent is not None:
            parts.append(d.name)
            d = d.parent
        return b"/".join(reversed(parts))


class Leaf:
    """A name in a directory that is not a directory."""

    __slots__ = ("name", "parent")

    def __init__(self, name):
        self.name = name
        self.parent = None

    def path(self):
        return join(self.parent.path(), self.name)


class File(Leaf):
    __slots__ = ("content", "mode")

    def __init__(self, name, content, mode=None):
        super().__init__(name)
        self.content = content
        self.mode = mode


class Link(Leaf):
    """A symbolic link; target is the link's text."""

    __slots__ = ("target",)

    def __init__(self, name, target):
        super().__init__(name)
        self.target = target


class HardLink(Leaf):
    """A second name of an existing File (same inode)."""

    __slots__ = ("file",)

    def __init__(self, name, file):
        super().__init__(name)
        self.file = file


def join(a, b):
    return b if not a else a + b"/" + b


def walk_dirs(root):
    """Pre-order list of directories (iterative: trees can be deep)."""
    out, stack = [], [root]
    while stack:
        d = stack.pop()
        out.append(d)
        stack.extend(reversed([c for c in d.children if isinstance(c, Dir)]))
    return out


def walk_nodes(root, kind):
    return [c for d in walk_dirs(root) for c in d.children if isinstance(c, kind)]


# ---------------------------------------------------------------- names

DIR_WORDS = (
    "src lib docs photos music 2017 2018 2019 2020 2021 archive build data notes projects backup old "
    "misc tmp drafts assets images video reports invoices scans papers thesis code test vendor "
    "node_modules include share config logs mail downloads desktop games saves wallpapers fonts "
    "icons recipes travel family work client alpha beta release raw export cache thumbs modules "
    "pkg bin dist samples templates letters holiday camera screenshots scripts resources locale"
).split()
FILE_WORDS = (
    "readme notes report summary index main utils config image photo scan invoice letter draft "
    "chapter track song clip data table figure slide budget todo list backup module test setup "
    "page doc record log entry item sample frame thumb cover manual guide paper receipt"
).split()
EXT_SMALL = (".txt", ".md", ".json", ".cfg", ".py", ".c", ".h", ".log", ".csv", ".xml", ".html", ".ini")
EXT_MEDIUM = (".jpg", ".png", ".pdf", ".docx", ".mp3", ".odt", ".xlsx", ".gif")
EXT_LARGE = (".mp4", ".iso", ".tar", ".mkv", ".zip", ".img", ".flac")

# Names no tool may trip over: spaces, a newline, leading dashes, shell
# characters, bytes that are not UTF-8, and a valid multi-byte UTF-8 name.
ODD_NAMES = (
    b"with space.txt",
    b" leading space",
    b"trailing space ",
    b"new\nline.txt",
    b"-rf",
    b"--help",
    b"-",
    b"caf\xe9.txt",
    b"\xff\xfe\xfd",
    b"tab\there",
    b"back\\slash",
    b"quote'dq\"",
    b"star*?[x]",
    b"\xc3\xa9t\xc3\xa9 \xe2\x82\xac.txt",
    b"emoji \xf0\x9f\x93\x84",
    b"semi;colon&amp|pipe",
    b"#hash",
    b"%s%n",
    b"$HOME",
    b"a" * 120 + b" long " + b"b" * 120,
)
ODD_DIR_NAMES = (b"dir\nwith newline", b"-dashdir", b"\xe9t\xe9 latin1", b"sp ace dir", b"..dots..")


NAME_MAX = 255


def unique_name(d, name):
    """The name, cut to NAME_MAX bytes, with a number added if d has it already."""
    name = name[:NAME_MAX]
    if name not in d.names:
        return name
    stem, dot, ext = name.rpartition(b".")
    if not dot or not stem or len(ext) > 16:
        stem, ext, dot = name, b"", b""
    i = 2
    while True:
        tail = b"_" + str(i).encode() + dot + ext
        cand = stem[: NAME_MAX - len(tail)] + tail
        if cand not in d.names:
            return cand
        i += 1


# ---------------------------------------------------------------- builder


class Builder:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.root = Dir(b"", None)
        self.next_cid = 1
        self.next_base = 1
        self.all_dirs = [self.root]
        self.all_files = []  # ordinary Files in creation order (not hard links)

    # contents

    def content(self, size, base=None, stamp_pos=0):
        if size <= TINY_MAX:
            return self.tiny(self.rng.randbytes(size))
        if base is None:
            base = self.new_base()
        stamp_pos = max(0, min(stamp_pos, size - STAMP_LEN))
        cid = self.next_cid
        self.next_cid += 1
        return Content(("c", cid), size, base, stamp_pos)

    def tiny(self, data):
        return Content(("t", data), len(data), data=data)

    def new_base(self):
        b = self.next_base
        self.next_base += 1
        return b

    # names

    def dir_name(self):
        r = self.rng
        w = r.choice(DIR_WORDS)
        x = r.random()
        if x < 0.35:
            w = f"{w}_{r.randrange(1000)}"
        elif x < 0.45:
            w = f"{w} {r.randrange(100)}"
        elif x < 0.5:
            w = w.capitalize()
        return w.encode()

    def file_name(self, size):
        r = self.rng
        if size >= 5 * MiB:
            ext = r.choice(EXT_LARGE)
        elif size >= 64 * KiB:
            ext = r.choice(EXT_MEDIUM)
        else:
            ext = r.choice(EXT_SMALL)
        x = r.random()
        w = r.choice(FILE_WORDS)
        if x < 0.6:
            w = f"{w}_{r.randrange(100000)}"
        elif x < 0.8:
            w = f"{w}-{r.choice(FILE_WORDS)}{r.randrange(100)}"
        elif x < 0.9:
            w = f"{w.upper()} {r.randrange(1000)}"
        return (w + ext).encode()

    # nodes

    def add_dir(self, parent, name):
        d = parent.add(Dir(unique_name(parent, name), parent))
        self.all_dirs.append(d)
        return d

    def add_file(self, parent, content, name=None, mode=None):
        if name is None:
            name = self.file_name(content.size)
        f = parent.add(File(unique_name(parent, name), content, mode))
        self.all_files.append(f)
        return f

    def add_link(self, parent, name, target):
        return parent.add(Link(unique_name(parent, name), target))

    def add_hardlink(self, parent, name, file):
        return parent.add(HardLink(unique_name(parent, name), file))

    def symlink_target(self, link_dir, node):
        """Relative link text from link_dir to node."""
        start = link_dir.path() or b"."
        return posixpath.relpath(node.path() or b".", start)

    def copy_subtree(self, src, dest_parent, name):
        """Copies directories, files (sharing their contents) and symbolic links."""
        top = self.add_dir(dest_parent, name)
        top.mode = src.mode
        stack = [(src, top)]
        while stack:
            s, t = stack.pop()
            for c in s.children:
                if isinstance(c, Dir):
                    nd = self.add_dir(t, c.name)
                    nd.mode = c.mode
                    stack.append((c, nd))
                elif isinstance(c, File):
                    self.add_file(t, c.content, c.name, c.mode)
                elif isinstance(c, Link):
                    self.add_link(t, c.name, c.target)
                # hard links are added after all copying and are not copied
        return top


# ---------------------------------------------------------------- scales

SCALES = {
    # ~5,000 files: every kind of case, small enough for CI.
    "small": dict(
        dirs=380,
        files=3850,
        size_mu=7.6,
        size_sigma=1.9,
        size_max=2 * MiB,
        empty=40,
        tiny=70,
        odd_file=0.02,
        families_late=40,
        families_prefix=30,
        large_classes=3,
        large_per_class=(2, 3),
        large_sizes=(5 * MiB, 6 * MiB),
        large_unique=1,
        indir=65,
        runs_4plus=6,
        cross=230,
        sibling_share=0.5,
        subtrees=6,
        subtree_files=(20, 90),
        hidden_dir=0.04,
        hidden_file=0.03,
        readonly_file=0.02,
        readonly_dir=0.01,
        symlinks=30,
        hardlinks=25,
        max_depth=14,
    ),
    # ~100,000 files in a deep, varied tree of ~7,700 directories, a few GiB.
    "medium": dict(
        dirs=7200,
        files=76000,
        size_mu=8.35,
        size_sigma=2.0,
        size_max=4 * MiB,
        empty=700,
        tiny=1400,
        odd_file=0.01,
        families_late=800,
        families_prefix=600,
        large_classes=20,
        large_per_class=(2, 4),
        large_sizes=(5 * MiB, 24 * MiB),
        large_unique=22,
        indir=1500,
        runs_4plus=80,
        cross=6500,
        sibling_share=0.5,
        subtrees=30,
        subtree_files=(60, 500),
        hidden_dir=0.03,
        hidden_file=0.03,
        readonly_file=0.02,
        readonly_dir=0.01,
        symlinks=300,
        hardlinks=200,
        max_depth=22,
    ),
}


def lognormal_size(b, mu, sigma, size_max):
    s = int(b.rng.lognormvariate(mu, sigma))
    return max(0, min(s, size_max))


def random_dir(b, exclude_under=None):
    while True:
        d = b.rng.choice(b.all_dirs)
        if exclude_under is None or not is_under(d, exclude_under):
            return d


def is_under(d, top):
    while d is not None:
        if d is top:
            return True
        d = d.parent
    return False


def late_pos(b, size):
    """A position in the last 4 KiB (the last bytes for small contents)."""
    return size - STAMP_LEN - b.rng.randrange(min(4096, size - STAMP_LEN) + 1)


def between_samples_pos(b, size):
    """A position away from the start, the end, the middle, the quarters and
    any 4 KiB boundary: where a reader that samples a few blocks looks last."""
    f = b.rng.choice((0.3, 0.41, 0.58, 0.69, 0.81))
    pos = int(size * f)
    pos -= pos % 4096
    return pos + 1237 + b.rng.randrange(1500)


def build_tree_corpus(b, p):
    r = b.rng
    # Directory tree: each new directory goes under a recently created one
    # (deep chains) or under any directory (bushy levels).
    recent = []
    while len(b.all_dirs) < p["dirs"] + 1:
        if recent and r.random() < 0.5:
            parent = r.choice(recent[-24:])
        else:
            parent = r.choice(b.all_dirs)
        if parent.depth >= p["max_depth"]:
            continue
        name = b.dir_name()
        if r.random() < p["hidden_dir"]:
            name = b"." + name.lower()
        d = b.add_dir(parent, name)
        recent.append(d)
        if r.random() < p["readonly_dir"]:
            d.mode = 0o555
    for name in ODD_DIR_NAMES:
        b.add_dir(r.choice(b.all_dirs), name)

    base_dirs = list(b.all_dirs)
    weights = [r.paretovariate(1.3) for _ in base_dirs]
    cum, t = [], 0.0
    for w in weights:
        t += w
        cum.append(t)

    def pick_dir():
        return r.choices(base_dirs, cum_weights=cum)[0]

    def file_mode():
        return 0o444 if r.random() < p["readonly_file"] else None

    def name_for(size):
        x = r.random()
        if x < p["hidden_file"]:
            return b"." + b.file_name(size)
        if x < p["hidden_file"] + p["odd_file"]:
            return r.choice(ODD_NAMES)
        return None

    # Ordinary files, each with its own content.
    for _ in range(p["files"]):
        size = lognormal_size(b, p["size_mu"], p["size_sigma"], p["size_max"])
        c = b.content(size)
        b.add_file(pick_dir(), c, name_for(size), file_mode())

    # Empty and tiny files.
    tiny_values = [b"\n", b"a", b"0", b"1", b"ok", b"{}", b"[]\n", b"x\n", b"\x00", b"\x00\x00", b"\xff", b"abc"]
    empty_names = (b"__init__.py", b".keep", b"empty.log", b".gitkeep", b"LOCK", b"placeholder")
    for _ in range(p["empty"]):
        b.add_file(pick_dir(), b.tiny(b""), r.choice(empty_names) if r.random() < 0.5 else None, file_mode())
    for _ in range(p["tiny"]):
        if r.random() < 0.7:
            data = r.choice(tiny_values)
        else:
            data = r.randbytes(r.randint(1, 3))
        b.add_file(pick_dir(), b.tiny(data), name_for(len(data)), file_mode())

    # Same-size families that differ only late, some with exact copies too.
    for _ in range(p["families_late"]):
        size = max(64, lognormal_size(b, p["size_mu"], p["size_sigma"], p["size_max"]))
        base = b.new_base()
        home = pick_dir()
        for _ in range(r.randint(2, 5)):
            c = b.content(size, base, late_pos(b, size))
            d = home if r.random() < 0.6 else pick_dir()
            b.add_file(d, c, None, file_mode())
            if r.random() < 0.2:
                b.add_file(pick_dir(), c, None, file_mode())

    # Families sharing their first 500 bytes: same size differing after byte
    # 500, or longer and shorter files of one stream.
    for _ in range(p["families_prefix"]):
        size = max(1024, lognormal_size(b, p["size_mu"] + 0.5, p["size_sigma"], p["size_max"]))
        base = b.new_base()
        home = pick_dir()
        for _ in range(r.randint(2, 4)):
            if r.random() < 0.7:
                pos = 500 + r.randrange(min(size - 500 - STAMP_LEN, 64 * KiB) + 1)
                c = b.content(size, base, pos)
            else:
                # a longer or shorter cut; files up to SLICE_MAX and larger
                # ones are cut from different streams, so stay on one side
                lo_alt, hi_alt = (600, SLICE_MAX) if size <= SLICE_MAX else (SLICE_MAX + 1, size + 4096)
                alt = r.randint(lo_alt, hi_alt)
                c = b.content(alt, base, alt - STAMP_LEN)
            b.add_file(home, c, None, file_mode())
            if r.random() < 0.15:
                b.add_file(pick_dir(), c, None, file_mode())

    # Large files: classes of one size whose members are exact copies or
    # differ only near the end or only between sampled positions.
    lo, hi = p["large_sizes"]
    for _ in range(p["large_classes"]):
        size = r.randint(lo, hi)
        base = b.new_base()
        home = pick_dir()
        n = r.randint(*p["large_per_class"])
        made = []
        for i in range(n):
            if made and r.random() < 0.35:
                c = r.choice(made)
            elif i % 2 == 0:
                c = b.content(size, base, late_pos(b, size))
            else:
                c = b.content(size, base, between_samples_pos(b, size))
            made.append(c)
            b.add_file(home if r.random() < 0.5 else pick_dir(), c, None, file_mode())
    for _ in range(p["large_unique"]):
        size = r.randint(lo, hi)
        b.add_file(pick_dir(), b.content(size), None, file_mode())

    pool = list(b.all_files)

    # Copies inside one directory, a few as runs of four or more.
    for i in range(p["indir"]):
        f = r.choice(pool)
        n = r.randint(4, 8) if i < p["runs_4plus"] else r.randint(1, 2)
        stem, dot, ext = f.name.rpartition(b".")
        if not dot or not stem:
            stem, dot, ext = f.name, b"", b""
        for k in range(n):
            style = r.randrange(4)
            if style == 0:
                nm = stem + b" (" + str(k + 1).encode() + b")" + dot + ext
            elif style == 1:
                nm = stem + b" - Copy" + dot + ext
            elif style == 2:
                nm = b"Copy of " + f.name
            else:
                nm = f.name + b"~"
            b.add_file(f.parent, f.content, nm, f.mode)

    # Copies into other directories, half of them into a sibling tree.
    for _ in range(p["cross"]):
        f = r.choice(pool)
        for _ in range(1 if r.random() < 0.8 else r.randint(2, 3)):
            d = f.parent
            if r.random() < p["sibling_share"] and d.parent is not None:
                sibs = [c for c in d.parent.children if isinstance(c, Dir) and c is not d]
                dest = r.choice(sibs) if sibs else pick_dir()
            else:
                dest = pick_dir()
            name = f.name if r.random() < 0.7 else b.file_name(f.content.size)
            b.add_file(dest, f.content, name, f.mode)

    # Whole duplicated subtrees, as siblings or elsewhere.
    counts = subtree_file_counts(b.root)
    lo, hi = p["subtree_files"]
    fitting = [d for d in b.all_dirs if d.parent is not None and lo <= counts[id(d)] <= hi]
    for _ in range(p["subtrees"]):
        if not fitting:
            break
        src = r.choice(fitting)
        if r.random() < 0.5:
            dest = src.parent
            name = src.name + r.choice((b" (copy)", b".bak", b"-old", b" 2"))
        else:
            dest = random_dir(b, exclude_under=src)
            name = r.choice((b"backup of ", b"copy of ", b"")) + src.name
        b.copy_subtree(src, dest, name)

    add_links(b, p["symlinks"], p["hardlinks"])
    add_odd_corner(b)


def subtree_file_counts(root):
    counts = {}
    for d in reversed(walk_dirs(root)):
        n = sum(1 for c in d.children if isinstance(c, File))
        n += sum(counts[id(c)] for c in d.children if isinstance(c, Dir))
        counts[id(d)] = n
    return counts


def add_links(b, n_symlinks, n_hardlinks):
    r = b.rng
    files = list(b.all_files)
    dirs = list(b.all_dirs)
    for i in range(n_symlinks):
        d = r.choice(dirs)
        kind = i % 4
        if kind == 0:
            f = r.choice(files)
            b.add_link(d, b"link to " + f.name, b.symlink_target(d, f))
        elif kind == 1:
            t = r.choice(dirs)
            b.add_link(d, b"dirlink " + (t.name or b"root"), b.symlink_target(d, t))
        elif kind == 2:
            # a link to an ancestor: a loop for anything that follows links
            up = r.randint(1, d.depth) if d.depth else 0
            b.add_link(d, b"up", b"/".join([b".."] * up) or b".")
        else:
            b.add_link(d, b"dangling", b"no/such/file")
    # Hard links: some to files that have copies elsewhere, some to files
    # whose only other name is the hard link itself (not a duplicate).
    by_content = {}
    for f in files:
        by_content.setdefault(f.content.key, []).append(f)
    shared = [f for f in files if len(by_content[f.content.key]) > 1 and f.content.size > 0]
    single = [f for f in files if len(by_content[f.content.key]) == 1 and f.content.size > 0]
    for i in range(n_hardlinks):
        f = r.choice(shared if i % 2 == 0 or not single else single)
        d = f.parent if r.random() < 0.4 else r.choice(dirs)
        x = r.random()
        if x < 0.1:
            name = b"." + f.name
        elif x < 0.15:
            name = r.choice(ODD_NAMES)
        else:
            name = b"hardlink of " + f.name
        b.add_hardlink(d, name, f)


def add_odd_corner(b):
    """One directory that holds every awkward case side by side."""
    top = b.add_dir(b.root, b"zz corner cases")
    a = b.content(3000)
    for name in ODD_NAMES:
        b.add_file(top, a, name)
    odd = b.add_dir(top, b"dir\nwith newline")
    b.add_file(odd, a, b"-x")
    b.add_file(odd, b.content(5000), b"\xe9\xe8 only one")
    hidden = b.add_dir(top, b".hidden dir")
    h = b.content(2000)
    b.add_file(hidden, h, b".hidden file")
    b.add_file(hidden, h, b"visible file")
    ro = b.add_dir(top, b"read-only dir")
    ro.mode = 0o555
    c = b.content(1500)
    b.add_file(ro, c, b"read-only file", 0o444)
    b.add_file(ro, c, b"writable file")
    b.add_file(top, c, b"third copy", 0o400)
    # one content under four hard-link names and no other copy: no group
    lone = b.add_file(top, b.content(777), b"linked alone")
    for i in range(3):
        b.add_hardlink(top if i else ro, b"linked alone " + str(i).encode(), lone)
    # two inodes with several names each: one group of two
    p = b.content(4321)
    p1 = b.add_file(top, p, b"pair one")
    p2 = b.add_file(odd, p, b"pair two")
    b.add_hardlink(top, b"pair one again", p1)
    b.add_hardlink(hidden, b".pair two again", p2)
    # symbolic links: to a file, to a directory, a two-link loop, to itself
    b.add_link(top, b"link to pair one", b"pair one")
    b.add_link(top, b"link to odd dir", b"dir\nwith newline")
    b.add_link(top, b"loop a", b"loop b")
    b.add_link(top, b"loop b", b"loop a")
    b.add_link(top, b"self", b"self")
    b.add_link(top, b"root again", b"..")
    # a run of identical files in one directory
    run = b.content(12345)
    for i in range(6):
        b.add_file(top, run, b"run " + str(i).encode())
    # empty files in a hidden directory and a read-only directory
    b.add_file(hidden, b.tiny(b""), b".empty")
    b.add_file(ro, b.tiny(b""), b"empty")


def build_big_corpus(b, p):
    """A few hundred files of 5 to 200 MiB, most of them same-size candidates."""
    r = b.rng
    dirs = [b.root]
    for name in (b"videos", b"isos", b"backups", b"raw", b".cache", b"vm images", b"archive"):
        d = b.add_dir(b.root, name)
        dirs.append(d)
        for sub in range(r.randint(1, 3)):
            dirs.append(b.add_dir(d, f"{sub + 2019}".encode()))
    lo, hi = p["sizes"]

    def big_size():
        # log-uniform, squashed towards the small end
        u = r.random() ** p["skew"]
        return int(lo * (hi / lo) ** u) + r.randrange(4096)

    patterns = ("copies", "pairs", "late", "between", "head", "mixed")
    for i in range(p["classes"]):
        size = big_size()
        base = b.new_base()
        n = r.randint(*p["per_class"])
        pat = patterns[i % len(patterns)]
        contents = []
        if pat == "copies":
            c = b.content(size, base, late_pos(b, size))
            contents = [c] * n
        elif pat == "pairs":
            for k in range(n):
                if k % 2 == 1:
                    contents.append(contents[-1])
                else:
                    contents.append(b.content(size, base, late_pos(b, size)))
        elif pat == "late":
            contents = [b.content(size, base, size - STAMP_LEN - k) for k in range(n)]
        elif pat == "between":
            pos = between_samples_pos(b, size)
            contents = [b.content(size, base, pos) for _ in range(n)]
        elif pat == "head":
            contents = [b.content(size, None, 0) for _ in range(n)]
        else:
            for k in range(n):
                if contents and r.random() < 0.4:
                    contents.append(r.choice(contents))
                elif r.random() < 0.5:
                    contents.append(b.content(size, base, late_pos(b, size)))
                else:
                    contents.append(b.content(size, base, between_samples_pos(b, size)))
        for c in contents:
            b.add_file(r.choice(dirs), c, None, 0o444 if r.random() < 0.05 else None)
    for _ in range(p["unique"]):
        b.add_file(r.choice(dirs), b.content(big_size()))
    files = list(b.all_files)
    # A hard link and symbolic links to large files must not count twice.
    for _ in range(3):
        f = r.choice(files)
        b.add_hardlink(r.choice(dirs), b"hardlink of " + f.name, f)
        b.add_link(r.choice(dirs), b"link to " + f.name, b.symlink_target(f.parent, f))
    for i in range(4):
        b.add_file(r.choice(dirs), b.tiny(b""), b".empty " + str(i).encode())


SCALES["big"] = dict(
    classes=60,
    per_class=(2, 6),
    sizes=(5 * MiB, 200 * MiB),
    skew=2.35,
    unique=50,
)

BUILDERS = {"small": build_tree_corpus, "medium": build_tree_corpus, "big": build_big_corpus}


def plan(scale, seed):
    b = Builder(f"{scale}-{seed}")
    BUILDERS[scale](b, SCALES[scale])
    return b


# ---------------------------------------------------------------- truth


def inode_names(b):
    """File node -> list of all its relative paths (its own name first)."""
    names = {}
    order = []
    for d in walk_dirs(b.root):
        dp = d.path()
        for c in d.children:
            if isinstance(c, File):
                names.setdefault(id(c), [c, []])[1].append(join(dp, c.name))
                order.append(id(c))
            elif isinstance(c, HardLink):
                names.setdefault(id(c.file), [c.file, []])[1].append(join(dp, c.name))
    return [names[k] for k in order]


def compute_truth(b):
    inodes = inode_names(b)
    by_key = {}
    for f, paths in inodes:
        by_key.setdefault(f.content.key, []).append(min(paths))
    groups = sorted(sorted(g) for g in by_key.values() if len(g) > 1)
    sizes = {}
    for f, _ in inodes:
        sizes[f.content.size] = sizes.get(f.content.size, 0) + 1
    dirs = walk_dirs(b.root)
    stats = {
        "files": sum(len(p) for _, p in inodes),
        "inodes": len(inodes),
        "directories": len(dirs) - 1,
        "max_depth": max(d.depth for d in dirs),
        "symlinks": len(walk_nodes(b.root, Link)),
        "bytes": sum(f.content.size for f, _ in inodes),
        "groups": len(groups),
        "files_in_groups": sum(len(g) for g in groups),
        "empty_files": sum(1 for f, _ in inodes if f.content.size == 0),
        "candidate_files": sum(1 for f, _ in inodes if f.content.size > 0 and sizes[f.content.size] > 1),
        "candidate_bytes": sum(f.content.size for f, _ in inodes if f.content.size > 0 and sizes[f.content.size] > 1),
    }
    return groups, stats


def fingerprint(b):
    """Hash of every path, node kind, mode and content identity."""
    h = hashlib.sha256()
    for d in walk_dirs(b.root):
        h.update(b"D" + d.path() + b"\0" + str(d.mode).encode() + b"\n")
        for c in d.children:
            if isinstance(c, File):
                k = c.content
                h.update(b"F%s\0%r %r %d %d %d\n" % (c.name, c.mode, k.key, k.size, k.base, k.stamp_pos))
            elif isinstance(c, Link):
                h.update(b"L" + c.name + b"\0" + c.target + b"\n")
            elif isinstance(c, HardLink):
                h.update(b"H" + c.name + b"\0" + c.file.path() + b"\n")
    return h.hexdigest()


def truth_path(dest):
    return os.fsencode(dest).rstrip(b"/") + b".truth.json"


def load_truth(dest):
    with open(truth_path(dest), "rb") as f:
        truth = json.load(f)
    truth["groups"] = [[os.fsencode(p) for p in g] for g in truth["groups"]]
    return truth


# ---------------------------------------------------------------- writing


def materialise(b, dest, filler, progress=None):
    dest = os.fsencode(dest)
    os.mkdir(dest)
    file_paths = {}
    ro_dirs = []
    written = 0
    stack = [(b.root, dest)]
    while stack:
        d, path = stack.pop()
        dfd = os.open(path, os.O_RDONLY | os.O_DIRECTORY)
        try:
            for c in d.children:
                if isinstance(c, Dir):
                    os.mkdir(c.name, dir_fd=dfd)
                    stack.append((c, path + b"/" + c.name))
                    if c.mode is not None:
                        ro_dirs.append((path + b"/" + c.name, c.mode))
                elif isinstance(c, File):
                    fd = os.open(c.name, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644, dir_fd=dfd)
                    try:
                        write_all(fd, filler.pieces(c.content))
                        if c.mode is not None:
                            os.fchmod(fd, c.mode)
                    finally:
                        os.close(fd)
                    file_paths[id(c)] = path + b"/" + c.name
                    written += c.content.size
                    if progress:
                        progress(written)
                elif isinstance(c, Link):
                    os.symlink(c.target, c.name, dir_fd=dfd)
        finally:
            os.close(dfd)
    for h in walk_nodes(b.root, HardLink):
        os.link(file_paths[id(h.file)], dest + b"/" + h.path())
    for path, mode in reversed(ro_dirs):
        os.chmod(path, mode)


def remove_tree(path):
    """Deletes a corpus, restoring write permission where it was taken away."""
    path = os.fsencode(path)
    if not os.path.lexists(path):
        return
    for top, dirs, _files in os.walk(path):
        for d in dirs:
            p = os.path.join(top, d)
            if not os.path.islink(p):
                os.chmod(p, 0o755)
    os.chmod(path, 0o755)
    shutil.rmtree(path)


def generate(scale, dest, seed=1, force=False, quiet=False):
    say = (lambda *a: None) if quiet else (lambda *a: print(*a, file=sys.stderr, flush=True))
    dest = os.path.abspath(os.fsencode(dest))
    tpath = truth_path(dest)
    if os.path.lexists(dest) or os.path.lexists(tpath):
        if not force:
            raise SystemExit(f"{os.fsdecode(dest)} exists (use --force to replace it)")
        if os.path.lexists(tpath):
            os.unlink(tpath)
        remove_tree(dest)
    t0 = time.monotonic()
    b = plan(scale, seed)
    groups, stats = compute_truth(b)
    say(f"planned {scale}: {stats['files']} files, {stats['directories']} directories, "
        f"{stats['bytes'] / GiB:.2f} GiB, {stats['groups']} groups ({time.monotonic() - t0:.1f} s)")
    filler = Filler(f"{scale}-{seed}")
    last = [0.0]

    def progress(n):
        now = time.monotonic()
        if now - last[0] > 5:
            last[0] = now
            say(f"  written {n / GiB:.2f} of {stats['bytes'] / GiB:.2f} GiB")

    t1 = time.monotonic()
    materialise(b, dest, filler, None if quiet else progress)
    stats["write_seconds"] = round(time.monotonic() - t1, 2)
    truth = {
        "format": TRUTH_FORMAT,
        "scale": scale,
        "seed": seed,
        "root": os.fsdecode(dest),
        "fingerprint": fingerprint(b),
        "stats": stats,
        "groups": [[os.fsdecode(p) for p in g] for g in groups],
    }
    tmp = tpath + b".tmp"
    with open(tmp, "w") as f:
        json.dump(truth, f, indent=0)
    os.replace(tmp, tpath)  # the truth file marks a complete corpus
    say(f"wrote {os.fsdecode(dest)} in {time.monotonic() - t0:.1f} s")
    return truth


# ---------------------------------------------------------------- verifying


def scan_disk(root):
    """Regular files reachable without following links: (dev, ino) -> [size, [paths]]."""
    root = os.fsencode(root)
    inodes = {}
    dirs = links = 0
    stack = [b""]
    while stack:
        rel = stack.pop()
        with os.scandir(os.path.join(root, rel) if rel else root) as it:
            for e in it:
                r = rel + b"/" + e.name if rel else e.name
                st = e.stat(follow_symlinks=False)
                if stat.S_ISDIR(st.st_mode):
                    dirs += 1
                    stack.append(r)
                elif stat.S_ISREG(st.st_mode):
                    ent = inodes.setdefault((st.st_dev, st.st_ino), [st.st_size, []])
                    ent[1].append(r)
                elif stat.S_ISLNK(st.st_mode):
                    links += 1
    return inodes, dirs, links


def hash_file(path, buf):
    h = hashlib.sha256()
    mv = memoryview(buf)
    with open(path, "rb", buffering=0) as f:
        while True:
            n = f.readinto(buf)
            if not n:
                break
            h.update(mv[:n])
    return h.digest()


def groups_on_disk(root):
    """The true groups as found on disk: by size, then by full sha256."""
    inodes, dirs, links = scan_disk(root)
    by_size = {}
    for key, (size, paths) in inodes.items():
        by_size.setdefault(size, []).append(key)
    buf = bytearray(4 * MiB)
    root_b = os.fsencode(root)
    groups = []
    hashed = 0
    for size, keys in by_size.items():
        if len(keys) < 2:
            continue
        by_hash = {}
        for k in keys:
            paths = inodes[k][1]
            digest = hash_file(os.path.join(root_b, paths[0]), buf) if size else b""
            hashed += size
            by_hash.setdefault(digest, []).append(min(paths))
        groups.extend(sorted(g) for g in by_hash.values() if len(g) > 1)
    info = {
        "files": sum(len(p) for _, p in inodes.values()),
        "inodes": len(inodes),
        "directories": dirs,
        "symlinks": links,
        "bytes": sum(s for s, _ in inodes.values()),
        "hashed_bytes": hashed,
    }
    return sorted(groups), info


def verify(dest, quiet=False):
    """Checks the truth file against the corpus on disk.  Returns True if equal."""
    t0 = time.monotonic()
    truth = load_truth(dest)
    found, info = groups_on_disk(dest)
    ok = True
    for k in ("files", "inodes", "directories", "symlinks", "bytes"):
        if truth["stats"][k] != info[k]:
            print(f"verify: {k}: truth {truth['stats'][k]}, disk {info[k]}", file=sys.stderr)
            ok = False
    want = {tuple(g) for g in truth["groups"]}
    got = {tuple(g) for g in found}
    for g in sorted(want - got)[:10]:
        print(f"verify: group in truth, not on disk: {[os.fsdecode(p) for p in g]}", file=sys.stderr)
    for g in sorted(got - want)[:10]:
        print(f"verify: group on disk, not in truth: {[os.fsdecode(p) for p in g]}", file=sys.stderr)
    if want != got:
        print(f"verify: {len(want - got)} groups missing, {len(got - want)} extra", file=sys.stderr)
        ok = False
    if not quiet:
        print(f"verify: {'OK' if ok else 'FAILED'}: {len(got)} groups, {info['files']} files, "
              f"{info['hashed_bytes'] / GiB:.2f} GiB hashed in {time.monotonic() - t0:.1f} s", file=sys.stderr)
    return ok


# ---------------------------------------------------------------- main


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("scale", nargs="?", choices=sorted(SCALES))
    ap.add_argument("dest", nargs="?")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--force", action="store_true", help="replace an existing corpus")
    ap.add_argument("--verify", action="store_true", help="hash the corpus on disk and check the truth file")
    ap.add_argument("--plan", action="store_true", help="print the counts of the corpus without writing it")
    a = ap.parse_args(argv)
    if a.plan:
        if not a.scale:
            ap.error("--plan needs SCALE")
        t0 = time.monotonic()
        b = plan(a.scale, a.seed)
        _, stats = compute_truth(b)
        stats["plan_seconds"] = round(time.monotonic() - t0, 2)
        stats["fingerprint"] = fingerprint(b)
        print(json.dumps(stats, indent=1))
        return 0
    if a.verify and a.dest is None and a.scale is not None:
        a.scale, a.dest = None, a.scale  # gen_corpus.py --verify DEST
    if a.dest is None:
        ap.error("DEST is required")
    if a.scale:
        truth = generate(a.scale, a.dest, a.seed, a.force)
        s = truth["stats"]
        print(json.dumps(s, indent=1))
    if a.verify:
        return 0 if verify(a.dest) else 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
