// The case test of spellings against each convention, with Latin-1 letters,
// digits, underscores and the accepted-spellings exemption.
#include "style/case_convention.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../support/every_string.h"
#include "platform/latin1.h"
#include "style/letter_case_scan.h"

namespace flawseek {
namespace {

// Latin-1 bytes, written out so the source file's own encoding does not matter.
const std::string grosse_mass = "Gr\xF6\xDF" "e_Ma\xDF";  // "Größe_Maß"
const std::string upper_umlaut_word = "\xC4RGER";        // "ÄRGER"
const std::string lower_umlaut_word = "\xE4rger";        // "ärger"

TEST(MixedCase, AcceptsCapitalisedWordsOfOneCase) {
  for (const char* text : {"X", "Abc", "ABC_Def", "HTTP_Server", "Text_IO", "A1_B2", "Ada_95",
                           "Line_2_Count", "A_1b", "A_1B", "", "Next__Item"}) {
    EXPECT_TRUE(is_mixed_case(text)) << text;
  }
}

TEST(MixedCase, RejectsLowerStartsAndCaseChangesInsideAWord) {
  for (const char* text : {"aBC", "x", "Http_sERVER", "HttP", "ABc", "Abc_def", "My_VaLue", "Ab1C"}) {
    EXPECT_FALSE(is_mixed_case(text)) << text;
  }
}

TEST(MixedCase, DigitsAndOtherNonLettersAreSkippedWhenFixingTheCase) {
  // "1b": the first character is no letter, so 'b' fixes lower case.
  EXPECT_TRUE(is_mixed_case("V_1bc"));
  EXPECT_FALSE(is_mixed_case("V_1bC"));
  // A digit between letters does not reset the word's case.
  EXPECT_TRUE(is_mixed_case("Ab2cd"));
  EXPECT_FALSE(is_mixed_case("Ab2Cd"));
}

TEST(MixedCase, UsesLatin1LetterClasses) {
  EXPECT_TRUE(is_mixed_case(grosse_mass));
  EXPECT_TRUE(is_mixed_case(upper_umlaut_word));
  EXPECT_FALSE(is_mixed_case(lower_umlaut_word));     // starts with a lower-case letter
  EXPECT_FALSE(is_mixed_case("Gr\xD6" "sse"));        // upper-case Ö inside a lower-case word
  EXPECT_FALSE(is_mixed_case("Stra\xDF" "E"));        // ß is lower case, so a later E breaks the word
}

// The Mixed rule word by word, as its definition reads.
bool mixed_by_words(const std::string& text) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(text.find('_', start), text.size());
    const std::string word = text.substr(start, end - start);
    if (!word.empty()) {
      const auto first = static_cast<unsigned char>(word[0]);
      if (first >= 'a' && first <= 'z') return false;
      bool upper = false;
      bool lower = false;
      for (std::size_t i = 1; i < word.size(); ++i) {
        upper = upper || (word[i] >= 'A' && word[i] <= 'Z');
        lower = lower || (word[i] >= 'a' && word[i] <= 'z');
      }
      if (upper && lower) return false;
    }
    if (end == text.size()) return true;
    start = end + 1;
  }
}

TEST(MixedCase, EverySpellingOfAFewCharactersAgreesWithTheWordRule) {
  // Every text of up to six characters from letters of both cases, a digit
  // and the underscore, alone, behind a prefix of several words, and followed
  // by a word that is one Latin-1 capital (which changes nothing).
  testing::for_each_string("Ab1_", 6, [](const std::string& text) {
    ASSERT_EQ(is_mixed_case(text), mixed_by_words(text)) << text;
    const std::string longer = "Abc_Def_Ghi_Jk" + text;
    ASSERT_EQ(is_mixed_case(longer), mixed_by_words(longer)) << longer;
    const std::string latin1 = text + "_\xC4";
    ASSERT_EQ(is_mixed_case(latin1), mixed_by_words(text)) << text;
    ASSERT_EQ(follows_case(text, CaseConvention::Lower), text.find('A') == std::string::npos) << text;
    ASSERT_EQ(follows_case(text, CaseConvention::Upper), text.find('b') == std::string::npos) << text;
  });
}

TEST(MixedCase, AWordBoundaryAnywhereInALongNameAgreesWithTheWordRule) {
  // Long names are read several characters at a time: a word that starts or
  // changes case at any place, also just where one group of characters ends
  // and the next begins, must be judged as a short name is.
  for (std::size_t lead = 0; lead <= 24; ++lead) {
    for (const char* head : {"A", "a", "_"}) {
      testing::for_each_string("Ab_", 3, [&](const std::string& tail) {
        const std::string text = std::string(lead, 'A') + head + tail;
        ASSERT_EQ(is_mixed_case(text), mixed_by_words(text)) << text;
        const std::string lower_lead = "A" + std::string(lead, 'b') + head + tail;
        ASSERT_EQ(is_mixed_case(lower_lead), mixed_by_words(lower_lead)) << lower_lead;
        ASSERT_EQ(follows_case(text, CaseConvention::Lower), text.find('A') == std::string::npos) << text;
        ASSERT_EQ(follows_case(lower_lead, CaseConvention::Upper), lower_lead.find('b') == std::string::npos &&
                                                                       lower_lead.find('a') == std::string::npos)
            << lower_lead;
      });
    }
  }
}

TEST(MixedCase, ALatin1LetterAnywhereInALongNameIsJudgedByItsClass) {
  // Past plain ASCII the test reads a character at a time; the letter may
  // stand in any group of characters.
  for (std::size_t lead = 0; lead <= 20; ++lead) {
    const std::string upper_inside = "Ab" + std::string(lead, 'c') + "\xD6";  // "Abc...Ö"
    EXPECT_FALSE(is_mixed_case(upper_inside)) << lead;
    EXPECT_FALSE(follows_case(upper_inside, CaseConvention::Lower)) << lead;
    const std::string lower_inside = "AB" + std::string(lead, 'C') + "\xF6";  // "ABC...ö"
    EXPECT_FALSE(is_mixed_case(lower_inside)) << lead;
    EXPECT_FALSE(follows_case(lower_inside, CaseConvention::Upper)) << lead;
    const std::string passing = "Ab" + std::string(lead, 'c') + "\xF6";
    EXPECT_TRUE(is_mixed_case(passing)) << lead;
  }
}

TEST(FollowsCase, AnyAcceptsEverySpelling) {
  for (const char* text : {"", "aBC", "\xFF\xDF", "x_Y_z"}) {
    EXPECT_TRUE(follows_case(text, CaseConvention::Any)) << text;
  }
}

TEST(FollowsCase, LowerAndUpperLookAtLettersOnly) {
  EXPECT_TRUE(follows_case("text_io_2", CaseConvention::Lower));
  EXPECT_FALSE(follows_case("text_Io", CaseConvention::Lower));
  EXPECT_FALSE(follows_case(upper_umlaut_word, CaseConvention::Lower));
  EXPECT_TRUE(follows_case(lower_umlaut_word, CaseConvention::Lower));

  EXPECT_TRUE(follows_case("TEXT_IO_2", CaseConvention::Upper));
  EXPECT_FALSE(follows_case("TEXT_iO", CaseConvention::Upper));
  EXPECT_TRUE(follows_case(upper_umlaut_word, CaseConvention::Upper));
  // ß and ÿ are lower-case letters without an upper-case partner.
  EXPECT_FALSE(follows_case("STRA\xDF" "E", CaseConvention::Upper));
  EXPECT_TRUE(follows_case("123_", CaseConvention::Upper));
  EXPECT_TRUE(follows_case("123_", CaseConvention::Lower));
}

TEST(FollowsCase, LowerAndUpperFindALetterAtEveryPlaceOfEveryLength) {
  // Short texts are read several characters at a time, in words that may
  // overlap, and a byte above 127 anywhere sends the text to the Latin-1
  // classes: one letter (or a byte just beside the letter ranges) at any
  // place of a text of any length must be judged as the classes say.
  const std::string probes = std::string("@AZ[`az{_1") + "\xC0\xD7\xDE\xDF\xF7\xFF";
  for (std::size_t length = 1; length <= 20; ++length) {
    for (std::size_t place = 0; place < length; ++place) {
      for (const char probe : probes) {
        std::string text(length, '_');
        text[place] = probe;
        const auto c = static_cast<unsigned char>(probe);
        ASSERT_EQ(follows_case(text, CaseConvention::Lower), !latin1::is_upper(c)) << length << ' ' << place << ' ' << int{c};
        ASSERT_EQ(follows_case(text, CaseConvention::Upper), !latin1::is_lower(c)) << length << ' ' << place << ' ' << int{c};
      }
    }
  }
}

TEST(ReservedWordScan, OneLetterOfTheOtherCaseIsFoundAtEveryPlaceOfEveryLength) {
  // A reserved word is read by bit 5 alone, in words that may overlap: a
  // word of one case with one letter of the other anywhere must be judged
  // as the letter classes judge it.
  for (std::size_t length = 1; length <= 16; ++length) {
    for (const char base : {'a', 'Z'}) {
      for (std::size_t place = 0; place <= length; ++place) {
        std::string word(length, base);
        if (place < length) word[place] = base == 'a' ? 'Q' : 'q';
        for (const auto wanted : {case_classes::UPPER, case_classes::LOWER}) {
          const bool expected = has_letter_of_class(word, wanted);
          ASSERT_EQ(scan_reserved_word(word, wanted), expected ? LetterScan::FOUND : LetterScan::NONE) << word;
        }
      }
    }
  }
  EXPECT_EQ(scan_reserved_word(std::string(17, 'a'), case_classes::UPPER), LetterScan::UNDECIDED);
}

TEST(FollowsCase, AcceptedSpellingsExemptOnlyExactMixedFailures) {
  AcceptedSpellings accepted;
  accepted.add("GNAT_io");
  accepted.add("ada");
  EXPECT_TRUE(follows_case("GNAT_io", CaseConvention::Mixed, &accepted));
  EXPECT_FALSE(follows_case("GNAT_iO", CaseConvention::Mixed, &accepted));  // spelled differently
  EXPECT_FALSE(follows_case("GNAT_io", CaseConvention::Mixed));             // no list handed over
  // The exemption belongs to Mixed: Upper and Lower do not consult the list.
  EXPECT_FALSE(follows_case("ada", CaseConvention::Upper, &accepted));
  EXPECT_FALSE(follows_case("GNAT_io", CaseConvention::Lower, &accepted));
}

TEST(BreaksCase, AnswersTheOppositeOfFollowsCaseForEveryConvention) {
  // The reporting callers take this answer; the Mixed test, with the list,
  // is taken first there, on a path of its own.
  AcceptedSpellings accepted;
  accepted.add("GNAT_io");
  for (const char* text : {"", "Text_IO", "GNAT_io", "GNAT_iO", "text_io", "TEXT_IO", "Gr\xD6sse", "STRA\xDF" "E"}) {
    for (int convention = 0; convention < case_convention_count; ++convention) {
      const auto chosen = static_cast<CaseConvention>(convention);
      EXPECT_EQ(breaks_case(text, chosen), !follows_case(text, chosen)) << text << " " << convention;
      EXPECT_EQ(breaks_case(text, chosen, &accepted), !follows_case(text, chosen, &accepted)) << text << " " << convention;
    }
  }
  EXPECT_TRUE(breaks_case("GNAT_io", CaseConvention::Mixed));
  EXPECT_FALSE(breaks_case("GNAT_io", CaseConvention::Mixed, &accepted));
  EXPECT_THROW(breaks_case("Abc", static_cast<CaseConvention>(4)), InvalidCaseConvention);
}

TEST(FollowsCase, AnOutOfRangeConventionIsAnInternalError) {
  const auto bad = static_cast<CaseConvention>(4);
  EXPECT_THROW(follows_case("Abc", bad), InvalidCaseConvention);
  EXPECT_THROW(follows_case("", static_cast<CaseConvention>(255)), InvalidCaseConvention);
  try {
    follows_case("Abc", bad);
  } catch (const InvalidCaseConvention& error) {
    EXPECT_STREQ(error.what(), "Style_Rules.Invalid_Case_Convention");
  }
  EXPECT_EQ(image(bad), "Invalid");
  EXPECT_EQ(image(CaseConvention::Mixed), "Mixed");
}

TEST(AcceptedSpellingsSet, ComparesExactlyAndReportsDuplicates) {
  AcceptedSpellings accepted;
  EXPECT_TRUE(accepted.empty());
  EXPECT_TRUE(accepted.add("My_IO"));
  EXPECT_FALSE(accepted.add("My_IO"));
  EXPECT_TRUE(accepted.add("my_io"));
  EXPECT_EQ(accepted.size(), 2u);
  EXPECT_TRUE(accepted.contains("My_IO"));
  EXPECT_FALSE(accepted.contains("MY_IO"));
  accepted.clear();
  EXPECT_FALSE(accepted.contains("My_IO"));
}

}  // namespace
}  // namespace flawseek
