#include "ui/controls.h"

#include "ui/modProc.h"

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
    case ControlKind::List: {
        auto* list = new QComboBox(parent);
        if (!caption.isEmpty())
            list->addItems(caption.split(u'|'));
        list->setCurrentIndex(-1);
        return list;
    }
    case ControlKind::Option:
        return new QRadioButton(caption, parent);
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    }
    return nullptr;
}

// Lists use the smaller font of the window; where the system's font is wider than the one the
// layout was drawn for, it shrinks until the longest item shows whole.
void FitListFont(QComboBox& list)
{
    constexpr qreal ListPointSize = 8.25;
    constexpr qreal SmallestPointSize = 6.5;
    QFont font = modProc::ProgramFont(ListPointSize);
    auto fits = [&list, &font] {
        list.setFont(font);
        QStyleOptionComboBox option;
        option.initFrom(&list);
        const int room =
            list.style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &list)
                .width();
        const QFontMetrics metrics(font);
        for (int i = 0; i < list.count(); ++i)
            if (metrics.horizontalAdvance(list.itemText(i)) > room)
                return false;
        return true;
    };
    while (!fits() && font.pointSizeF() > SmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
}

} // namespace

void BuildControls(QWidget& root, std::span<const ControlSpec> entries)
{
    const QFont font = modProc::ProgramFont();
    for (const ControlSpec& entry : entries) {
        QWidget* parent = &root;
        if (entry.container)
            parent = root.findChild<QWidget*>(QString::fromLatin1(entry.container));
        Q_ASSERT(parent);
        QWidget* control = CreateControl(entry, parent);
        control->setObjectName(QString::fromLatin1(entry.name));
        if (entry.kind != ControlKind::List)
            control->setFont(font);
        control->setGeometry(Twips(entry.left), Twips(entry.top), Twips(entry.width),
                             Twips(entry.height));
        if (auto* list = qobject_cast<QComboBox*>(control))
            FitListFont(*list);
        if (entry.tooltip) {
            control->setToolTip(QString::fromUtf8(entry.tooltip));
            control->setAccessibleDescription(control->toolTip());
        }
        if (entry.kind != ControlKind::ResultLabel)
            control->setAccessibleName(AccessibleName(entry));
    }
}

QColor LightGrey()
{
    return QColor(224, 224, 224);
}

void ConnectSpinControls(const QWidget& root, std::span<const SpinBinding> bindings)
{
    for (const SpinBinding& binding : bindings) {
        auto* spin = Control<QScrollBar>(root, binding.spin);
        auto* field = Control<QLineEdit>(root, binding.field);
        const SpinRule rule = binding.rule;
        QObject::connect(spin, &QScrollBar::valueChanged, field, [spin, field, rule](int position) {
            modProc::StepField(*field, *spin, rule, position);
        });
    }
}

void EnableSourceGroups(SourceForm form, std::initializer_list<QWidget*> solutionGroup,
                        std::initializer_list<QWidget*> tabletGroup)
{
    for (QWidget* control : solutionGroup)
        control->setEnabled(form == SourceForm::Solution);
    for (QWidget* control : tabletGroup)
        control->setEnabled(form == SourceForm::Tablet);
}

} // namespace ardovin
