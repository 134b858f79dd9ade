#!/usr/bin/env python3
"""Write the builder source of the default dictionary from installed Debian packages.

Entries: every word of the british-english-huge list (package wbritish-huge) and every lemma of
WordNet 3.0 (package wordnet-base), underscores turned into blanks, capitals, hyphens and
apostrophes kept. Possessives (anything ending in "'s") are left out, and so is any word with a
character that code page 1252 cannot hold.

Every WordNet sense becomes one line

    lemma++(noun 1)+;|gloss

whose doubled "+" hides the sense from the entry text but keeps it as the second heading text, and
whose ";" puts the definition into the indexed pass. A lemma's lines follow one another, by part of
speech (noun, verb, adjective, adverb) and then WordNet sense number. Words that only the list has
get a plain line without a definition. Every entry text is written by one group of lines only.

Usage: make-default-source.py OUTPUT [--wordlist FILE] [--wordnet DIR]
"""

import argparse
import os
import sys
import time
import unicodedata

WORDLIST = "/usr/share/dict/british-english-huge"
WORDNET = "/usr/share/wordnet"

# WordNet's file suffixes in the order in which a lemma's senses are written, with the heading name.
PARTS_OF_SPEECH = (("noun", "noun"), ("verb", "verb"), ("adj", "adjective"), ("adv", "adverb"))

# Entries whose letter count lies outside this range are not kept by the builder; leaving them out
# here keeps the source honest about what the dictionary holds.
SHORTEST = 1
LONGEST = 31

# Characters the builder treats specially inside an entry field.
_ESCAPES = str.maketrans({c: "\\" + c for c in "\\:;|+"})


def escape(text):
    return text.translate(_ESCAPES)


def letter_count(text):
    return sum(1 for c in text if c.isalpha())


def fold_key(text):
    """Sort key close to the dictionary's own order: folded letters first, then the exact text."""
    decomposed = unicodedata.normalize("NFKD", text)
    letters = "".join(c for c in decomposed if c.isalnum()).casefold()
    return (letters, text)


class Stats:
    def __init__(self):
        self.not_cp1252 = 0
        self.possessive = 0
        self.length = 0
        self.list_words = 0
        self.wordnet_lemmas = 0
        self.sense_lines = 0
        self.plain_lines = 0
        self.most_senses = (0, "")
        self.longest_body = (0, "")


def acceptable(text, stats):
    """True if `text` may become an entry; counts the reason otherwise."""
    try:
        text.encode("cp1252")
    except UnicodeEncodeError:
        stats.not_cp1252 += 1
        return False
    if text.endswith("'s"):
        stats.possessive += 1
        return False
    if not SHORTEST <= letter_count(text) <= LONGEST:
        stats.length += 1
        return False
    return True


def read_wordnet(directory):
    """Returns {lemma text: [(part of speech, sense number, gloss), ...]} in sense order."""
    senses = {}
    for suffix, heading in PARTS_OF_SPEECH:
        # index.<pos>: lemma pos synset_cnt p_cnt [ptr...] sense_cnt tagsense_cnt offset...
        # The offsets are listed in sense-number order.
        sense_number = {}
        with open(os.path.join(directory, "index." + suffix), encoding="ascii") as index:
            for line in index:
                if line.startswith(" "):
                    continue  # licence text
                fields = line.split()
                synsets = int(fields[2])
                for number, offset in enumerate(fields[len(fields) - synsets:], 1):
                    sense_number[(fields[0], offset)] = number

        # data.<pos>: offset lex_filenum ss_type w_cnt word lex_id [word lex_id...] ... | gloss
        # The words keep their capitals; the index holds them in lower case.
        with open(os.path.join(directory, "data." + suffix), encoding="ascii") as data:
            for line in data:
                if line.startswith(" "):
                    continue
                head, _, gloss = line.partition(" | ")
                gloss = gloss.strip()
                fields = head.split()
                offset = fields[0]
                word_count = int(fields[3], 16)
                for i in range(word_count):
                    word = fields[4 + 2 * i]
                    # Adjective position markers: (a), (p), (ip).
                    if word.endswith(")"):
                        word = word[: word.rindex("(")]
                    number = sense_number[(word.lower(), offset)]
                    text = word.replace("_", " ")
                    senses.setdefault(text, []).append((pos_rank(heading), number, heading, gloss))
    for text, items in senses.items():
        items.sort()
        senses[text] = [(heading, number, gloss) for _, number, heading, gloss in items]
    return senses


def pos_rank(heading):
    return [name for _, name in PARTS_OF_SPEECH].index(heading)


def read_wordlist(path):
    with open(path, encoding="utf-8") as words:
        for line in words:
            word = unicodedata.normalize("NFC", line.strip())
            if word:
                yield word


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="the source file to write (UTF-8)")
    parser.add_argument("--wordlist", default=WORDLIST)
    parser.add_argument("--wordnet", default=WORDNET)
    args = parser.parse_args()

    started = time.monotonic()
    stats = Stats()
    entries = {}  # entry text -> list of senses (empty for words that only the list has)

    for text, senses in read_wordnet(args.wordnet).items():
        if acceptable(text, stats):
            entries[text] = senses
            stats.wordnet_lemmas += 1
    for word in read_wordlist(args.wordlist):
        if word not in entries and acceptable(word, stats):
            entries[word] = []
            stats.list_words += 1

    with open(args.output, "w", encoding="utf-8", newline="\n") as out:
        for text in sorted(entries, key=fold_key):
            senses = entries[text]
            field = escape(text)
            if not senses:
                out.write(field + "\n")
                stats.plain_lines += 1
                continue
            if len(senses) > stats.most_senses[0]:
                stats.most_senses = (len(senses), text)
            for heading, number, gloss in senses:
                # The body is the rest of the line, taken as it stands: nothing in it is special.
                body = gloss
                if len(body.encode("cp1252")) > stats.longest_body[0]:
                    stats.longest_body = (len(body.encode("cp1252")), text)
                out.write(f"{field}++({heading} {number})+;|{body}\n")
                stats.sense_lines += 1

    print(
        f"{args.output}: {len(entries)} entries ({stats.wordnet_lemmas} from WordNet, "
        f"{stats.list_words} only in the word list); {stats.sense_lines} definition lines, "
        f"{stats.plain_lines} plain lines\n"
        f"left out: {stats.possessive} ending in 's, {stats.not_cp1252} not in code page 1252, "
        f"{stats.length} outside {SHORTEST}..{LONGEST} letters\n"
        f"most senses: {stats.most_senses[0]} ({stats.most_senses[1]}); "
        f"longest body: {stats.longest_body[0]} bytes ({stats.longest_body[1]}); "
        f"{time.monotonic() - started:.1f} s",
        file=sys.stderr,
    )


if __name__ == "__main__":
    main()
