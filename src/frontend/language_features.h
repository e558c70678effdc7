// The constructs that came with the later language levels, each with the level
// it came in: the one place the parser asks whether the file's level has a
// construct, so that a production never compares levels itself.
#pragma once

#include <array>
#include <cstdint>

#include "frontend/ada_version.h"

namespace flawseek {

enum class LanguageFeature : std::uint8_t {
  // Ada 2005
  INTERFACE_TYPES,          // type I is interface; and progenitors
  OVERRIDING_INDICATORS,    // overriding / not overriding
  NULL_PROCEDURES,          // procedure P is null;
  EXTENDED_RETURN,          // return R : T do ... end return;
  LIMITED_AND_PRIVATE_WITH, // limited with / private with
  NULL_EXCLUSIONS,          // not null
  ABSTRACT_FORMAL_SUBPROGRAMS,  // with function F return T is abstract;
  TAGGED_INCOMPLETE_TYPES,  // type T is tagged;
  ANONYMOUS_ACCESS,         // access T for objects, components and results
  RAISE_WITH_MESSAGE,       // raise E with "text"
  BOX_IN_AGGREGATES,        // (A => <>, others => <>)
  // Ada 2012
  ASPECT_SPECIFICATIONS,    // with Pre => ..., Size => 32
  EXPRESSION_FUNCTIONS,     // function F return T is (expression);
  CONDITIONAL_EXPRESSIONS,  // (if C then A else B), (case X is when ... => ...)
  QUANTIFIED_EXPRESSIONS,   // (for all X of C => P (X))
  ITERATOR_LOOPS,           // for X of C loop
  MEMBERSHIP_CHOICES,       // X in A | B .. C
  IN_OUT_FUNCTION_PARAMETERS,
  ALIASED_PARAMETERS,
  FORMAL_INCOMPLETE_TYPES,  // generic type T; / type T is tagged;
  RAISE_EXPRESSIONS,        // (if C then X else raise E)
  USE_ALL_TYPE,             // use all type T;
  FINAL_LABELS,             // <<Done>> just before END: a label ends a sequence
  // Ada 2022
  TARGET_NAME,              // X := @ + 1;
  DELTA_AGGREGATES,         // (R with delta C => 1)
  BRACKET_AGGREGATES,       // [1, 2, 3], [for I in 1 .. N => I]
  ITERATED_ASSOCIATIONS,    // (for I in 1 .. N => I)
  DECLARE_EXPRESSIONS,      // (declare X : constant T := F; begin X + 1)
  REDUCTION_EXPRESSIONS,    // A'Reduce ("+", 0)
  ITERATOR_FILTERS,         // for X of C when X > 0 loop
  PARALLEL_CONSTRUCTS,      // parallel do ... and ... end do; parallel for
};

inline constexpr int language_feature_count = 31;
static_assert(static_cast<int>(LanguageFeature::PARALLEL_CONSTRUCTS) + 1 == language_feature_count);

// The features stand grouped by the level they came in, and the first of
// each group says where its level begins: a row added inside a group takes
// the group's level.
inline constexpr LanguageFeature first_feature_of_ada_2012 = LanguageFeature::ASPECT_SPECIFICATIONS;
inline constexpr LanguageFeature first_feature_of_ada_2022 = LanguageFeature::TARGET_NAME;

constexpr AdaVersion introduced_in(LanguageFeature feature) {
  if (feature >= first_feature_of_ada_2022) return AdaVersion::ADA_2022;
  if (feature >= first_feature_of_ada_2012) return AdaVersion::ADA_2012;
  return AdaVersion::ADA_2005;
}

constexpr bool has_feature(AdaVersion version, LanguageFeature feature) {
  return at_least(version, introduced_in(feature));
}

}  // namespace flawseek
