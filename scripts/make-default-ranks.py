#!/usr/bin/env python3
"""Commonness ranks of the default dictionary's entries, for "qel-cli build --ranks".

Each entry of SOURCE (the builder's line syntax, as make-default-source.py writes it) gets the
smallest size level of the SCOWL lists that hold it (Debian package scowl: 10 = the most common
words ... 95 = the rarest), its spelling variants' lists included. An entry SCOWL does not hold,
and every phrase, is ranked by its WordNet sense tag counts (cntlist.rev of wordnet-base) instead.
An entry neither source knows is left out: it takes the rarest rank.

Usage: make-default-ranks.py SOURCE RANKS"""
import glob
import os
import re
import sys

SCOWL = "/usr/share/dict/scowl"
CNTLIST = "/usr/share/wordnet/cntlist.rev"
# Sense tag counts (summed over a lemma's senses) against the SCOWL level they compare with.
COUNT_LEVELS = [(50, 35), (10, 50), (3, 60), (1, 70)]


def scowl_levels():
    levels = {}
    for path in glob.glob(os.path.join(SCOWL, "*.[0-9][0-9]")):
        level = int(path.rsplit(".", 1)[1])
        with open(path, encoding="latin-1") as words:
            for word in words:
                word = word.rstrip("\n")
                if word and levels.get(word, 100) > level:
                    levels[word] = level
    return levels


def tag_counts():
    counts = {}
    with open(CNTLIST, encoding="utf-8") as lines:
        for line in lines:
            parts = line.split()
            if len(parts) != 3:
                continue
            lemma = parts[0].split("%", 1)[0].replace("_", " ")
            counts[lemma] = counts.get(lemma, 0) + int(parts[2])
    return counts


def entries(source):
    """The entry words of each source line: the fields before "|", split at ":" and ";", each up
    to its "+" annotation, with backslash escapes undone."""
    field = re.compile(r"((?:\\.|[^:;|\\])*)([:;|]|$)")
    with open(source, encoding="utf-8") as lines:
        for line in lines:
            line = line.rstrip("\n")
            for match in field.finditer(line):
                text, end = match.group(1), match.group(2)
                word = re.split(r"(?<!\\)\+", text, 1)[0]
                word = re.sub(r"\\(.)", r"\1", word)
                if word:
                    yield word
                if end in ("|", ""):
                    break


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    if not os.path.isdir(SCOWL) or not os.path.exists(CNTLIST):
        sys.exit("make-default-ranks.py: install the Debian packages scowl and wordnet-base")
    levels = scowl_levels()
    counts = tag_counts()
    ranked = {}
    for word in entries(sys.argv[1]):
        if word in ranked:
            continue
        level = None
        if " " not in word:
            level = levels.get(word) or levels.get(word.lower())
        if level is None:
            count = counts.get(word.lower(), 0)
            level = next((l for least, l in COUNT_LEVELS if count >= least), None)
        if level is not None:
            ranked[word] = level
    with open(sys.argv[2], "w", encoding="utf-8") as out:
        for word in sorted(ranked):
            out.write(f"{word}\t{ranked[word]}\n")
    print(f"{sys.argv[2]}: {len(ranked)} entries ranked", file=sys.stderr)


main()
