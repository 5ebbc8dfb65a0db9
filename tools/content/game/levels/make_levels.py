#!/usr/bin/env python3
"""Writes the game's 25 level sources (level-NN.txt) from five templates.

Level n = 5 * group + stage lies on group's terrain; the stage picks the
template, the group makes it longer and busier. Run from anywhere:
python3 tools/content/game/levels/make_levels.py; then build and replan
the solutions (README.md, "Levels").
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))
TERRAINS = ["fields", "dunes", "caves", "mountains", "beach"]
# Terrains whose pack has the bird (flyer) and landscape B pieces.
HAS_BIRD = {1, 3, 4}
HAS_LANDSCAPE = {0, 1, 2}
HAS_LANDSCAPE_B = {1, 2}


class Lane:
    def __init__(self, columns):
        self.columns = columns
        self.gaps = []
        self.pieces = []

    def gap(self, column, width):
        self.gaps.append((column, width))

    def add(self, *words):
        self.pieces.append(" ".join(str(w) for w in words))

    def hazards(self):
        """Columns no item should stand on: gaps, blocks, spikes, one
        column either side."""
        columns = set()
        for column, width in self.gaps:
            columns.update(range(column - 1, column + width + 1))
        for piece in self.pieces:
            w = piece.split()
            if w[0] == "block" or w[0] == "spikes":
                columns.update(range(int(w[1]) - 1, int(w[1]) + int(w[2]) + 1))
            elif w[0] == "barrier" and w[1] == "spikes":
                columns.update(range(int(w[3]) - 1, int(w[3]) + 2))
        return columns

    def lines(self):
        hazards = self.hazards()
        self.pieces = [p for p in self.pieces if not (p.startswith("item ") and int(p.split()[1]) in hazards)]
        out, at = [], 0
        for column, width in sorted(self.gaps):
            if column > at:
                out.append(f"ground {at} {column}")
            at = column + width
        out.append(f"ground {at} {self.columns}")
        return out + self.pieces


def write(n, title, columns, rows, a, b):
    text = [f"# level {n} (resource {2048 + n}): {TERRAINS[n // 5]}, stage {n % 5}: {title}",
            "# written by make_levels.py", f"level {n}", f"size {columns} {rows}", "start 2"]
    for name, lane in (("a", a), ("b", b)):
        text.append(f"lane {name}")
        text.extend(lane.lines())
    with open(os.path.join(HERE, f"level-{n:02d}.txt"), "w") as f:
        f.write("\n".join(text) + "\n")


def decorate(g, lanes, columns):
    """Landscape pieces on the ground of the terrains that have them."""
    if g in HAS_LANDSCAPE:
        for i, column in enumerate(range(6, columns - 4, 13)):
            lanes[i % 2].add("landscape", i % 3, column)
    if g in HAS_LANDSCAPE_B:
        for i, column in enumerate(range(11, columns - 4, 17)):
            lanes[(i + 1) % 2].add("landscape-b", (i + 1) % 3, column)


def items(lane, columns, height=0):
    for column in columns:
        lane.add("item", column, height) if height else lane.add("item", column)


def flat_run(g):
    """Stage 0: a flat run with fifteen items (grade 3) and a few gaps."""
    columns = 60 + 10 * g
    a, b = Lane(columns), Lane(columns)
    items(a, range(8, 8 + 8 * 6, 6))
    items(b, range(11, 11 + 7 * 6, 6))
    for i in range(g):
        (a if i % 2 == 0 else b).gap(22 + 14 * i, 2)
    decorate(g, (a, b), columns)
    return "a flat run with fifteen items", columns, 20, a, b


def gaps_and_spikes(g):
    """Stage 1: gaps over deadly zones and spikes on the ground."""
    columns = 70 + 10 * g
    a, b = Lane(columns), Lane(columns)
    for i, column in enumerate(range(16, columns - 10, 12)):
        if i % 2 == 0:
            a.gap(column, 2 + (i + g) % 2)
            b.add("spikes", column + 4, 1 + (g >= 2))
        else:
            b.gap(column, 2 + (i + g) % 2)
            a.add("spikes", column + 3, 1)
    items(a, range(10, columns - 8, 15))
    items(b, range(13, columns - 8, 15))
    decorate(g, (a, b), columns)
    return "gaps over deadly zones, spikes", columns, 20, a, b


def blocks(g):
    """Stage 2: solid blocks to jump, ledges to drop from; a half-height map
    on the odd terrains."""
    columns = 70 + 10 * g
    rows = 12 if g % 2 == 1 else 20
    a, b = Lane(columns), Lane(columns)
    taken = (set(), set())
    for i, column in enumerate(range(15, columns - 10, 11)):
        lane = i % 2
        width = 1 + (i // 2) % 2
        (a, b)[lane].add("block", column, width, 1 + (i + g) % 2)
        taken[lane].update(range(column - 1, column + width + 1))
        (b, a)[lane].add("ledge", column - 2, 4, 3)
    # Items on the ground, none inside a block.
    items(a, [c for c in range(9, columns - 8, 14) if c not in taken[0]])
    items(b, [c for c in range(12, columns - 8, 14) if c not in taken[1]])
    decorate(g, (a, b), columns)
    return "solid blocks, ledges" + (", a half-height map" if rows < 20 else ""), columns, rows, a, b


def walkers(g):
    """Stage 3: hedgehogs walking at the runners, spikes that stay, a life."""
    columns = 70 + 10 * g
    a, b = Lane(columns), Lane(columns)
    for i, column in enumerate(range(20, columns - 10, 16)):
        (a, b)[i % 2].add("barrier", "hedgehog", 3, column)
        (b, a)[i % 2].add("barrier", "spikes", 6, column - 4)
    a.add("life", 12)
    items(a, range(9, columns - 8, 13))
    items(b, range(14, columns - 8, 13))
    decorate(g, (a, b), columns)
    return "walkers, spikes and a life", columns, 20, a, b


def throwers(g):
    """Stage 4: bats that throw bombs and, where the terrain has one, a bird."""
    columns = 80 + 10 * g
    a, b = Lane(columns), Lane(columns)
    for i, column in enumerate(range(24, columns - 16, 22)):
        (a, b)[i % 2].add("barrier", "bat", 5, column, 6)
        # A bat's five bombs take sprite room that the map gives per
        # barrier: spikes beside every bat keep the level within it.
        (b, a)[i % 2].add("barrier", "spikes", 6, column + 8)
    if g in HAS_BIRD:
        a.add("barrier", "bird", 4, columns // 2, 6)
    a.gap(14, 2)
    b.gap(18, 2)
    items(a, range(10, columns - 8, 15))
    items(b, range(16, columns - 8, 15))
    decorate(g, (a, b), columns)
    return "throwers" + (" and a flyer" if g in HAS_BIRD else ""), columns, 20, a, b


TEMPLATES = [flat_run, gaps_and_spikes, blocks, walkers, throwers]

if __name__ == "__main__":
    for g in range(5):
        for stage, template in enumerate(TEMPLATES):
            write(5 * g + stage, *template(g))
