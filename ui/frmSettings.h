#pragma once

#include "ui/controls.h"
#include "ui/defaultsControls.h"

#include <optional>
#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;

// The Default Settings window: edits the defaults the next start uses. It works on the store
// and the file only, never on the main window's fields.
class frmSettings : public QDialog
{
    Q_OBJECT

public:
    // store is the one store of the run; settingsFilePath is where the defaults are saved.
    frmSettings(ardovin::UserDefaults& store, QString settingsFilePath, QWidget* parent);

    // Refills the fields from the store; run each time the window becomes active.
    void Form_Activate();

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdRestore_Click();

private:
    static std::span<const ardovin::ControlSpec<frmSettings>> Layout();

    void BuildControls();
    void SetSourceGroups(ardovin::SourceForm form);
    void ValidateDefaults();
    void SaveUserDefaults();

    ardovin::UserDefaults& Store;
    QString SettingsFilePath;
    std::optional<DefaultsControls> Defaults;   // once the controls are built
    std::vector<ardovin::FieldControls> Fields; // the numeric fields, as the layout gives them

    // The controls, as the layout table fills them.
    QWidget* Picture1 = nullptr;
    QWidget* fraSO2 = nullptr;
    QWidget* Frame2 = nullptr;
    QWidget* Frame1 = nullptr;
    QLineEdit* txtSolution = nullptr;
    QLineEdit* txtTabWeight = nullptr;
    QLineEdit* txtBatchSize = nullptr;
    QButtonGroup* grpForm = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdRestore = nullptr;
};
