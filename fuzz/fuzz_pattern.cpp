// Fuzzes the pattern language: any input is parsed as a pattern against an a-z alphabet (capitals
// and accented letters folding to it) and, if valid, matched against words of every length, with
// the length check, balance texts and the program dumps exercised on the way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/Alphabet.h"
#include "pattern/FoldedCompare.h"
#include "pattern/MacroExpansion.h"
#include "pattern/MatchEngineSet.h"

namespace {

const qel::Alphabet& alphabet() {
  static const qel::Alphabet a = [] {
    qel::Alphabet result;
    result.letterIndex.fill(qel::kNotALetter);
    result.character.fill('!');
    for (int c = 0; c < 256; ++c) {
      const uint8_t folded = qel::folded::fold(static_cast<uint8_t>(c));
      if (folded >= 'A' && folded <= 'Z')
        result.letterIndex[c] = static_cast<uint8_t>(folded - 'A');
    }
    for (int i = 0; i < 26; ++i) result.character[i] = static_cast<uint8_t>('a' + i);
    result.active = result.total = 26;
    return result;
  }();
  return a;
}

struct Entry {
  std::string text;
  std::vector<uint8_t> letters;
  int length = 0;
};

const std::vector<Entry>& entries() {
  static const std::vector<Entry> list = [] {
    const char* words[] = {
        "a",
        "I",
        "ox",
        "be",
        "cat",
        "dog",
        "eel",
        "emu",
        "it's",
        "abba",
        "deed",
        "noon",
        "ache",
        "tonight",
        "sardine",
        "obelisk",
        "electron",
        "maharaja",
        "readable",
        "toboggan",
        "beriberi",
        "imaginative",
        "fly-by-night",
        "fly by night",
        "flyby-night",
        "fly-by-night!",
        "o'clock",
        "O'Casey's",
        "Ærø",
        "café",
        "CAFÉ",
        "naïve",
        "Zoë",
        "jack-in-the-box",
        "mother-in-law's",
        "twenty-one",
        "a.m.",
        "e.g.",
        "Mr. Smith",
        "rock 'n' roll",
        "will-o'-the-wisp",
        "antidisestablishmentarianism",
        "floccinaucinihilipilification",
        "pneumonoultramicroscopicsilicov",
        "supercalifragilisticexpialidocious",
        "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
        "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab",
        "abababababababababababababababa",
        "abcdefghijklmnopqrstuvwxyzabcde",
        "zyxwvutsrqponmlkjihgfedcbazyxwv",
        "a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p-q-r-s-t-u",
        "  spaced  ",
        "-",
        "'",
        "...",
        "x",
        "qi",
        "zzz",
        "zyzzyva",
        "rhythm",
        "queue",
        "banana",
        "bookkeeper",
        "committee",
        "mississippi",
        "strengths",
        "twelfths",
        "onomatopoeia",
        "unimaginatively",
        "quizzically",
        "jazz",
        "fuzz",
        "buzz",
        "pizzazz",
        "razzmatazz",
        "abracadabra",
        "hocus-pocus",
        "mumbo jumbo",
        "hurly-burly",
        "willy-nilly",
        "see-saw",
        "Aachen",
        "aardvark",
        "aardvarks",
        "abacus",
        "abacuses",
        "abaft",
        "abalone",
        "abandon",
        "zebra",
        "zebras",
        "zenith",
        "zephyr",
        "zero",
        "zeros",
        "zest",
        "zigzag",
        "zinc",
        "zone",
        "cab",
        "bad",
        "dad",
        "bat",
        "tab",
        "abc",
        "acb",
        "bca",
        "cba",
        "abcd",
        "dcba",
        "abcde",
        "parallelogram",
        "phosphorescence",
        "quintessential",
        "sesquipedalian",
        "syzygy",
        "eerie",
        "aeiou",
        "uoiea",
        "bcdfg",
        "strength",
        "knight",
        "gnome",
        "psalm",
        "xylophone",
        "Übermensch",
        "façade",
        "résumé",
        "piñata",
        "smörgåsbord",
        "déjà vu",
        "à la carte",
        "ice-cream",
        "ice cream",
        "icecream",
        "re-sign",
        "resign",
        "co-op",
        "coop",
        "can't",
        "cannot",
        "won't",
        "wont",
        "o",
        "oo",
        "ooo",
        "oooo",
        "ooooo",
        "oooooo",
        "ooooooo",
        "abcdefghij",
        "abcdefghijk",
        "abcdefghijkl",
        "abcdefghijklm",
        "abcdefghijklmn",
        "abcdefghijklmno",
        "abcdefghijklmnop",
        "abcdefghijklmnopq",
        "abcdefghijklmnopqr",
        "abcdefghijklmnopqrs",
        "abcdefghijklmnopqrst",
        "abcdefghijklmnopqrstu",
        "abcdefghijklmnopqrstuv",
        "abcdefghijklmnopqrstuvw",
        "abcdefghijklmnopqrstuvwx",
        "abcdefghijklmnopqrstuvwxy",
        "abcdefghijklmnopqrstuvwxyz",
        "abcdefghijklmnopqrstuvwxyza",
        "abcdefghijklmnopqrstuvwxyzab",
        "abcdefghijklmnopqrstuvwxyzabc",
        "abcdefghijklmnopqrstuvwxyzabcd",
        "a1b2c3",
        "4x4",
        "R2-D2",
        "C-3PO",
        "&",
        "|",
        "!",
        "(",
        ")",
        "[",
        "]",
        ";",
        "\\",
        "*",
        "?",
        "@",
        "#",
        "^",
    };
    std::vector<Entry> result;
    for (const char* word : words) {
      Entry e;
      // Source text is UTF-8; keep the Latin-1 range as code page 1252 bytes.
      for (size_t i = 0; word[i] != 0; ++i) {
        const uint8_t c = static_cast<uint8_t>(word[i]);
        if (c < 0x80) {
          e.text += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && word[i + 1] != 0) {
          e.text += static_cast<char>((c & 0x1F) << 6 | (static_cast<uint8_t>(word[++i]) & 0x3F));
        }
      }
      for (char c : e.text) {
        const uint8_t index = alphabet().letterIndex[static_cast<uint8_t>(c)];
        if (index != qel::kNotALetter) e.letters.push_back(index);
      }
      e.length = static_cast<int>(e.letters.size());
      e.letters.push_back(qel::kEndOfLetters);
      result.push_back(std::move(e));
    }
    return result;
  }();
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first byte picks the options, the rest is the pattern.
  const uint8_t options = size > 0 ? data[0] : 0;
  if (size > 0) input.remove_prefix(1);
  const std::string text = (options & 2)
                               ? qel::expandMacros(input, "[aeiou]", "[^aeiou]").value_or("")
                               : std::string(input);
  qel::MatchEngineSet set;
  // Deciding every entry exactly is the tests' job; here any pattern must finish within seconds.
  set.setStepBound(20000);
  const bool error = set.parse(alphabet(), text, 1 + (options >> 4), 31 - (options >> 5),
                               (options & 1) == 0) != qel::pattern::PatternError::kValid;
  (void)set.dump();
  if (error) return 0;
  const qel::LengthCheck check = set.lengthCheck();
  for (const Entry& e : entries()) {
    if (e.length < 1 || e.length > 31) continue;
    set.setCurrentLength(e.length);
    if (set.accepts(e.letters.data(), e.length, e.text.c_str())) {
      (void)set.balanceText(" ");
      if (e.length < check.range.first || e.length > check.range.last) __builtin_trap();
    }
  }
  return 0;
}
