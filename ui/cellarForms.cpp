#include "ui/cellarForms.h"

#include "core/numbers.h"
#include "ui/cellarTexts.h"
#include "ui/modProc.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace cellarForms {

namespace {

const QString Title = QStringLiteral("Cellar Book");

QLabel* Caption(QFormLayout& form, const QString& caption, QWidget& control)
{
    auto* label = new QLabel(caption, form.parentWidget());
    label->setObjectName(control.objectName() + QStringLiteral("Caption"));
    label->setBuddy(&control);
    form.addRow(label, &control);
    return label;
}

// The problem with a number, or none; the bounds are part of the words.
QString Problem(const char* name, Allowed allowed, double value)
{
    const QString what = QString::fromUtf8(name);
    switch (allowed) {
    case Allowed::Positive:
        return value > 0 ? QString() : what + QStringLiteral(" must be greater than 0.");
    case Allowed::ZeroOrMore:
        return value >= 0 ? QString() : what + QStringLiteral(" cannot be less than 0.");
    case Allowed::PhRange:
        return value >= 1 && value <= 14 ? QString()
                                         : what + QStringLiteral(" must be between 1 and 14.");
    case Allowed::Percentage:
        return value >= 1 && value <= 100 ? QString()
                                          : what + QStringLiteral(" must be between 1 and 100.");
    }
    return {};
}

} // namespace

QLineEdit* AddField(QFormLayout& form, const QString& objectName, const QString& caption,
                    const QString& tooltip, const QString& text)
{
    auto* field = new QLineEdit(text, form.parentWidget());
    Name(*field, objectName, caption, tooltip);
    Caption(form, caption, *field);
    return field;
}

QComboBox* AddList(QFormLayout& form, const QString& objectName, const QString& caption,
                   const QString& tooltip, const QStringList& items, int chosen)
{
    auto* list = new QComboBox(form.parentWidget());
    list->addItems(items);
    list->setCurrentIndex(chosen);
    Name(*list, objectName, caption, tooltip);
    Caption(form, caption, *list);
    return list;
}

QLineEdit* AddTimeField(QFormLayout& form, const QString& when, const QDateTime& at)
{
    return AddField(form, QStringLiteral("txtAt"), QStringLiteral("&Date and time:"),
                    QStringLiteral("%1, in this computer's time zone, written as %2.")
                        .arg(when, cellar::ShownTime(cellar::Now())),
                    cellar::ShownTime(at));
}

bool ReadTime(QLineEdit& field, QDateTime& at)
{
    at = cellar::ReadTime(field.text());
    if (at.isValid())
        return true;
    Tell(QStringLiteral("The date and time must be written as %1.")
             .arg(cellar::ShownTime(cellar::Now())));
    field.setFocus();
    return false;
}

QDialogButtonBox* NewOkCancel(QDialog& dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

bool ReadNumber(const NumberRule& rule, std::optional<double>& value)
{
    const QString text = rule.field->text().trimmed();
    value.reset();
    if (text.isEmpty() && rule.optional)
        return true;
    const std::optional<double> read = ardovin::ReadDouble(text);
    QString problem = QString::fromUtf8(rule.name) + QStringLiteral(" must be a number.");
    if (read)
        problem = Problem(rule.name, rule.allowed, *read);
    if (problem.isEmpty()) {
        value = read;
        return true;
    }
    Tell(problem);
    rule.field->setFocus();
    rule.field->selectAll();
    return false;
}

void Tell(const QString& text)
{
    modProc::ShowMessage(
        {Title, text, modProc::MessageIcon::Exclamation, modProc::MessageButtons::Ok});
}

bool Ask(const QString& question)
{
    return modProc::ShowMessage({Title, question, modProc::MessageIcon::Question,
                                 modProc::MessageButtons::YesNo}) == modProc::Answer::Yes;
}

bool AskToDelete(const QString& question)
{
    return modProc::ShowMessage({Title, question, modProc::MessageIcon::Question,
                                 modProc::MessageButtons::YesNo, true}) == modProc::Answer::Yes;
}

} // namespace cellarForms
