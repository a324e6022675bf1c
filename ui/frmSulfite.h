#pragma once

#include "core/calculation.h"
#include "core/entry.h"
#include "core/validation.h"
#include "platform/single_instance.h"
#include "settings/user_defaults.h"
#include "ui/controls.h"
#include "ui/defaultsControls.h"

#include <optional>
#include <QMainWindow>
#include <QPointer>
#include <span>

class EditMenu;
class frmAbout;
class frmCellar;
class frmFreeSO2;
class frmSettings;

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The main window: the batch, the sulphite source and the target in, the addition out.
// A field's text is its value; nothing here keeps a numeric copy.
//
// Its parts: the layout and its building (frmSulfite.cpp); start-up, Calculate and closing
// (frmSulfiteCalculate.cpp); what follows a choice in a list or of an option button
// (frmSulfiteChoices.cpp); the commands of the menus (frmSulfiteCommands.cpp).
class frmSulfite : public QMainWindow
{
    Q_OBJECT

public:
    // programDirectory holds settings.cfg; lockPath is the single-copy lock.
    frmSulfite(const QString& programDirectory, const QString& lockPath, QWidget* parent = nullptr);
    ~frmSulfite() override;

    // The start-up sequence. False when another copy is running: the caller ends the program
    // without showing the window.
    bool Form_Load();

    QString settingsFilePath() const { return SettingsFilePath; }
    // The cellar book's file, when the user names one; else the one in the user's data folder.
    // The cellar book's file, or a shared cellar's address, for this run.
    void SetCellarPath(const QString& path) { CellarPath = path; }
    // The cellar book's own file, which the cellar book goes back to from a shared one.
    QString LocalCellarPath() const;
    // The addition the window shows, as calculated: none before a calculation or once an edit
    // has set it back to 0.00.
    const std::optional<ardovin::CalculatedAddition>& shownAddition() const { return Shown; }
    // Takes a batch's size and unit, pH and free SO2 into the fields, as the user asked the
    // cellar book to.
    void FillBatch(double size, ardovin::BatchUnit unit, double pH, double freeSO2);
    // The defaults of this run, as loaded at start-up and as last saved.
    const ardovin::UserDefaults& userDefaults() const { return Defaults; }

public slots:
    void cmdCalculate_Click();
    void mnuFileExit_Click();
    void mnuEdit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuOptions_Click();
    void mnuToolsCalc_Click();
    void mnuToolsTable_Click();
    void mnuToolsFreeSO2_Click();
    void mnuToolsCellar_Click();
    void mnuToolsRecord_Click();
    void mnuHelpCalc_Click();
    void mnuHelpWeb_Click();
    void mnuHelpEmail_Click();
    void mnuHelpAbout_Click();

private slots:
    void cboForm_Click();
    void cboBatch_Click();
    void cboAdditionUnits_Click();
    void cboTarget_Click();
    // One handler for the source-form option buttons, told the form of the one selected.
    void optForm_Click(ardovin::SourceForm form);
    void txtExistSO2_LostFocus();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::span<const ardovin::ControlSpec<frmSulfite>> Layout();

    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();

    void ValidateInputs();
    void CalculateAddition();
    void LoadUserDefaults();
    void ClearResults();
    // The cellar book, opened with its file the first time; none where the file cannot be.
    frmCellar* OpenCellar();
    void FillAdditionUnits(ardovin::SourceForm form);
    void SetTargetFieldColours();

    ardovin::FormTexts Texts() const;
    ardovin::SourceForm SelectedForm() const;
    void FocusField(ardovin::InputField field);

    QString ProgramDirectory;
    QString SettingsFilePath;
    ardovin::SingleInstanceLock InstanceLock;
    ardovin::UserDefaults Defaults;
    std::optional<DefaultsControls> DefaultsShown; // once the controls are built
    QPointer<frmSettings> Settings;
    QPointer<frmAbout> About;
    // Built when first opened, kept when closed.
    QPointer<frmFreeSO2> FreeSO2;
    // Opened, with its file, when first asked for; nothing of it is touched before.
    QPointer<frmCellar> Cellar;
    QString CellarPath;
    std::optional<ardovin::CalculatedAddition> Shown;
    EditMenu* Edit = nullptr;

    std::vector<ardovin::FieldControls> Fields; // the numeric fields, as the layout gives them

    // The controls, as the layout table fills them.
    QWidget* Picture1 = nullptr;
    QWidget* fraSO2 = nullptr;
    QWidget* Frame2 = nullptr;
    QComboBox* cboForm = nullptr;
    QComboBox* cboBatch = nullptr;
    QComboBox* cboTarget = nullptr;
    QComboBox* cboAdditionUnits = nullptr;
    QButtonGroup* grpForm = nullptr;
    QLineEdit* txtBatchSize = nullptr;
    QLineEdit* txtPh = nullptr;
    QLineEdit* txtExistSO2 = nullptr;
    QLineEdit* txtTargetSO2 = nullptr;
    QLineEdit* txtTargetMolSO2 = nullptr;
    QScrollBar* vsbTargetSO2 = nullptr;
    QScrollBar* vsbTargetMolSO2 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* lblExistMolSO2 = nullptr;
    QLabel* lblSO2Requirement = nullptr;
    QLabel* lblMolSO2Requirement = nullptr;
    QLabel* lblAddition = nullptr;
    QPushButton* cmdCalculate = nullptr;
};
