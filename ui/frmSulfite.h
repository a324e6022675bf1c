#pragma once

#include "core/calculation.h"
#include "core/validation.h"
#include "platform/single_instance.h"
#include "settings/user_defaults.h"
#include "ui/defaultsControls.h"

#include <QMainWindow>
#include <QPointer>

class frmAbout;
class frmFreeSO2;
class frmSettings;

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The main window: the batch, the sulphite source and the target in, the addition out.
// A field's text is its value; nothing here keeps a numeric copy.
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
    void mnuHelpCalc_Click();
    void mnuHelpWeb_Click();
    void mnuHelpEmail_Click();
    void mnuHelpAbout_Click();

private slots:
    void cboForm_Click();
    void cboBatch_Click();
    void cboAdditionUnits_Click();
    void cboTarget_Click();
    void optTablet_Click();
    void optPowder_Click();
    void optSolution_Click();
    void txtExistSO2_LostFocus();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void ConnectHandlers();
    void SetTabOrder();

    void ValidateInputs();
    void CalculateAddition();
    void LoadUserDefaults();
    DefaultsControls DefaultsShownHere();
    void ClearResults();
    void SetSourceForm(ardovin::SourceForm form);
    void FillAdditionUnits(ardovin::SourceForm form);
    void SetTargetFieldColours();

    ardovin::FormTexts Texts() const;
    ardovin::SourceForm SelectedForm() const;
    QLineEdit* Field(ardovin::InputField field) const;
    void FocusField(ardovin::InputField field);
    // The control the Edit menu works on: the one with the keyboard focus in this window.
    QWidget* FocusedControl() const;

    QString ProgramDirectory;
    QString SettingsFilePath;
    ardovin::SingleInstanceLock InstanceLock;
    ardovin::UserDefaults Defaults;
    QPointer<frmSettings> Settings;
    QPointer<frmAbout> About;
    // Built when first opened, kept when closed.
    QPointer<frmFreeSO2> FreeSO2;
    QPointer<QWidget> LastFocusedControl;

    QComboBox* cboForm = nullptr;
    QComboBox* cboBatch = nullptr;
    QComboBox* cboTarget = nullptr;
    QComboBox* cboAdditionUnits = nullptr;
    QRadioButton* optPowder = nullptr;
    QRadioButton* optSolution = nullptr;
    QRadioButton* optTablet = nullptr;
    QLineEdit* txtSolution = nullptr;
    QLineEdit* txtTabWeight = nullptr;
    QLineEdit* txtBatchSize = nullptr;
    QLineEdit* txtPh = nullptr;
    QLineEdit* txtExistSO2 = nullptr;
    QLineEdit* txtTargetSO2 = nullptr;
    QLineEdit* txtTargetMolSO2 = nullptr;
    QScrollBar* vsbPercent = nullptr;
    QScrollBar* vsbCampden = nullptr;
    QScrollBar* vsbTargetSO2 = nullptr;
    QScrollBar* vsbTargetMolSO2 = nullptr;
    QLabel* lblPercent = nullptr;
    QLabel* lblTabWeight = nullptr;
    QLabel* lblExistMolSO2 = nullptr;
    QLabel* lblSO2Requirement = nullptr;
    QLabel* lblMolSO2Requirement = nullptr;
    QLabel* lblAddition = nullptr;
    QPushButton* cmdCalculate = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
};
