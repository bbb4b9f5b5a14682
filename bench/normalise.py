"""Turns each tool's output into comparable duplicate groups.

Every tool's groups become a set of frozensets of inodes, (st_dev, st_ino)
from lstat: hard-link names of one inode count once, and a group that
collapses to a single inode is dropped.  A path that is missing or is not a
regular file keeps its own key (b"?" + path), so a tool that reports a
symbolic link or a path it made up shows up as a mismatch.

Paths are bytes throughout.  Text outputs put one path per line; a name may
contain a newline, so a path may span several lines: the parsers resolve
that against the set of regular-file paths known to exist in the corpus.
"""

import json
import os
import stat

MAX_LINES_PER_PATH = 8


def known_paths(root, inodes):
    """The set of absolute paths of every name of every regular file."""
    root_b = os.fsencode(root)
    return {os.path.join(root_b, p) for _, paths in inodes.values() for p in paths}


def inode_names(root, inodes):
    """(dev, ino) -> the smallest of its names, relative to the root."""
    return {k: min(paths) for k, (_, paths) in inodes.items()}


def file_key(path):
    try:
        st = os.lstat(path)
    except OSError:
        return b"?" + path
    if not stat.S_ISREG(st.st_mode):
        return b"?" + path
    return (st.st_dev, st.st_ino)


def inode_groups(groups):
    """Groups of paths -> set of frozensets of inode keys (2 or more each)."""
    out = set()
    for g in groups:
        keys = frozenset(file_key(p) for p in g)
        if len(keys) > 1:
            out.add(keys)
    return out


def parse_blank_separated(data, known):
    """One path per line, groups separated by empty lines (fdupes style)."""
    lines = data.split(b"\n")
    n = len(lines)
    # ends[i]: index one past the last line of the path starting at line i
    # in a parse of lines[i:] that uses only known paths; 0 for a separator;
    # None when lines[i:] cannot be parsed that way.
    ends = [None] * (n + 1)
    ends[n] = 0
    for i in range(n - 1, -1, -1):
        if lines[i] == b"":
            ends[i] = 0 if ends[i + 1] is not None else None
            continue
        cand = lines[i]
        for j in range(i, min(n, i + MAX_LINES_PER_PATH)):
            if j > i:
                cand += b"\n" + lines[j]
            if cand in known and ends[j + 1] is not None:
                ends[i] = j + 1
                break
    groups, cur = [], []
    i = 0
    while i < n:
        if lines[i] == b"":
            if cur:
                groups.append(cur)
            cur = []
            i += 1
        elif ends[i]:
            cur.append(b"\n".join(lines[i : ends[i]]))
            i = ends[i]
        else:
            cur.append(lines[i])  # not a known path: kept, to show up as a mismatch
            i += 1
    if cur:
        groups.append(cur)
    return groups


def parse_rdfind(data, known):
    """rdfind's results.txt: 'DUPTYPE_... id depth size device inode priority name'.

    A name with newlines continues on the following lines, up to the next
    record; the longest such continuation that is a known path wins.
    """
    lines = data.split(b"\n")
    while lines and (lines[-1] == b"" or lines[-1].startswith(b"# end of file")):
        lines.pop()
    groups = {}
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if not line.startswith(b"DUPTYPE_"):
            continue
        fields = line.split(b" ", 7)
        if len(fields) < 8:
            continue
        j = i
        while j < len(lines) and not lines[j].startswith(b"DUPTYPE_"):
            j += 1
        cont = lines[i:j]
        name = None
        for k in range(min(len(cont), MAX_LINES_PER_PATH), -1, -1):
            cand = b"\n".join([fields[7], *cont[:k]])
            if cand in known:
                name = cand
                break
        if name is None:
            name = b"\n".join([fields[7], *cont])
        i = j
        groups.setdefault(abs(int(fields[1])), []).append(name)
    return list(groups.values())


def parse_paradrex_json(data):
    """paradrex-cli --format json: every clone set's groups and every run group's files.

    Bytes of a name that are not UTF-8 come as U+DC80..U+DCFF, one per byte.
    A file's "path" is taken as its full path when it names a regular file
    ending in "name", else as the directory that holds "name".
    """
    doc = json.loads(data.decode("utf-8", "surrogatepass"))

    def path_of(f):
        p = f["path"].encode("utf-8", "surrogateescape")
        name = f.get("name")
        if name is None:
            return p
        nb = name.encode("utf-8", "surrogateescape")
        if os.path.basename(p) == nb and not isinstance(file_key(p), bytes):
            return p
        return os.path.join(p, nb)

    groups = []
    for cs in doc.get("cloneSets", []):
        for g in cs.get("groups", []):
            groups.append([path_of(f) for f in g])
    for rg in doc.get("runGroups", []):
        groups.append([path_of(f) for f in rg.get("files", [])])
    return groups


def show_path(p):
    return p.decode("utf-8", "backslashreplace").replace("\n", "\\n").replace("\t", "\\t")


def show_group(g, names):
    out = []
    for k in g:
        if isinstance(k, bytes):
            out.append(("not a regular file: " if os.path.lexists(k[1:]) else "no such file: ") + show_path(k[1:]))
        else:
            out.append(show_path(names.get(k, repr(k).encode())))
    return "{" + ", ".join(sorted(out)) + "}"


def diff(want, got, names, limit=5):
    """(equal, text): the groups missing from `got` and the extra ones, a few of each."""
    missing = want - got
    extra = got - want
    if not missing and not extra:
        return True, f"{len(got)} groups, all equal"
    lines = [f"{len(got)} groups reported, {len(want)} true; {len(missing)} true groups missing, "
             f"{len(extra)} reported groups not true"]

    def order(g):
        return sorted(show_group(x, names) for x in g)

    for g in order(missing)[:limit]:
        lines.append(f"  - missing {g}")
    for g in order(extra)[:limit]:
        lines.append(f"  + extra   {g}")
    return False, "\n".join(lines)
