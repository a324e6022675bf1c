#pragma once

#include "ui/controls.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: the program's name, version and notice, with a link to the web site and
// one to a mail message for the developers. The main window creates a fresh one each time and
// shows it modally.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    // The window takes the owner's icon, or the program's icon when it has no owner.
    explicit frmAbout(QWidget* parent = nullptr);

public slots:
    void cmdOK_Click();
    void lblWeb_Click();
    void lblMail_Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::span<const ardovin::ControlSpec<frmAbout>> Layout();

    void StyleControls();
    void FitToText();
    void TakeOwnerIcon();

    // The controls, as the layout table fills them.
    QWidget* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblWeb = nullptr;
    QLabel* lblMail = nullptr;
    QPushButton* cmdOK = nullptr;
};
