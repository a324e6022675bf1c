#pragma once

#include <optional>
#include <QString>

namespace ardovin {

// How one spin control steps its field: the up arrow adds the step, the down arrow subtracts
// it, and the result is held within the bounds.
struct SpinRule
{
    double step;
    double lower;
    std::optional<double> upper;
};

namespace SpinRules {
inline constexpr SpinRule BatchSize{1, 0, std::nullopt};
inline constexpr SpinRule Ph{0.1, 1, 14};
inline constexpr SpinRule ExistSO2{1, 0, std::nullopt};
inline constexpr SpinRule TargetSO2{1, 0, std::nullopt};
inline constexpr SpinRule TargetMolSO2{0.01, 0, std::nullopt};
inline constexpr SpinRule TabWeight{0.01, 0, std::nullopt};
inline constexpr SpinRule Solution{1, 1, 100};
} // namespace SpinRules

// The field text after one press, read in double precision: position -1 is the up arrow,
// +1 the down arrow. Nothing when the text does not read as a number.
std::optional<QString> SteppedText(const QString& text, int position, const SpinRule& rule);

// The bound to write when the text, read in single precision, lies outside the rule's bounds.
// A text that does not read (or is too large for single precision) counts as below the lower
// bound. Nothing when the value is within bounds.
std::optional<QString> BoundedText(const QString& text, const SpinRule& rule);

// The key filter of the numeric fields: the character code the field takes, or 0 to discard
// the key. Control characters (26 and below) pass; above that only "0123456789.,".
int FilterNumericKey(int keyCode);

// The same filter for text composed through an input method (a dead key, a compose key): the
// characters of a number stay, in order; every other character, control ones included, goes.
QString FilterNumericText(const QString& text);

} // namespace ardovin
