// Tests of the name tables: contents, case-blind lookup, the two attribute
// tables and the designators handed to the attribute hooks.
#include "frontend/name_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "frontend/ada_token_lists.h"
#include "frontend/text_parser.h"

namespace flawseek {
namespace {

TEST(NameTables, SizesAndOrder) {
  EXPECT_EQ(name_table_entries(NameTable::StandardAttributes).size(), 87u);
  EXPECT_EQ(name_table_entries(NameTable::ExtendedAttributes).size(), 171u);
  EXPECT_EQ(name_table_entries(NameTable::SqlClauseWords).size(), 8u);
  EXPECT_EQ(name_table_entries(NameTable::BooleanLiterals).size(), 2u);
  EXPECT_EQ(name_table_entries(NameTable::PredefinedTypes).size(), 13u);
  // The extended table starts with the standard one, in the same order.
  const auto standard = name_table_entries(NameTable::StandardAttributes);
  const auto extended = name_table_entries(NameTable::ExtendedAttributes);
  for (std::size_t i = 0; i < standard.size(); ++i) EXPECT_EQ(standard[i], extended[i]);
  EXPECT_EQ(standard.front(), "address");
  EXPECT_EQ(standard.back(), "wide_wide_width");
  EXPECT_EQ(extended[87], "abort_signal");
  EXPECT_EQ(extended[132], "word_size");
  EXPECT_EQ(extended.back(), "put_image");
  // No entry is listed twice, and every entry finds itself.
  for (int t = 0; t < name_table_count; ++t) {
    const auto table = static_cast<NameTable>(t);
    std::set<std::string_view> seen;
    const auto entries = name_table_entries(table);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_TRUE(seen.insert(entries[i]).second) << entries[i];
      EXPECT_EQ(find_word(table, entries[i]), static_cast<int>(i)) << entries[i];
    }
  }
}

TEST(NameTables, LookupIgnoresCase) {
  const struct {
    NameTable table;
    const char* text;
    bool found;
  } cases[] = {
      {NameTable::StandardAttributes, "FIRST", true},
      {NameTable::StandardAttributes, "First", true},
      {NameTable::StandardAttributes, "first", true},
      {NameTable::StandardAttributes, "Max_Size_In_Storage_Elements", true},
      {NameTable::StandardAttributes, "firs", false},
      {NameTable::StandardAttributes, "first_", false},
      {NameTable::StandardAttributes, "", false},
      {NameTable::StandardAttributes, "Img", false},
      {NameTable::ExtendedAttributes, "Img", true},
      {NameTable::ExtendedAttributes, "IMG", true},
      {NameTable::ExtendedAttributes, "First", true},
      {NameTable::StandardAttributes, "Vads_Size", false},
      {NameTable::ExtendedAttributes, "Vads_Size", false},
      {NameTable::ExtendedAttributes, "VADS_SIZS", true},
      {NameTable::SqlStart, "EXEC", true},
      {NameTable::SqlStart, "where", false},
      {NameTable::SqlClauseWords, "Where", true},
      {NameTable::SqlClauseWords, "insert", false},
      {NameTable::SqlInsert, "INSERT", true},
      {NameTable::SqlInto, "Into", true},
      {NameTable::SqlFrom, "from", true},
      {NameTable::BooleanLiterals, "true", true},
      {NameTable::BooleanLiterals, "False", true},
      {NameTable::BooleanLiterals, "Truth", false},
      {NameTable::PredefinedTypes, "Boolean", true},
      {NameTable::PredefinedTypes, "wide_string", true},
      {NameTable::PredefinedTypes, "Long_Long_Integer", false},
      // Latin-1 letters fold too, and never equal an ASCII entry.
      {NameTable::StandardAttributes, "Siz\xC9", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(is_word(c.table, c.text), c.found) << c.text << " in table " << static_cast<int>(c.table);
  }
}

TEST(NameTables, AttributeTableSelection) {
  EXPECT_EQ(attribute_table(false), NameTable::StandardAttributes);
  EXPECT_EQ(attribute_table(true), NameTable::ExtendedAttributes);
  EXPECT_FALSE(is_word(attribute_table(false), "Unrestricted_Access"));
  EXPECT_TRUE(is_word(attribute_table(true), "Unrestricted_Access"));
}

TEST(NameTables, DesignatorsAreLowerCase) {
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "SIZE"), "size");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "Identity"), "identity");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "Class"), "class");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "Access"), "access");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "DELTA"), "delta");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "Digits"), "digits");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "Mod"), "mod");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "STREAM_SIZE"), "stream_size");
  EXPECT_EQ(attribute_designator(NameTable::ExtendedAttributes, "Range"), "range");
  EXPECT_EQ(attribute_designator(NameTable::StandardAttributes, "Img"), "");
  EXPECT_EQ(attribute_designator(NameTable::ExtendedAttributes, "Img"), "img");
  EXPECT_EQ(attribute_designator(NameTable::ExtendedAttributes, "Vads_Size"), "");
}

// Which tokens the parser may take as a word of a table.
TEST(NameTables, TokenTestTakesIdentifiersAndNumbersOnly) {
  TextParser scanner = make_ada_scanner(nullptr);
  std::string line = "First 'First' Digits exec 12 range";
  scanner.set_text(&line, 1);
  const struct {
    NameTable table;
    bool found;
  } expected[] = {
      {NameTable::StandardAttributes, true},   // First
      {NameTable::StandardAttributes, false},  // ' (a symbol)
      {NameTable::StandardAttributes, true},   // First
      {NameTable::StandardAttributes, false},  // '
      {NameTable::StandardAttributes, false},  // Digits is a keyword token
      {NameTable::SqlStart, true},             // exec
      {NameTable::SqlStart, false},            // 12
      {NameTable::StandardAttributes, false},  // range is a keyword token
  };
  for (const auto& e : expected) {
    ASSERT_TRUE(scanner.next_token());
    EXPECT_EQ(is_word(e.table, scanner), e.found) << scanner.token_text();
  }
  EXPECT_FALSE(scanner.next_token());
  EXPECT_FALSE(is_word(NameTable::StandardAttributes, scanner));
}

TEST(NameTables, LaterAttributesFromTheirLevelOn) {
  constexpr NameTable standard = NameTable::StandardAttributes;
  EXPECT_EQ(attribute_designator(standard, "Old", AdaVersion::ADA_2005), "");
  EXPECT_EQ(attribute_designator(standard, "Old", AdaVersion::ADA_2012), "old");
  EXPECT_EQ(attribute_designator(standard, "LOOP_ENTRY", AdaVersion::ADA_2012), "loop_entry");
  EXPECT_EQ(attribute_designator(standard, "Reduce", AdaVersion::ADA_2012), "");
  EXPECT_EQ(attribute_designator(standard, "Reduce", AdaVersion::ADA_2022), "reduce");
  // The extended table has GNAT's at every level.
  EXPECT_EQ(attribute_designator(NameTable::ExtendedAttributes, "Result", AdaVersion::ADA_95), "result");
  EXPECT_EQ(attribute_designator(standard, "PUT_IMAGE", AdaVersion::ADA_2012), "");
  EXPECT_EQ(attribute_designator(standard, "Put_Image", AdaVersion::ADA_2022), "put_image");
}

}  // namespace
}  // namespace flawseek
