// What the compiler makes of typical patterns, compared in the program's text form.
#include <gtest/gtest.h>

#include <string>

#include "PatternTestSupport.h"
#include "pattern/MatchEngine.h"

namespace qel {
namespace {

std::string dumpOf(const std::string& pattern) {
  MatchEngine engine;
  engine.compile(test::latinAlphabet(), pattern);
  return engine.dump();
}

TEST(PatternDump, TemplatesWildcardsAndPunctuation) {
  EXPECT_EQ(dumpOf(".l...r.n"),
            "sub-pattern fixed 8 extra 0\n"
            "  run 8: 1=l 5=r 7=n\n"
            "  end\n"
            "end\n"
            "end of program\n");
  EXPECT_EQ(dumpOf("m*ja"),
            "variable sub-pattern fixed 3 extra 32\n"
            "  run 1: 0=m\n"
            "  last wildcard rest 2\n"
            "    run 2: 0=j 1=a\n"
            "    end\n"
            "  end\n"
            "end\n"
            "end of program\n");
  // Outer spaces dropped, the end check after the last element.
  EXPECT_EQ(dumpOf(" a-[^aeiou]1\\Bc "),
            "sub-pattern fixed 5 extra 0\n"
            "  run 1: 0=a\n"
            "  punctuation '-'\n"
            "  mixed run 2: 0=[^aeiou] 1=var 1\n"
            "  exact 'B'\n"
            "  run 2: 0=b 1=c\n"
            "  end check\n"
            "  end\n"
            "end\n"
            "end of program\n");
}

TEST(PatternDump, AnagramItemsAndTheLetterSetTable) {
  EXPECT_EQ(dumpOf(";[ea][ae]1.(x*)rebel"),
            "variable sub-pattern fixed 10 extra 32\n"
            "  end\n"
            "  anagram of 26 letters, 10 positions\n"
            "    last variable sub-pattern x1 set 0\n"
            "    choice list x2 set 1\n"
            "    variables 1x1\n"
            "    counted letters 1b 2e 1l 1r\n"
            "end\n"
            "end of program\n"
            "set 0:\n"
            "  variable sub-pattern fixed 1 extra 32\n"
            "    run 1: 0=x\n"
            "    last wildcard rest 0\n"
            "      end\n"
            "    end\n"
            "  end\n"
            "set 1: map ae\n");
}

}  // namespace
}  // namespace qel
