#include "settings/user_defaults.h"

#include "core/numbers.h"

#include <algorithm>

namespace ardovin {

namespace {

bool SameKey(QAnyStringView a, QAnyStringView b)
{
    return QAnyStringView::compare(a, b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool IsNumberSetting(QAnyStringView key)
{
    const std::array numberKeys{SettingKey::BatchSize, SettingKey::Solution, SettingKey::Tablet};
    return std::any_of(numberKeys.begin(), numberKeys.end(),
                       [&](QLatin1StringView numberKey) { return SameKey(key, numberKey); });
}

QString UserDefaults::Folded(QAnyStringView key)
{
    return key.toString().toCaseFolded();
}

std::optional<SettingValue> UserDefaults::find(QAnyStringView key) const
{
    const auto entry = entries_.constFind(Folded(key));
    if (entry == entries_.constEnd())
        return std::nullopt;
    return *entry;
}

bool UserDefaults::contains(QAnyStringView key) const
{
    return entries_.contains(Folded(key));
}

bool UserDefaults::add(QAnyStringView key, SettingValue value)
{
    QString folded = Folded(key);
    if (entries_.contains(folded))
        return false;
    entries_.emplace(std::move(folded), std::move(value));
    return true;
}

void UserDefaults::set(QAnyStringView key, SettingValue value)
{
    entries_.emplace(Folded(key), std::move(value));
}

std::optional<SettingValue> ProgramDefault(QAnyStringView key)
{
    const ProgramDefaultValues& defaults = ProgramDefaults;
    if (SameKey(key, SettingKey::Source))
        return ListText(defaults.Source);
    if (SameKey(key, SettingKey::Form))
        return ListText(defaults.Form);
    if (SameKey(key, SettingKey::BatchUnits))
        return ListText(defaults.BatchUnits);
    if (SameKey(key, SettingKey::BatchSize))
        return QString(defaults.BatchSizeText);
    if (SameKey(key, SettingKey::Solution))
        return QString(defaults.SolutionText);
    if (SameKey(key, SettingKey::Tablet))
        return defaults.TabletWeight;
    if (SameKey(key, SettingKey::Target))
        return ListText(defaults.Target);
    return std::nullopt;
}

QString FieldText(const SettingValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        return FormatStandard(*number);
    return FormatStandard(std::get<QString>(value));
}

} // namespace ardovin
