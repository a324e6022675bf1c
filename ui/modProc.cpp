#include "ui/modProc.h"

#include "core/numbers.h"
#include "platform/clipboard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>

namespace modProc {

namespace {

const QString ProgramTitle = QStringLiteral("Ardovin");

// Ctrl+C in a message box copies its caption and text, so that a user can pass a message on
// (Qt does this on Windows only).
class MessageCopier : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            ardovin::SetClipboardText(box->windowTitle() + u'\n' + box->text() + u'\n');
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

Answer ShowRealBox(const MessageRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    MessageCopier copier;
    box.installEventFilter(&copier);
    box.setWindowTitle(request.caption);
    // The program's texts break lines with a carriage return.
    box.setText(QString(request.text).replace(u'\r', u'\n'));
    switch (request.icon) {
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (request.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(request.defaultNo ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

// The caption a result label is read by, kept on the label itself.
constexpr char ResultCaption[] = "ardovinResultCaption";

// A screen reader reads a result as its caption and current value ("Required Addition 4.53"),
// or as its value alone where that begins with the caption ("This wine: pH 3.50, ..."). The
// label keeps no accessible name of its own, so that each new text also tells the assistive
// technology that the name changed.
class AccessibleResult : public QAccessibleWidget
{
public:
    explicit AccessibleResult(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const auto* label = static_cast<const QLabel*>(widget());
        const QString caption = label->property(ResultCaption).toString();
        if (label->text().startsWith(caption))
            return label->text();
        return (caption + u' ' + label->text()).trimmed();
    }
};

QAccessibleInterface* AccessibleResultFactory(const QString& className, QObject* object)
{
    auto* label = qobject_cast<QLabel*>(object);
    if (className != QLatin1StringView("QLabel") || !label ||
        !label->property(ResultCaption).isValid())
        return nullptr;
    return new AccessibleResult(label);
}

MessageHandler& CurrentHandler()
{
    static MessageHandler handler;
    return handler;
}

// The character a key would insert into the field; nothing for keys that insert none
// (arrows, Delete, function keys). A control key with a letter is its control character.
std::optional<int> TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Delete)
        return std::nullopt;
    const bool control = event.modifiers().testFlag(Qt::ControlModifier) &&
                         !event.modifiers().testFlag(Qt::AltModifier);
    if (control && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        return event.key() - Qt::Key_A + 1;
    if (event.text().isEmpty())
        return std::nullopt;
    return event.text().at(0).unicode();
}

class NumericKeyFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const std::optional<int> typed = TypedCharacter(*static_cast<QKeyEvent*>(event));
            if (typed && ardovin::FilterNumericKey(*typed) == 0)
                return true; // discarded
        }
        if (event->type() == QEvent::InputMethod) {
            auto* composed = static_cast<QInputMethodEvent*>(event);
            composed->setCommitString(ardovin::FilterNumericText(composed->commitString()),
                                      composed->replacementStart(), composed->replacementLength());
        }
        return QObject::eventFilter(watched, event);
    }
};

// Whether Qt finds the family on this system. Qt goes by the names its font database lists, and
// on Windows and macOS also by the aliases the system gives them. QFontDatabase::hasFamily asks
// for aliases everywhere, which costs fontconfig a pass over all its rules at every start.
bool SystemHasFamily(const QString& family)
{
    if (QFontDatabase::families().contains(family, Qt::CaseInsensitive))
        return true;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QFontDatabase::hasFamily(family);
#else
    return false;
#endif
}

} // namespace

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}

Answer ShowMessage(const MessageRequest& request)
{
    const MessageHandler& handler = CurrentHandler();
    LastAnswer = handler ? handler(request) : ShowRealBox(request);
    return LastAnswer;
}

void ShowInputError(const QString& text)
{
    ShowMessage({ProgramTitle, text, MessageIcon::Exclamation, MessageButtons::Ok});
}

bool AskYesNo(const QString& question)
{
    return ShowMessage({ProgramTitle, question, MessageIcon::Question, MessageButtons::YesNo}) ==
           Answer::Yes;
}

void ShowCritical(const QString& text)
{
    ShowMessage({ProgramTitle, text, MessageIcon::Critical, MessageButtons::Ok});
}

QFont ProgramFont(qreal pointSize)
{
    // Qt takes the first family of the list that the system has, but before it moves on it looks
    // for a family the system lacks through fontconfig's fallback search. So the layout's own
    // family is asked for only where the system has it.
    static const QFont font = [] {
        const QString layoutFamily = QStringLiteral("MS Sans Serif");
        const QString systemFamily = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
        if (!SystemHasFamily(layoutFamily))
            return QFont(systemFamily);
        QFont listed(QStringList{layoutFamily, systemFamily});
        listed.setStyleHint(QFont::SansSerif);
        return listed;
    }();
    QFont sized = font;
    sized.setPointSizeF(pointSize);
    return sized;
}

void AttachNumericKeyFilter(QLineEdit& field)
{
    field.installEventFilter(new NumericKeyFilter(&field));
}

void Name(QWidget& control, const QString& objectName, const QString& caption,
          const QString& tooltip)
{
    control.setObjectName(objectName);
    control.setAccessibleName(QString(caption).remove(u'&').remove(QRegularExpression(":$")));
    control.setToolTip(tooltip);
    control.setAccessibleDescription(tooltip);
}

QPushButton* NewButton(const QString& objectName, const QString& caption, const QString& tooltip,
                       QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    Name(*button, objectName, caption, tooltip);
    button->setAutoDefault(false);
    return button;
}

void ReadAsResult(QLabel& label, const QString& caption)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(AccessibleResultFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    label.setProperty(ResultCaption, caption);
}

void ShowResult(QLabel& label, const QString& text)
{
    if (label.text() == text)
        return;
    label.setText(text);
    // The label is read by its caption and value: its name changed with the value.
    QAccessibleEvent renamed(&label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

void ClearResults(QLabel& lblAddition)
{
    ShowResult(lblAddition, ardovin::FormatStandard(0.0));
}

void SetUpSpinControl(QScrollBar& spin)
{
    spin.setRange(-1, 1);
    spin.setSingleStep(1);
    spin.setPageStep(1);
    spin.setValue(0);
    spin.setFocusPolicy(Qt::NoFocus);
}

void StepField(QLineEdit& field, QScrollBar& spin, const ardovin::SpinRule& rule, int position)
{
    // Putting the control back to 0 raises its change once more; that nested press changes
    // nothing and is not acted upon.
    if (position == 0)
        return;
    if (field.isEnabled() && field.isVisible())
        field.setFocus(Qt::OtherFocusReason);
    if (const auto stepped = ardovin::SteppedText(field.text(), position, rule))
        field.setText(*stepped);
    spin.setValue(0);
    if (const auto bounded = ardovin::BoundedText(field.text(), rule))
        field.setText(*bounded);
}

} // namespace modProc
