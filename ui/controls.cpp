#include "ui/controls.h"

#include "ui/modProc.h"

#include <algorithm>
#include <map>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace ardovin {

namespace {

QWidget* NewControl(ControlKind kind, const QString& caption, const QString& accessibleName,
                    QWidget* parent)
{
    switch (kind) {
    case ControlKind::Panel:
        return new QWidget(parent);
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::Label:
    case ControlKind::RightLabel: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment((kind == ControlKind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) |
                            Qt::AlignVCenter);
        return label;
    }
    case ControlKind::ResultLabel: {
        auto* label = new QLabel;
        modProc::ReadAsResult(*label, accessibleName);
        label->setParent(parent);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The user cannot change a result, but may select and copy it; Tab still passes it by.
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        label->setFocusPolicy(Qt::ClickFocus);
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
        label->setAutoFillBackground(true);
        label->setMargin(2);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, LightGrey());
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        return label;
    }
    case ControlKind::TextField: {
        auto* field = new QLineEdit(parent);
        field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        modProc::AttachNumericKeyFilter(*field);
        return field;
    }
    case ControlKind::Spin: {
        auto* spin = new QScrollBar(Qt::Vertical, parent);
        modProc::SetUpSpinControl(*spin);
        return spin;
    }
    case ControlKind::List:
        return new QComboBox(parent);
    case ControlKind::Option:
        return new QRadioButton(caption, parent);
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    }
    return nullptr;
}

// Whether every item of the list shows whole in the font.
bool ItemsFit(const QComboBox& list, const QFont& font)
{
    QStyleOptionComboBox option;
    option.initFrom(&list);
    option.fontMetrics = QFontMetrics(font);
    const int room =
        list.style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &list)
            .width();
    for (int i = 0; i < list.count(); ++i)
        if (option.fontMetrics.horizontalAdvance(list.itemText(i)) > room)
            return false;
    return true;
}

// Lists use the smaller font of the window; where the system's font is wider than the one the
// layout was drawn for, it shrinks in quarter points until the longest item shows whole. Sizes
// are tried on their metrics alone and the list takes only the one chosen: a font set on a
// widget is polished into it and its children every time.
void FitListFont(QComboBox& list)
{
    constexpr qreal ListPointSize = 8.25;
    constexpr qreal SmallestPointSize = 6.5;
    QFont font = modProc::ProgramFont(ListPointSize);
    while (!ItemsFit(list, font) && font.pointSizeF() > SmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    list.setFont(font);
}

} // namespace

QWidget* CreateControl(ControlKind kind, const char* name, QWidget* parent, QRect twips,
                       const char* caption, const char* tooltip, const char* accessibleName,
                       QStringList (*items)(), const QFont& font)
{
    const QString text = QString::fromUtf8(caption ? caption : "");
    const QString readName =
        accessibleName ? QString::fromUtf8(accessibleName) : QString(text).remove(u'&').trimmed();
    QWidget* control = NewControl(kind, text, readName, parent);
    control->setObjectName(QString::fromLatin1(name));
    if (kind != ControlKind::List)
        control->setFont(font);
    control->setGeometry(Twips(twips.left()), Twips(twips.top()), Twips(twips.width()),
                         Twips(twips.height()));
    if (auto* list = qobject_cast<QComboBox*>(control))
        FillList(*list, items ? items() : caption ? text.split(u'|') : QStringList());
    if (tooltip) {
        control->setToolTip(QString::fromUtf8(tooltip));
        control->setAccessibleDescription(control->toolTip());
    }
    if (kind != ControlKind::ResultLabel)
        control->setAccessibleName(readName);
    return control;
}

void NameList(QComboBox& list, QLabel* caption)
{
    if (!caption) {
        // Off screen: the layout has no room for it, a screen reader needs it.
        caption = new QLabel(list.accessibleName(), list.parentWidget());
        caption->setObjectName(list.objectName() + QStringLiteral("Caption"));
        caption->hide();
    }
    caption->setBuddy(&list);
}

void SetTabOrder(const std::map<int, QWidget*>& numbered)
{
    QWidget* previous = nullptr;
    for (const auto& [index, control] : numbered) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

std::size_t SettingIndex(const char* key)
{
    for (std::size_t i = 0; i < DefaultSettings.size(); ++i)
        if (DefaultSettings[i].key == QLatin1StringView(key))
            return i;
    qFatal("no default setting %s", key);
}

QStringList SavedBatchUnitItems()
{
    QStringList items;
    for (const BatchUnitRow& row : BatchUnits)
        items << QString::fromLatin1(row.savedText);
    return items;
}

void AddToField(BuiltControls& built, InputField id, QWidget* control, SpinRule rule,
                bool zeroFilledByCalculate)
{
    auto found = std::find_if(built.fields.begin(), built.fields.end(),
                              [id](const FieldControls& f) { return f.id == id; });
    FieldControls& f =
        found != built.fields.end() ? *found : built.fields.emplace_back(FieldControls{id});
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        f.field = field;
        f.rule = rule;
        f.zeroFilledByCalculate = zeroFilledByCalculate;
    } else if (auto* spin = qobject_cast<QScrollBar*>(control)) {
        f.spin = spin;
    } else {
        f.unit = qobject_cast<QLabel*>(control);
    }
}

void FindDefaultFields(BuiltControls& built)
{
    for (std::size_t i = 0; i < DefaultSettings.size(); ++i)
        for (const FieldControls& f : built.fields)
            if (DefaultSettings[i].field == f.id)
                built.defaults[i] = f.field;
}

void ConnectSpinControls(const std::vector<FieldControls>& fields)
{
    for (const FieldControls& f : fields) {
        if (!f.field || !f.spin) // a layout that leaves one out fails at once, in every build
            qFatal("field %d lacks its field or spin control", int(f.id));
        ConnectSpinControl(*f.spin, *f.field, f.rule);
    }
}

QLineEdit* FieldOf(const std::vector<FieldControls>& fields, InputField id)
{
    for (const FieldControls& f : fields)
        if (f.id == id)
            return f.field;
    qFatal("no field %d", int(id));
}

void EnableAmountFields(const std::vector<FieldControls>& fields, SourceForm chosen)
{
    for (const FormRow& form : Forms)
        for (const FieldControls& f : fields)
            if (form.amountField == f.id)
                for (QWidget* control :
                     {static_cast<QWidget*>(f.field), static_cast<QWidget*>(f.spin),
                      static_cast<QWidget*>(f.unit)})
                    if (control)
                        control->setEnabled(form.form == chosen);
}

void FillList(QComboBox& list, const QStringList& items)
{
    list.clear();
    list.addItems(items);
    list.setCurrentIndex(-1);
    FitListFont(list);
}

QColor LightGrey()
{
    return QColor(224, 224, 224);
}

void ConnectSpinControl(QScrollBar& spin, QLineEdit& field, SpinRule rule)
{
    QObject::connect(&spin, &QScrollBar::valueChanged, &field, [&spin, &field, rule](int position) {
        modProc::StepField(field, spin, rule, position);
    });
}

} // namespace ardovin
