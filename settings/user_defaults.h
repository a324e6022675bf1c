#pragma once

#include "core/chemistry.h"

#include <array>
#include <optional>
#include <QAnyStringView>
#include <QHash>
#include <QLatin1StringView>
#include <QString>
#include <variant>

namespace ardovin {

// A setting as the file gives it: a text, or a number when the file wrote it unquoted.
using SettingValue = std::variant<QString, double>;

// The keys Ardovin uses, as the file spells them.
struct SettingKey
{
    static constexpr QLatin1StringView Source{"source"};
    static constexpr QLatin1StringView Form{"form"};
    static constexpr QLatin1StringView BatchUnits{"batchunits"};
    static constexpr QLatin1StringView BatchSize{"batchsize"};
    static constexpr QLatin1StringView Solution{"solution"};
    static constexpr QLatin1StringView Tablet{"tablet"};
    static constexpr QLatin1StringView Target{"target"};
};

// The order in which the file is written.
inline constexpr std::array<QLatin1StringView, 7> SettingKeysInFileOrder{
    SettingKey::Source,   SettingKey::Form,   SettingKey::BatchUnits, SettingKey::BatchSize,
    SettingKey::Solution, SettingKey::Tablet, SettingKey::Target};

// The settings written as numbers; the other four are list texts.
bool IsNumberSetting(QAnyStringView key);

// The user's defaults as read from the file and as last saved. Keys are compared ignoring
// letter case. Entries the program does not know are kept, so that a load can tell a key
// repeated in another case, but they are never written back.
class UserDefaults
{
public:
    std::optional<SettingValue> find(QAnyStringView key) const;
    bool contains(QAnyStringView key) const;

    // For an entry read from the file: refused, leaving the store as it was, when the key is
    // already present in any letter case.
    [[nodiscard]] bool add(QAnyStringView key, SettingValue value);

    // Replaces the entry, or adds it when absent.
    void set(QAnyStringView key, SettingValue value);

    qsizetype size() const { return entries_.size(); }
    bool isEmpty() const { return entries_.isEmpty(); }

private:
    static QString Folded(QAnyStringView key);

    QHash<QString, SettingValue> entries_;
};

// The program's own defaults, used wherever the user's cannot be: the main window's fallback
// at start-up, and the settings dialog's fallback and its restore button. Batch size and
// solution strength are field texts and the tablet weight a number; all three show the same
// way once formatted.
struct ProgramDefaultValues
{
    SulphiteSource Source;
    SourceForm Form;
    BatchUnit BatchUnits;
    QLatin1StringView BatchSizeText;
    QLatin1StringView SolutionText;
    double TabletWeight;
    TargetKind Target;
};

inline constexpr ProgramDefaultValues ProgramDefaults{
    SulphiteSource::PotassiumMetabisulphite,
    SourceForm::Powder,
    BatchUnit::USGallon,
    QLatin1StringView{"5"},
    QLatin1StringView{"10"},
    0.44,
    TargetKind::TotalFree,
};

// The program default of one of the seven settings as a store value (list texts as the lists
// show them); none for a key the program does not use.
std::optional<SettingValue> ProgramDefault(QAnyStringView key);

// The text a field shows for a stored value: numbers and number texts in the standard
// format, any other text unchanged.
QString FieldText(const SettingValue& value);

} // namespace ardovin
