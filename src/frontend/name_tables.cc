// The name tables: their entries in listed order and a case-blind hashed index
// over each, built once on first use.
#include "frontend/name_tables.h"

#include <array>
#include <vector>

#include "frontend/text_parser.h"
#include "frontend/text_utilities.h"
#include "platform/latin1.h"

namespace flawseek {

namespace {

// The language-defined attribute names (with the later standard's that GNAT
// accepts in Ada 95 mode), then the implementation-defined ones:
// first those the table has always held ("vads_sizs" spelled so), then the
// rest of those GNAT 12 documents as implementation defined.
constexpr std::array<std::string_view, 171> attribute_names = {
    "address", "adjacent", "aft", "alignment", "base", "bit_order", "body_version", "callable",
    "caller", "ceiling", "class", "component_size", "compose", "constrained", "copy_sign",
    "count", "definite", "denorm", "digits", "exponent", "external_tag", "first", "first_bit",
    "floor", "fore", "fraction", "identity", "image", "input", "last", "last_bit",
    "leading_part", "length", "machine", "machine_emax", "machine_emin", "machine_mantissa",
    "machine_overflows", "machine_radix", "machine_rounds", "max",
    "max_size_in_storage_elements", "min", "model", "model_emin", "model_epsilon",
    "model_mantissa", "model_small", "modulus", "output", "partition_id", "pos", "position",
    "pred", "read", "remainder", "round", "rounding", "safe_first", "safe_last", "scale",
    "scaling", "signed_zeros", "size", "small", "storage_pool", "storage_size", "succ", "tag",
    "terminated", "truncation", "unbiased_rounding", "unchecked_access", "val", "valid",
    "value", "version", "wide_image", "wide_value", "width", "write",
    // Attributes of the later standard that GNAT takes in Ada 95 mode too.
    "machine_rounding", "priority", "stream_size", "wide_wide_image", "wide_wide_value",
    "wide_wide_width", "abort_signal",
    "address_size", "asm_input", "asm_output", "ast_entry", "bit", "bit_position",
    "code_address", "default_bit_order", "elaborated", "elab_body", "elab_spec", "emax",
    "enum_rep", "epsilon", "fixed_value", "has_access_value", "has_discriminants", "img",
    "integer_value", "large", "machine_size", "mantissa", "max_interrupt_priority",
    "max_priority", "maximum_alignment", "mechanism_code", "null_parameter", "object_size",
    "passed_by_reference", "range_length", "safe_emax", "safe_large", "storage_unit",
    "target_name", "tick", "to_address", "type_class", "uet_address", "unconstrained_array",
    "universal_literal_string", "unrestricted_access", "vads_sizs", "value_size",
    "wchar_t_size", "word_size",
    // GNAT 12's further implementation-defined attributes.
    "atomic_always_lock_free", "compiler_version", "default_scalar_storage_order", "deref",
    "descriptor_size", "enabled", "enum_val", "fast_math", "finalization_size",
    "from_any", "has_access_values", "has_tagged_values", "initialized", "invalid_value",
    "iterable", "library_level", "lock_free", "loop_entry", "max_integer_size", "old",
    "pool_address", "restriction_set", "result", "safe_small", "scalar_storage_order",
    "simple_storage_pool", "small_denominator", "small_numerator", "stub_type",
    "system_allocator_alignment", "to_any", "type_key", "typecode", "update", "valid_scalars", "valid_value",
    // Ada 2022's, which GNAT 12 takes at every level (its own run-time units
    // use them).
    "preelaborable_initialization", "put_image",
};
constexpr std::size_t standard_attribute_count = 87;

constexpr std::array<std::string_view, 1> sql_start = {"exec"};
constexpr std::array<std::string_view, 8> sql_clause_words = {
    "exec", "group", "having", "set", "order", "union", "update", "where"};
constexpr std::array<std::string_view, 1> sql_insert = {"insert"};
constexpr std::array<std::string_view, 1> sql_into = {"into"};
constexpr std::array<std::string_view, 1> sql_from = {"from"};
constexpr std::array<std::string_view, 2> boolean_literals = {"FALSE", "TRUE"};
constexpr std::array<std::string_view, 13> predefined_types = {
    "BOOLEAN", "CHARACTER", "DURATION", "FLOAT", "INTEGER", "LONG_FLOAT", "LONG_INTEGER",
    "NATURAL", "POSITIVE", "SHORT_INTEGER", "STRING", "WIDE_CHARACTER", "WIDE_STRING"};

// The reserved words that are attribute designators: Ada 95's, and MOD, which
// GNAT takes in Ada 95 mode too.
constexpr std::array<std::string_view, 5> reserved_designators = {"access", "delta", "digits", "mod", "range"};

// The attributes a later level brings to the standard table, each with that
// level (the extended table has the GNAT ones at every level already).
struct LevelledAttribute {
  std::string_view name;
  AdaVersion level;
};
constexpr std::array<LevelledAttribute, 14> later_attributes = {{
    {"has_same_storage", AdaVersion::ADA_2012},
    {"loop_entry", AdaVersion::ADA_2012},
    {"max_alignment_for_allocation", AdaVersion::ADA_2012},
    {"old", AdaVersion::ADA_2012},
    {"overlaps_storage", AdaVersion::ADA_2012},
    {"result", AdaVersion::ADA_2012},
    {"update", AdaVersion::ADA_2012},
    {"enum_rep", AdaVersion::ADA_2022},
    {"enum_val", AdaVersion::ADA_2022},
    {"index", AdaVersion::ADA_2022},
    {"object_size", AdaVersion::ADA_2022},
    {"preelaborable_initialization", AdaVersion::ADA_2022},
    {"put_image", AdaVersion::ADA_2022},
    {"reduce", AdaVersion::ADA_2022},
}};

constexpr std::span<const std::string_view> entries_of(NameTable table) {
  switch (table) {
    case NameTable::StandardAttributes:
      return std::span<const std::string_view>(attribute_names).first(standard_attribute_count);
    case NameTable::ExtendedAttributes: return attribute_names;
    case NameTable::SqlStart: return sql_start;
    case NameTable::SqlClauseWords: return sql_clause_words;
    case NameTable::SqlInsert: return sql_insert;
    case NameTable::SqlInto: return sql_into;
    case NameTable::SqlFrom: return sql_from;
    case NameTable::BooleanLiterals: return boolean_literals;
    case NameTable::PredefinedTypes: return predefined_types;
  }
  return {};
}

constexpr auto lower_case_table = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = latin1::to_lower(static_cast<unsigned char>(c));
  return table;
}();

inline unsigned char fold(char c) { return lower_case_table[static_cast<unsigned char>(c)]; }

std::uint32_t folded_hash(std::string_view text) {
  std::uint32_t h = 2166136261u;
  for (char c : text) h = (h ^ fold(c)) * 16777619u;
  return h;
}

// An open-addressing index over one table: slot -> entry position + 1.
struct Index {
  std::vector<std::uint32_t> hashes;
  std::vector<int> slots;
  std::uint32_t mask = 0;
  std::size_t longest = 0;
};

struct Indexes {
  std::array<Index, name_table_count> by_table;
  Indexes() {
    for (int t = 0; t < name_table_count; ++t) {
      const auto entries = entries_of(static_cast<NameTable>(t));
      Index& index = by_table[t];
      std::size_t size = 8;
      while (size < entries.size() * 3) size *= 2;
      index.hashes.assign(size, 0);
      index.slots.assign(size, 0);
      index.mask = static_cast<std::uint32_t>(size - 1);
      for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::uint32_t h = folded_hash(entries[e]);
        std::uint32_t i = h & index.mask;
        while (index.slots[i] != 0) i = (i + 1) & index.mask;
        index.hashes[i] = h;
        index.slots[i] = static_cast<int>(e) + 1;
        if (entries[e].size() > index.longest) index.longest = entries[e].size();
      }
    }
  }
};

const Indexes& indexes() {
  static const Indexes built;
  return built;
}

}  // namespace

std::span<const std::string_view> name_table_entries(NameTable table) noexcept {
  return entries_of(table);
}

int find_word(NameTable table, std::string_view text) noexcept {
  const auto t = static_cast<std::size_t>(table);
  if (t >= name_table_count) return -1;
  const Index& index = indexes().by_table[t];
  if (text.empty() || text.size() > index.longest) return -1;
  const auto entries = entries_of(table);
  const std::uint32_t h = folded_hash(text);
  for (std::uint32_t i = h & index.mask; index.slots[i] != 0; i = (i + 1) & index.mask) {
    const int position = index.slots[i] - 1;
    if (index.hashes[i] == h && same_name(entries[position], text)) return position;
  }
  return -1;
}

bool is_word(NameTable table, const TextParser& scanner) noexcept {
  const TokenKind kind = scanner.token_kind();
  return (kind == TokenKind::Identifier || kind == TokenKind::Number) &&
         is_word(table, scanner.token_text());
}

std::string_view attribute_designator(NameTable table, std::string_view text, AdaVersion version) noexcept {
  const int position = find_word(table, text);
  if (position >= 0) return entries_of(table)[position];
  for (std::string_view word : reserved_designators)
    if (latin1::equal_ignoring_case(word, text)) return word;
  // Only a word the table lacks gets here: the few later ones are compared.
  for (const LevelledAttribute& later : later_attributes)
    if (at_least(version, later.level) && latin1::equal_ignoring_case(later.name, text)) return later.name;
  return {};
}

}  // namespace flawseek
