#include "ui/controls.h"

#include "ui/modProc.h"

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

QString AccessibleName(const ControlSpec& entry)
{
    if (entry.accessibleName)
        return QString::fromUtf8(entry.accessibleName);
    QString caption = QString::fromUtf8(entry.caption ? entry.caption : "");
    return caption.remove(u'&').trimmed();
}

QWidget* CreateControl(const ControlSpec& entry, QWidget* parent)
{
    const QString caption = QString::fromUtf8(entry.caption ? entry.caption : "");
    switch (entry.kind) {
    case ControlKind::Panel:
        return new QWidget(parent);
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::Label:
    case ControlKind::RightLabel: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment(
            (entry.kind == ControlKind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) |
            Qt::AlignVCenter);
        return label;
    }
    case ControlKind::ResultLabel: {
        auto* label = new QLabel;
        modProc::ReadAsResult(*label, AccessibleName(entry));
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

void BuildControls(QWidget& root, std::span<const ControlSpec> entries)
{
    const QFont font = modProc::ProgramFont();
    std::map<int, QWidget*> tabOrder;
    for (const ControlSpec& entry : entries) {
        QWidget* parent = entry.container ? Control<QWidget>(root, entry.container) : &root;
        QWidget* control = CreateControl(entry, parent);
        control->setObjectName(QString::fromLatin1(entry.name));
        if (entry.kind != ControlKind::List)
            control->setFont(font);
        control->setGeometry(Twips(entry.left), Twips(entry.top), Twips(entry.width),
                             Twips(entry.height));
        if (auto* list = qobject_cast<QComboBox*>(control))
            FillList(*list, entry.items     ? entry.items()
                            : entry.caption ? QString::fromUtf8(entry.caption).split(u'|')
                                            : QStringList());
        if (entry.tooltip) {
            control->setToolTip(QString::fromUtf8(entry.tooltip));
            control->setAccessibleDescription(control->toolTip());
        }
        if (entry.kind != ControlKind::ResultLabel)
            control->setAccessibleName(AccessibleName(entry));
        if (entry.tabIndex > 0)
            tabOrder[entry.tabIndex] = control;
    }
    QWidget* previous = nullptr;
    for (const auto& [index, control] : tabOrder) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
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

void ConnectSpinControls(const QWidget& root, std::span<const SpinBinding> bindings)
{
    for (const SpinBinding& binding : bindings)
        ConnectSpinControl(*Control<QScrollBar>(root, binding.spin),
                           *Control<QLineEdit>(root, binding.field), binding.rule);
}

QButtonGroup& GroupFormOptions(QWidget& window)
{
    const std::pair<SourceForm, const char*> options[] = {
        {SourceForm::Powder, "optPowder"},
        {SourceForm::Solution, "optSolution"},
        {SourceForm::Tablet, "optTablet"},
    };
    auto* group = new QButtonGroup(&window);
    group->setObjectName(QStringLiteral("grpForm"));
    for (const auto& [form, name] : options)
        group->addButton(Control<QRadioButton>(window, name), int(form));
    return *group;
}

void EnableSourceGroups(const QWidget& window, SourceForm form)
{
    const std::pair<SourceForm, const char*> controls[] = {
        {SourceForm::Solution, "txtSolution"}, {SourceForm::Solution, "vsbPercent"},
        {SourceForm::Solution, "lblPercent"},  {SourceForm::Tablet, "txtTabWeight"},
        {SourceForm::Tablet, "vsbCampden"},    {SourceForm::Tablet, "lblTabWeight"},
    };
    for (const auto& [owner, name] : controls)
        Control<QWidget>(window, name)->setEnabled(owner == form);
}

} // namespace ardovin
