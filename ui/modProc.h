#pragma once

#include "core/entry.h"

#include <functional>
#include <QFont>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// Procedures shared by Ardovin's windows.
namespace modProc {

enum class MessageIcon { Exclamation, Question, Critical };
enum class MessageButtons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct MessageRequest
{
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::Exclamation;
    MessageButtons buttons = MessageButtons::Ok;
    // A question whose Yes destroys something takes Enter as No.
    bool defaultNo = false;
};

// Every message and question box of the program is shown through this one seam. The default
// shows a real modal box; tests install an answerer instead.
using MessageHandler = std::function<Answer(const MessageRequest&)>;
// Installs a handler (an empty one restores the real boxes) and returns the one it replaces.
MessageHandler SetMessageHandler(MessageHandler handler);

// The button pressed in the last box shown.
inline Answer LastAnswer = Answer::Ok;

Answer ShowMessage(const MessageRequest& request);
// An input error: exclamation icon, OK, captioned with the program's name.
void ShowInputError(const QString& text);
// A question with Yes (the default) and No; true for Yes.
bool AskYesNo(const QString& question);
// A failure of start-up or of the settings file: critical icon, OK.
void ShowCritical(const QString& text);

// The program's font: MS Sans Serif where the system has it, else its own sans-serif.
QFont ProgramFont(qreal pointSize = 9.75);

// Filters the keys typed, and the text composed, into a numeric field; pasted text is not
// filtered.
void AttachNumericKeyFilter(QLineEdit& field);

// Makes a label read as a result: by its caption and current value. Call it before the label has
// a parent, as an accessible interface asked for earlier is kept.
void ReadAsResult(QLabel& label, const QString& caption);

// Writes a result label; a screen reader hears of the new value.
void ShowResult(QLabel& label, const QString& text);

// Gives a control its object name, its caption (without access key or colon) as its
// accessible name, and its tooltip as its accessible description.
void Name(QWidget& control, const QString& objectName, const QString& caption,
          const QString& tooltip);
// A push button named so; Enter in a table or field presses none of them.
QPushButton* NewButton(const QString& objectName, const QString& caption, const QString& tooltip,
                       QWidget* parent);

// Resets the shown addition to zero.
void ClearResults(QLabel& lblAddition);

// Spin controls: vertical scroll bars resting at 0 in a range of -1 to 1.
void SetUpSpinControl(QScrollBar& spin);
// One press of a spin control that moved to the position (-1 up, +1 down).
void StepField(QLineEdit& field, QScrollBar& spin, const ardovin::SpinRule& rule, int position);

} // namespace modProc
