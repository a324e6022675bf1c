#include "ui/defaultsControls.h"

#include "core/numbers.h"
#include "ui/controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>

using namespace ardovin;

namespace {

// Selects the item that equals the text, letter case ignored; false when none does.
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

} // namespace

DefaultsControls::DefaultsControls(const Controls& controls,
                                   std::function<void(SourceForm)> formChosen)
    : Shown(controls), FormChosen(std::move(formChosen))
{
    for (std::size_t i = 0; i < DefaultSettings.size(); ++i)
        if (!Shown[i])
            qFatal("no control shows the default %s", DefaultSettings[i].key.data());
}

bool DefaultsControls::Show(QObject* control, const SettingValue& value) const
{
    const QString* text = std::get_if<QString>(&value);
    if (auto* list = qobject_cast<QComboBox*>(control))
        return text && SelectListItem(*list, *text); // a number matches no list item
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText(FieldText(value));
        return true;
    }
    if (const std::optional<SourceForm> form = text ? FormFromText(*text) : std::nullopt) {
        static_cast<QButtonGroup*>(control)->button(int(*form))->setChecked(true);
        FormChosen(*form);
    }
    return true;
}

bool DefaultsControls::ShowUserDefaults(const UserDefaults& store) const
{
    for (std::size_t i = 0; i < DefaultSettings.size(); ++i) {
        const std::optional<SettingValue> value = store.find(DefaultSettings[i].key);
        if (!value || !Show(Shown[i], *value))
            return false;
    }
    return true;
}

void DefaultsControls::ShowProgramDefaults() const
{
    for (std::size_t i = 0; i < DefaultSettings.size(); ++i)
        Show(Shown[i], ProgramDefault(DefaultSettings[i]));
}

void DefaultsControls::StoreShown(UserDefaults& store) const
{
    for (std::size_t i = 0; i < DefaultSettings.size(); ++i) {
        QObject* control = Shown[i];
        QString shown;
        if (auto* list = qobject_cast<QComboBox*>(control))
            shown = TrimBlanks(list->currentText());
        else if (auto* field = qobject_cast<QLineEdit*>(control))
            shown = FormatStandard(TrimBlanks(field->text()));
        else
            shown = ListText(SourceForm(static_cast<QButtonGroup*>(control)->checkedId()));
        store.set(DefaultSettings[i].key, shown);
    }
}
