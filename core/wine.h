#pragma once

#include <array>
#include <optional>
#include <QString>

namespace ardovin {

// What the cellar book knows of a batch besides its chemistry.

enum class WineColour { Red, White, Rose };
// What kind of wine a batch is, as the legal limits tell wines apart.
enum class WineType { Still, Sparkling, Liqueur, Special };
// The rule sets a batch's legal limit of total SO2 comes from.
enum class LegalRules { None, EU, UnitedStates, Australia, OIV };

// Each colour, in the order its list shows them: its list text, its word in a cellar file, and
// the molecular SO2 (mg/L) a batch of it aims at unless it sets its own.
struct ColourRow
{
    WineColour colour;
    const char* listText;
    const char* savedText;
    double molecularTarget;
};
inline constexpr std::array Colours{
    ColourRow{WineColour::Red, "Red", "red", 0.5},
    ColourRow{WineColour::White, "White", "white", 0.8},
    ColourRow{WineColour::Rose, "Rosé", "rose", 0.8},
};

// Each kind of wine, in the order its list shows them: its list text, its word in a cellar file.
struct WineTypeRow
{
    WineType type;
    const char* listText;
    const char* savedText;
};
inline constexpr std::array WineTypes{
    WineTypeRow{WineType::Still, "Still", "still"},
    WineTypeRow{WineType::Sparkling, "Sparkling", "sparkling"},
    WineTypeRow{WineType::Liqueur, "Liqueur", "liqueur"},
    WineTypeRow{WineType::Special, "Other special wine", "special"},
};

// Each rule set, in the order its list shows them: its list text, its word in a cellar file.
struct RulesRow
{
    LegalRules rules;
    const char* listText;
    const char* savedText;
};
inline constexpr std::array RuleSets{
    RulesRow{LegalRules::None, "None", "none"},
    RulesRow{LegalRules::EU, "EU", "EU"},
    RulesRow{LegalRules::UnitedStates, "United States", "United States"},
    RulesRow{LegalRules::Australia, "Australia", "Australia"},
    RulesRow{LegalRules::OIV, "OIV", "OIV"},
};

inline constexpr const ColourRow& RowOf(WineColour colour)
{
    return Colours[std::size_t(colour)];
}
inline constexpr const WineTypeRow& RowOf(WineType type)
{
    return WineTypes[std::size_t(type)];
}
inline constexpr const RulesRow& RowOf(LegalRules rules)
{
    return RuleSets[std::size_t(rules)];
}

// The row of a table whose member has the text given, if any.
template <typename Row, std::size_t N>
std::optional<Row> RowByText(const std::array<Row, N>& table, const char* Row::*text,
                             const QString& wanted)
{
    for (const Row& row : table)
        if (wanted == QString::fromUtf8(row.*text))
            return row;
    return std::nullopt;
}

// The molecular SO2 a batch aims at: its own where it sets one, else its colour's.
inline double MolecularTarget(WineColour colour, std::optional<double> own)
{
    return own.value_or(RowOf(colour).molecularTarget);
}

} // namespace ardovin
