#include "core/entry.h"

#include "core/numbers.h"

namespace ardovin {

std::optional<QString> SteppedText(const QString& text, int position, const SpinRule& rule)
{
    const std::optional<double> value = ReadDouble(text);
    if (!value)
        return std::nullopt;
    return FormatStandard(*value - position * rule.step);
}

std::optional<QString> BoundedText(const QString& text, const SpinRule& rule)
{
    const std::optional<float> value = ReadSingle(text);
    if (!value || *value < static_cast<float>(rule.lower))
        return FormatStandard(rule.lower);
    if (rule.upper && *value > static_cast<float>(*rule.upper))
        return FormatStandard(*rule.upper);
    return std::nullopt;
}

namespace {

bool IsNumberCharacter(int code)
{
    static const QString accepted = QStringLiteral("0123456789.,");
    return code <= 0xFFFF && accepted.contains(QChar(code));
}

} // namespace

int FilterNumericKey(int keyCode)
{
    constexpr int LastControlCharacter = 26; // Ctrl+Z; Escape (27) and above are filtered
    return keyCode <= LastControlCharacter || IsNumberCharacter(keyCode) ? keyCode : 0;
}

QString FilterNumericText(const QString& text)
{
    QString kept;
    for (QChar c : text)
        if (IsNumberCharacter(c.unicode()))
            kept += c;
    return kept;
}

} // namespace ardovin
