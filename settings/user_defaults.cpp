#include "settings/user_defaults.h"

#include "core/numbers.h"

namespace ardovin {

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

SettingValue ProgramDefault(const SettingSpec& setting)
{
    return std::visit(
        [](auto value) -> SettingValue {
            if constexpr (std::is_same_v<decltype(value), double>)
                return value;
            else
                return ListText(value);
        },
        setting.programDefault);
}

QString FieldText(const SettingValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        return FormatStandard(*number);
    return FormatStandard(std::get<QString>(value));
}

} // namespace ardovin
