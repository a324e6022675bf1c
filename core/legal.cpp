#include "core/legal.h"

namespace ardovin {

bool StillWinesOnly(LegalRules rules)
{
    return rules == LegalRules::EU;
}

std::optional<LegalLimitRow> LegalLimitFor(LegalRules rules, WineColour colour, WineType type,
                                           double residualSugar)
{
    if (StillWinesOnly(rules) && type != WineType::Still)
        return std::nullopt;
    for (const LegalLimitRow& row : LegalLimits)
        if (row.rules == rules && (!row.colour || *row.colour == colour) &&
            row.sugar.contains(residualSugar))
            return row;
    return std::nullopt;
}

} // namespace ardovin
