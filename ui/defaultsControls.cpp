#include "ui/defaultsControls.h"

#include "core/numbers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace ardovin;

namespace {

// A stored list entry as text; a number matches no list item.
std::optional<QString> StoredText(const UserDefaults& store, QLatin1StringView key)
{
    const std::optional<SettingValue> value = store.find(key);
    if (!value || !std::holds_alternative<QString>(*value))
        return std::nullopt;
    return std::get<QString>(*value);
}

bool SelectStored(const UserDefaults& store, QLatin1StringView key, QComboBox& list)
{
    const std::optional<QString> text = StoredText(store, key);
    return text && SelectListItem(list, *text);
}

bool ShowStored(const UserDefaults& store, QLatin1StringView key, QLineEdit& field)
{
    const std::optional<SettingValue> value = store.find(key);
    if (!value)
        return false;
    field.setText(FieldText(*value));
    return true;
}

void ChooseForm(const DefaultsControls& controls, SourceForm form)
{
    OptionFor(controls, form)->setChecked(true);
    if (controls.formChosen)
        controls.formChosen(form);
}

} // namespace

bool SelectListItem(QComboBox& list, const QString& text)
{
    for (int i = 0; i < list.count(); ++i) {
        if (list.itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
            list.setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

QRadioButton* OptionFor(const DefaultsControls& controls, SourceForm form)
{
    switch (form) {
    case SourceForm::Tablet:
        return controls.optTablet;
    case SourceForm::Solution:
        return controls.optSolution;
    case SourceForm::Powder:
        break;
    }
    return controls.optPowder;
}

bool ApplyUserDefaults(const UserDefaults& store, const DefaultsControls& controls)
{
    if (!SelectStored(store, SettingKey::Source, *controls.cboForm))
        return false;
    const std::optional<SettingValue> form = store.find(SettingKey::Form);
    if (!form)
        return false;
    if (std::holds_alternative<QString>(*form))
        if (const std::optional<SourceForm> chosen = FormFromText(std::get<QString>(*form)))
            ChooseForm(controls, *chosen);
    return SelectStored(store, SettingKey::BatchUnits, *controls.cboBatch) &&
           ShowStored(store, SettingKey::Solution, *controls.txtSolution) &&
           ShowStored(store, SettingKey::Tablet, *controls.txtTabWeight) &&
           ShowStored(store, SettingKey::BatchSize, *controls.txtBatchSize) &&
           SelectStored(store, SettingKey::Target, *controls.cboTarget);
}

void ApplyProgramDefaults(const DefaultsControls& controls)
{
    SelectListItem(*controls.cboForm, ListText(ProgramDefaults.Source));
    ChooseForm(controls, ProgramDefaults.Form);
    SelectListItem(*controls.cboBatch, ListText(ProgramDefaults.BatchUnits));
    controls.txtSolution->setText(FormatStandard(QString(ProgramDefaults.SolutionText)));
    controls.txtBatchSize->setText(FormatStandard(QString(ProgramDefaults.BatchSizeText)));
    SelectListItem(*controls.cboTarget, ListText(ProgramDefaults.Target));
    controls.txtTabWeight->setText(FormatStandard(ProgramDefaults.TabletWeight));
}
