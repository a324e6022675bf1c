#pragma once

#include "ui/modProc.h"

#include <optional>
#include <QString>
#include <QStringList>

class QComboBox;
class QDateTime;
class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The parts the cellar book's windows are made of, each named for a screen reader by its
// caption and described by its tooltip.
namespace cellarForms {

// A field or list in a form, on a row captioned "&Name:", the caption its buddy.
QLineEdit* AddField(QFormLayout& form, const QString& objectName, const QString& caption,
                    const QString& tooltip, const QString& text);
QComboBox* AddList(QFormLayout& form, const QString& objectName, const QString& caption,
                   const QString& tooltip, const QStringList& items, int chosen);
using modProc::Name;
using modProc::NewButton;

// The date and time field, "txtAt": the time shown in the user's locale and time zone; its
// tooltip says when, then how to write it.
QLineEdit* AddTimeField(QFormLayout& form, const QString& when, const QDateTime& at);
// The field's time, in UTC; a time that does not read is told, with the focus sent back to the
// field, and gives false.
bool ReadTime(QLineEdit& field, QDateTime& at);

// OK and Cancel for a dialog that checks its fields when it is done.
QDialogButtonBox* NewOkCancel(QDialog& dialog);

// What a number field must hold.
enum class Allowed { Positive, ZeroOrMore, PhRange, Percentage };
struct NumberRule
{
    QLineEdit* field;
    const char* name; // as a message names it, starting a sentence
    Allowed allowed;
    bool optional = false; // empty stands for "not known"
};

// The field's number, read in the user's locale and checked; a problem is shown, with the
// focus sent back to the field, and gives false. An optional field left empty gives none.
bool ReadNumber(const NumberRule& rule, std::optional<double>& value);

// A question or message of the cellar book's, through the program's one message seam.
void Tell(const QString& text);
// A question: Enter answers Yes.
bool Ask(const QString& question);
// A question whose Yes deletes: Enter answers No.
bool AskToDelete(const QString& question);

} // namespace cellarForms
