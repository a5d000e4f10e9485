#!/usr/bin/env python3
"""Measures the include graph of Kib's sources.

    scripts/include_graph.py [--root DIR] [--cycles] [--largest N]

Prints the cycles (strongly connected components with more than one member)
between files and between folders, the includes that run up the folder
order or sideways into a peer folder of the same layer, and the largest
files. A .cpp file and its header count as one unit for the file graph,
because a header never includes its own .cpp: without that, no file cycle
could ever be seen through a .cpp.

The folder order is read from the README's layer block (the one the layering
lint reads); a tree older than that block is measured against the order
DESIGN.md gives, which the output says.
"""
import argparse
import os
import re
import signal
import sys
from collections import defaultdict

# Only for trees whose README has no layer block yet.
DESIGN_LAYERS = [["platform"], ["settings", "resources"], ["controls"],
                 ["editor", "toolchain", "workspace", "update", "kitprobe"], ["app"]]
# Top-level folders that use the product's code but are no layer of it.
OUTSIDE = {"tests", "bench", "cmake", "scripts", "examples"}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)
FOLDER_TOKEN = re.compile(r"^[a-z][a-z0-9_]*/$")


def read_layers(root):
    """The layers of the README's block, lowest first, or None."""
    try:
        with open(os.path.join(root, "README.md"), encoding="utf-8") as fh:
            lines = fh.read().splitlines()
    except OSError:
        return None
    for i, line in enumerate(lines):
        if line.startswith("<!-- layers"):
            break
    else:
        return None
    layers, inside = [], False
    for line in lines[i + 1:]:
        if line.startswith("```"):
            if inside:
                return layers or None
            inside = True
            continue
        if not inside:
            continue
        folders = []
        for token in line.split():
            if not FOLDER_TOKEN.match(token):
                break
            folders.append(token[:-1])
        if folders:
            layers.append(folders)
    return None


def source_folders(root):
    for name in sorted(os.listdir(root)):
        path = os.path.join(root, name)
        if not os.path.isdir(path) or name.startswith(".") or name.startswith("build") \
                or name in OUTSIDE:
            continue
        yield name


def sources(root, folder):
    for dirpath, dirs, names in os.walk(os.path.join(root, folder)):
        dirs.sort()
        for name in sorted(names):
            if name.endswith((".cpp", ".h")):
                yield os.path.relpath(os.path.join(dirpath, name), root)


def unit_of(path):
    return os.path.splitext(path)[0]


def folder_of(path):
    return path.split(os.sep, 1)[0]


def scc(nodes, edges):
    """Tarjan's algorithm, iterative; returns the components."""
    index, low, on_stack, stack, result = {}, {}, set(), [], []
    counter = 0
    for start in nodes:
        if start in index:
            continue
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        work = [(start, iter(sorted(edges[start])))]
        while work:
            node, it = work[-1]
            for nxt in it:
                if nxt not in index:
                    index[nxt] = low[nxt] = counter
                    counter += 1
                    stack.append(nxt)
                    on_stack.add(nxt)
                    work.append((nxt, iter(sorted(edges[nxt]))))
                    break
                if nxt in on_stack:
                    low[node] = min(low[node], index[nxt])
            else:
                work.pop()
                if work:
                    parent = work[-1][0]
                    low[parent] = min(low[parent], low[node])
                if low[node] == index[node]:
                    comp = []
                    while True:
                        member = stack.pop()
                        on_stack.discard(member)
                        comp.append(member)
                        if member == node:
                            break
                    result.append(sorted(comp))
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    parser.add_argument("--cycles", action="store_true",
                        help="list the members of each cycle and the includes between cycle folders")
    parser.add_argument("--largest", type=int, default=10)
    args = parser.parse_args()
    root = os.path.abspath(args.root)

    layers = read_layers(root)
    origin = "README layer block"
    if layers is None:
        layers, origin = DESIGN_LAYERS, "the README has no layer block: DESIGN.md order"
    rank = {f: r for r, layer in enumerate(layers) for f in layer}
    folders = [f for f in source_folders(root) if any(sources(root, f))]
    unlayered = [f for f in folders if f not in rank]

    files = [s for f in folders for s in sources(root, f)]
    known = set(files)
    unit_edges = defaultdict(set)
    folder_edges = defaultdict(set)
    between = defaultdict(list)  # (from folder, to folder) -> "file -> include"
    unresolved = []
    lines = {}
    for f in files:
        with open(os.path.join(root, f), encoding="utf-8", errors="replace") as fh:
            text = fh.read()
        lines[f] = text.count("\n")
        unit_edges[unit_of(f)]
        folder_edges[folder_of(f)]
        for inc in INCLUDE.findall(text):
            if inc not in known:
                if "/" in inc:
                    unresolved.append(f + " -> " + inc)
                continue
            a, b = unit_of(f), unit_of(inc)
            if a != b:
                unit_edges[a].add(b)
            fa, fb = folder_of(f), folder_of(inc)
            if fa != fb:
                folder_edges[fa].add(fb)
                between[(fa, fb)].append(f + " -> " + inc)
    units = sorted(unit_edges)
    unit_cycles = sorted((c for c in scc(units, unit_edges) if len(c) > 1), key=len, reverse=True)
    folder_cycles = [c for c in scc(sorted(folder_edges), folder_edges) if len(c) > 1]

    def kind(a, b):
        if a not in rank or b not in rank:
            return "outside"
        if rank[b] > rank[a]:
            return "up"
        if rank[b] == rank[a]:
            return "peer"
        return "down"

    print("layers (%s): %s" % (origin, " -> ".join(", ".join(l) for l in layers)))
    if unlayered:
        print("folders in no layer: %s" % " ".join(unlayered))
    print("files: %d (%d units), lines: %d" % (len(files), len(units), sum(lines.values())))
    print("file cycles: %d, sizes %s" % (len(unit_cycles), [len(c) for c in unit_cycles]))
    if args.cycles:
        for c in unit_cycles:
            print("  cycle of %d: %s" % (len(c), " ".join(c)))
    print("folder cycles: %d, sizes %s" % (len(folder_cycles),
          sorted((len(c) for c in folder_cycles), reverse=True)))
    for c in folder_cycles:
        print("  folders: %s" % " ".join(c))
        if args.cycles:
            for a in c:
                for b in c:
                    for ex in between.get((a, b), []):
                        print("    " + ex)
    for label, wanted in (("up the folder order", "up"), ("into a peer folder", "peer"),
                          ("between a layer and a folder in no layer", "outside")):
        pairs = sorted(p for p in between if kind(*p) == wanted)
        print("includes %s: %d" % (label, sum(len(between[p]) for p in pairs)))
        for p in pairs:
            for ex in between[p]:
                print("  " + ex)
    print("includes naming no file of the tree: %d" % len(unresolved))
    for ex in unresolved:
        print("  " + ex)
    print("largest files:")
    for f in sorted(files, key=lambda f: (-lines[f], f))[:args.largest]:
        print("  %6d %s" % (lines[f], f))
    return 0


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # quiet when piped into head
    sys.exit(main())
