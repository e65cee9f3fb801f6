// The search flag word that a compile hands down to every term of an expression.
#pragma once

namespace sorbex {

constexpr unsigned kSearchMethodMask = 0x0F;
constexpr unsigned kSearchMethodStandard = 1;
constexpr unsigned kSearchMethodPhonetic = 2;
constexpr unsigned kSearchWholeWords = 0x10;
constexpr unsigned kSearchMatchCase = 0x20;

} // namespace sorbex
