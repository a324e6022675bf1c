#pragma once

#include "core/wine.h"

#include <array>
#include <limits>
#include <optional>

namespace ardovin {

// A range of residual sugar (g/L), each end open or closed.
struct SugarRange
{
    double low = 0;
    bool lowIncluded = true;
    double high = std::numeric_limits<double>::infinity();
    bool highIncluded = false;

    constexpr bool contains(double sugar) const
    {
        return (lowIncluded ? sugar >= low : sugar > low) &&
               (highIncluded ? sugar <= high : sugar < high);
    }
};

// One legal maximum of total SO2: the rule set and the row it is, where it comes from, how the
// source words its unit, the wines it applies to, and the limit in mg/L.
struct LegalLimitRow
{
    LegalRules rules;
    const char* row;    // the wines it covers, as a warning names them
    const char* source; // the text of law or code
    const char* unitWording;
    std::optional<WineColour> colour; // none: every colour
    SugarRange sugar;                 // what the source measures sugar as is in the row's words
    double limit;                     // mg/L
};

inline constexpr double Infinite = std::numeric_limits<double>::infinity();
inline constexpr SugarRange EuBelow5{0, true, 5, false};
inline constexpr SugarRange EuFrom5{5, true, Infinite, false};
inline constexpr SugarRange AustraliaUpTo35{0, true, 35, true};
inline constexpr SugarRange AustraliaOver35{35, false, Infinite, false};
inline constexpr SugarRange OivUpTo4{0, true, 4, true};
inline constexpr SugarRange OivOver4{4, false, Infinite, false};
inline constexpr SugarRange AnySugar{};

inline constexpr const char* EuSource = "Regulation (EU) 2019/934, Annex I B";
inline constexpr const char* UsSource = "27 CFR 4.22(b)(1)";
inline constexpr const char* AustraliaSource = "Food Standards Code, Standard 4.5.1";
inline constexpr const char* OivSource = "OIV International Code of Oenological Practices";

// Still wines only: the EU's limits for sparkling, liqueur and the listed special wines are not
// modelled (see StillWinesOnly).
inline constexpr std::array LegalLimits{
    LegalLimitRow{LegalRules::EU, "red wine, glucose and fructose below 5 g/L", EuSource, "mg/l",
                  WineColour::Red, EuBelow5, 150},
    LegalLimitRow{LegalRules::EU, "white wine, glucose and fructose below 5 g/L", EuSource, "mg/l",
                  WineColour::White, EuBelow5, 200},
    LegalLimitRow{LegalRules::EU, "rosé wine, glucose and fructose below 5 g/L", EuSource, "mg/l",
                  WineColour::Rose, EuBelow5, 200},
    LegalLimitRow{LegalRules::EU, "red wine, glucose and fructose 5 g/L or more", EuSource, "mg/l",
                  WineColour::Red, EuFrom5, 200},
    LegalLimitRow{LegalRules::EU, "white wine, glucose and fructose 5 g/L or more", EuSource,
                  "mg/l", WineColour::White, EuFrom5, 250},
    LegalLimitRow{LegalRules::EU, "rosé wine, glucose and fructose 5 g/L or more", EuSource, "mg/l",
                  WineColour::Rose, EuFrom5, 250},
    LegalLimitRow{LegalRules::UnitedStates, "wine", UsSource, "parts per million (taken as mg/L)",
                  std::nullopt, AnySugar, 350},
    LegalLimitRow{LegalRules::Australia, "wine, residual sugar up to 35 g/L", AustraliaSource,
                  "mg/L", std::nullopt, AustraliaUpTo35, 250},
    LegalLimitRow{LegalRules::Australia, "wine, residual sugar over 35 g/L", AustraliaSource,
                  "mg/L", std::nullopt, AustraliaOver35, 300},
    LegalLimitRow{LegalRules::OIV, "red wine, reducing substances up to 4 g/L", OivSource, "mg/l",
                  WineColour::Red, OivUpTo4, 150},
    LegalLimitRow{LegalRules::OIV, "white wine, reducing substances up to 4 g/L", OivSource, "mg/l",
                  WineColour::White, OivUpTo4, 200},
    LegalLimitRow{LegalRules::OIV, "rosé wine, reducing substances up to 4 g/L", OivSource, "mg/l",
                  WineColour::Rose, OivUpTo4, 200},
    LegalLimitRow{LegalRules::OIV, "wine, reducing substances over 4 g/L", OivSource, "mg/l",
                  std::nullopt, OivOver4, 300},
};

// The row that sets a batch's limit; none where the batch follows no rules, or where its rules
// do not model its kind of wine (the EU's sparkling, liqueur and special wines).
std::optional<LegalLimitRow> LegalLimitFor(LegalRules rules, WineColour colour, WineType type,
                                           double residualSugar);

// The rules whose limits Ardovin models for still wines only.
bool StillWinesOnly(LegalRules rules);

} // namespace ardovin
