#include "settings/settings_format.h"

#include "core/numbers.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <iterator>

namespace ardovin {

namespace {

// ---- Reading ----

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool EndsField(char c)
{
    return c == ',' || c == '\r' || c == '\n';
}

struct Field
{
    QByteArrayView text;
    bool quoted = false;
};

// Splits the bytes into fields. Every byte is looked at a bounded number of times, so even
// hostile files are read in linear time.
class FieldScanner
{
public:
    explicit FieldScanner(QByteArrayView bytes) : bytes_(bytes) {}

    bool atEnd() const { return position_ >= bytes_.size(); }

    Field next()
    {
        skipWhile(IsBlank);
        const Field field = startsQuoted() ? readQuoted() : readUnquoted();
        // Whatever follows a closing quote is not part of the field.
        skipWhile([](char c) { return !EndsField(c); });
        skipFieldEnd();
        return field;
    }

private:
    template <typename Predicate> void skipWhile(Predicate predicate)
    {
        while (!atEnd() && predicate(bytes_[position_]))
            ++position_;
    }

    bool startsQuoted() const { return !atEnd() && bytes_[position_] == '"'; }

    // Runs to the next quote, across commas and line ends; an unclosed quote runs to the end.
    Field readQuoted()
    {
        const qsizetype start = ++position_;
        qsizetype close = bytes_.indexOf('"', start);
        if (close < 0)
            close = bytes_.size();
        position_ = std::min(close + 1, bytes_.size());
        return {bytes_.sliced(start, close - start), true};
    }

    Field readUnquoted()
    {
        const qsizetype start = position_;
        skipWhile([](char c) { return !EndsField(c); });
        qsizetype end = position_;
        while (end > start && IsBlank(bytes_[end - 1]))
            --end;
        return {bytes_.sliced(start, end - start), false};
    }

    // A comma, or a line end in any of its three forms.
    void skipFieldEnd()
    {
        if (atEnd())
            return;
        const char terminator = bytes_[position_++];
        if (terminator == '\r' && !atEnd() && bytes_[position_] == '\n')
            ++position_;
    }

    QByteArrayView bytes_;
    qsizetype position_ = 0;
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

qsizetype SkipDigits(QByteArrayView text, qsizetype i)
{
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

qsizetype SkipSign(QByteArrayView text, qsizetype i)
{
    return i < text.size() && (text[i] == '+' || text[i] == '-') ? i + 1 : i;
}

// Sign, digits with at most one period, at least one digit, then an optional exponent. Only
// this form counts: "inf", "nan" and hexadecimal are texts, whatever the C library accepts.
bool HasFileNumberForm(QByteArrayView text)
{
    qsizetype i = SkipSign(text, 0);
    const qsizetype mantissaStart = i;
    i = SkipDigits(text, i);
    qsizetype digits = i - mantissaStart;
    if (i < text.size() && text[i] == '.') {
        const qsizetype fractionStart = ++i;
        i = SkipDigits(text, i);
        digits += i - fractionStart;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const qsizetype exponentStart = SkipSign(text, i + 1);
        i = SkipDigits(text, exponentStart);
        if (i == exponentStart)
            return false;
    }
    return i == text.size();
}

// The file's numbers use the period whatever the user's locale: they are read in C terms.
std::optional<double> ReadFileNumber(QByteArrayView text)
{
    if (!HasFileNumberForm(text))
        return std::nullopt;
    if (text.startsWith('+'))
        text = text.sliced(1);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    // A number beyond double precision stays a text; the field shows it as written and the
    // validation judges it then.
    if (error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString KeyOf(const Field& field)
{
    return QString::fromLatin1(field.text);
}

SettingValue ValueOf(const Field& field)
{
    if (!field.quoted) {
        if (const auto number = ReadFileNumber(field.text))
            return *number;
    }
    return QString::fromLatin1(field.text);
}

// ---- Writing ----

// Up to seven significant digits, as single-precision numbers have always been written here.
constexpr int FileDigits = 7;

// "1.5e+07" as the file writes it: no trailing zeros in the mantissa, a capital E.
QByteArray ExponentForm(QByteArrayView scientific)
{
    const qsizetype e = scientific.indexOf('e');
    if (e < 0)
        return scientific.toByteArray().toUpper(); // infinity or NaN
    QByteArray mantissa = scientific.first(e).toByteArray();
    if (mantissa.contains('.')) {
        while (mantissa.endsWith('0'))
            mantissa.chop(1);
        if (mantissa.endsWith('.'))
            mantissa.chop(1);
    }
    return mantissa + 'E' + scientific.sliced(e + 1).toByteArray();
}

// The shortest digits that read back to the same double.
QByteArray DoubleExponentForm(double value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, std::end(buffer), value, std::chars_format::scientific);
    return ExponentForm(QByteArrayView(buffer, result.ptr));
}

// Seven significant digits; an exponent only where the value needs one; no zero before the
// point of a value between -1 and 1.
QByteArray SingleForm(float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, std::end(buffer), static_cast<double>(value),
                                      std::chars_format::general, FileDigits);
    QByteArray text(buffer, result.ptr - buffer);
    if (text.contains('e'))
        return ExponentForm(text);
    if (text.startsWith("0."))
        text.remove(0, 1);
    else if (text.startsWith("-0."))
        text.remove(1, 1);
    return text;
}

QByteArray DoubleNumberText(double value)
{
    // Only a value read from the file can exceed single precision; it is written whole rather
    // than lost.
    if (!(std::fabs(value) <= FLT_MAX))
        return DoubleExponentForm(value);
    return ardovin::FileNumberText(static_cast<float>(value));
}

QByteArray Quoted(const QString& text)
{
    return '"' + text.toLatin1() + '"';
}

QByteArray RecordValue(const SettingSpec& setting, const SettingValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        return DoubleNumberText(*number);
    const QString& text = std::get<QString>(value);
    if (setting.isNumber()) {
        if (const auto single = ReadSingle(text))
            return FileNumberText(*single);
    }
    // A number text that does not read cannot come from the dialog, but it is kept, not lost.
    return Quoted(text);
}

} // namespace

LoadResult ParseSettings(QByteArrayView bytes, UserDefaults& store)
{
    FieldScanner scanner(bytes);
    while (!scanner.atEnd()) {
        const QString key = KeyOf(scanner.next());
        if (scanner.atEnd())
            return LoadResult::KeyWithoutValue;
        if (!store.add(key, ValueOf(scanner.next())))
            return LoadResult::RepeatedKey;
    }
    return LoadResult::Loaded;
}

QByteArray FileNumberText(float value)
{
    if (value == 0.0f)
        return "0"; // never "-0"
    return SingleForm(value);
}

QByteArray SettingsFileBytes(const UserDefaults& store)
{
    QByteArray bytes;
    for (const SettingSpec& setting : DefaultSettings) {
        const SettingValue value = store.find(setting.key).value_or(ProgramDefault(setting));
        bytes += Quoted(setting.key) + ',' + RecordValue(setting, value) + "\r\n";
    }
    return bytes;
}

} // namespace ardovin
