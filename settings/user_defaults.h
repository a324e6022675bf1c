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

// One of the default settings: its key as the file spells it, its program default, used
// wherever the user's cannot be (a number is written unquoted, a choice as its list text), and
// for a number the field that shows it.
struct SettingSpec
{
    QLatin1StringView key;
    std::variant<SulphiteSource, SourceForm, BatchUnit, TargetKind, double> programDefault;
    std::optional<InputField> field = std::nullopt; // the numeric field a number is shown in

    constexpr bool isNumber() const { return std::holds_alternative<double>(programDefault); }
};

// The default settings, in the order the file holds them.
inline constexpr std::array DefaultSettings{
    SettingSpec{QLatin1StringView("source"), SulphiteSource::PotassiumMetabisulphite},
    SettingSpec{QLatin1StringView("form"), SourceForm::Powder},
    SettingSpec{QLatin1StringView("batchunits"), BatchUnit::USGallon},
    SettingSpec{QLatin1StringView("batchsize"), 5.0, InputField::BatchSize},
    SettingSpec{QLatin1StringView("solution"), 10.0, InputField::Solution},
    SettingSpec{QLatin1StringView("tablet"), 0.44, InputField::TabWeight},
    SettingSpec{QLatin1StringView("target"), TargetKind::TotalFree},
};

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

// The program default of a setting as a store value (list texts as the lists show them).
SettingValue ProgramDefault(const SettingSpec& setting);

// The text a field shows for a stored value: numbers and number texts in the standard
// format, any other text unchanged.
QString FieldText(const SettingValue& value);

} // namespace ardovin
