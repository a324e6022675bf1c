#include "ui/frmSulfite.h"

#include "core/numbers.h"
#include "platform/addresses.h"
#include "platform/calculator.h"
#include "platform/clipboard.h"
#include "platform/shell.h"
#include "resources/programicon.h"
#include "settings/settings_file.h"
#include "ui/controls.h"
#include "ui/frmAbout.h"
#include "ui/frmFreeSO2.h"
#include "ui/frmSettings.h"
#include "ui/modProc.h"

#include <optional>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace ardovin;

namespace {

using K = ControlKind;

// The main window as it is laid out, in twips.
constexpr ControlSpec Layout[] = {
    {"Picture1", K::Panel, nullptr, 25, 0, 7600, 4095, nullptr, nullptr, "Main panel"},
    {"fraSO2", K::Frame, "Picture1", 120, 120, 2895, 2295, "Sulphite Data", nullptr, nullptr},
    {"cboForm", K::List, "fraSO2", 240, 480, 2415, 315,
     "Potassium Metabisulphite|Sodium Bisulphite|Sodium Metabisulphite", "Sulphite source.",
     "Sulphite source"},
    {"optPowder", K::Option, "fraSO2", 240, 1080, 1095, 300, "Powder", nullptr, nullptr},
    {"optSolution", K::Option, "fraSO2", 240, 1440, 1095, 300, "Solution", nullptr, nullptr},
    {"txtSolution", K::TextField, "fraSO2", 1440, 1440, 750, 300, nullptr,
     "Percentage of sulphite in solution.", "Solution percentage"},
    {"vsbPercent", K::Spin, "fraSO2", 2190, 1440, 255, 300, nullptr, nullptr,
     "Solution percentage up down"},
    {"lblPercent", K::Label, "fraSO2", 2520, 1440, 255, 300, "%", nullptr, nullptr},
    {"optTablet", K::Option, "fraSO2", 240, 1800, 975, 300, "Tablet", nullptr, nullptr},
    {"txtTabWeight", K::TextField, "fraSO2", 1440, 1800, 750, 300, nullptr, "Mass of 1 tablet.",
     "Tablet weight"},
    {"vsbCampden", K::Spin, "fraSO2", 2190, 1800, 255, 300, nullptr, nullptr,
     "Tablet weight up down"},
    {"lblTabWeight", K::Label, "fraSO2", 2520, 1800, 255, 300, "g", nullptr, nullptr},
    {"Frame2", K::Frame, "Picture1", 120, 2520, 2895, 1335, "Batch Data", nullptr, nullptr},
    {"Label5", K::Label, "Frame2", 120, 360, 735, 300, "Size", nullptr, nullptr},
    {"txtBatchSize", K::TextField, "Frame2", 600, 360, 750, 300, nullptr, "Batch size.", "Size"},
    {"vsbBatchSize", K::Spin, "Frame2", 1350, 360, 255, 300, nullptr, nullptr, "Size up down"},
    {"cboBatch", K::List, "Frame2", 1680, 360, 1095, 315, "U.S. Gal.|Imp. Gal.|Litres",
     "Batch size units.", "Batch size units"},
    {"Label6", K::Label, "Frame2", 120, 840, 375, 300, "pH", nullptr, nullptr},
    {"txtPh", K::TextField, "Frame2", 600, 840, 750, 300, nullptr, "Wine pH level.", "pH"},
    {"vsbPh", K::Spin, "Frame2", 1350, 840, 255, 300, nullptr, nullptr, "pH up down"},
    {"Label9", K::RightLabel, "Picture1", 3960, 360, 855, 300, "Target", nullptr, nullptr},
    {"cboTarget", K::List, "Picture1", 5160, 360, 1935, 315, "Total Free SO2|Molecular SO2",
     "Target", "Target"},
    {"Label7", K::Label, "Picture1", 5160, 840, 975, 300, "Total Free  ", nullptr, nullptr},
    {"Label8", K::Label, "Picture1", 6360, 840, 975, 300, "Molecular", nullptr, nullptr},
    {"Label3", K::Label, "Picture1", 5280, 1080, 735, 300, "(mg/L)", nullptr, nullptr},
    {"Label10", K::Label, "Picture1", 6480, 1080, 735, 300, "(mg/L)", nullptr, nullptr},
    {"Label1", K::RightLabel, "Picture1", 3720, 1440, 1215, 300, "Existing SO2", nullptr, nullptr},
    {"txtExistSO2", K::TextField, "Picture1", 5160, 1440, 750, 300, nullptr,
     "Measured free SO2 level.", "Existing SO2"},
    {"vsbExistSO2", K::Spin, "Picture1", 5910, 1440, 255, 300, nullptr, nullptr,
     "Existing SO2 up down"},
    {"lblExistMolSO2", K::ResultLabel, "Picture1", 6360, 1440, 750, 300, nullptr,
     "Calculated existing molecular SO2 level.", "Existing molecular SO2"},
    {"Label2", K::RightLabel, "Picture1", 3720, 1800, 1215, 300, "Target SO2", nullptr, nullptr},
    {"txtTargetSO2", K::TextField, "Picture1", 5160, 1800, 750, 300, nullptr,
     "Desired free SO2 target level.", "Target SO2"},
    {"vsbTargetSO2", K::Spin, "Picture1", 5910, 1800, 255, 300, nullptr, nullptr,
     "Target SO2 up down"},
    {"txtTargetMolSO2", K::TextField, "Picture1", 6360, 1800, 750, 300, nullptr,
     "Desired molecular SO2 target level.", "Target molecular SO2"},
    {"vsbTargetMolSO2", K::Spin, "Picture1", 7110, 1800, 255, 300, nullptr, nullptr,
     "Target molecular SO2 up down"},
    {"Label11", K::RightLabel, "Picture1", 3240, 2160, 1695, 300, "SO2 Requirement", nullptr,
     nullptr},
    {"lblSO2Requirement", K::ResultLabel, "Picture1", 5160, 2160, 750, 300, nullptr,
     "Incremental free SO2 required.", "SO2 Requirement"},
    {"lblMolSO2Requirement", K::ResultLabel, "Picture1", 6360, 2160, 750, 300, nullptr,
     "Incremental molecular SO2 required.", "Molecular SO2 Requirement"},
    {"Label4", K::RightLabel, "Picture1", 3120, 2880, 1815, 300, "Required Addition ", nullptr,
     nullptr},
    {"lblAddition", K::ResultLabel, "Picture1", 5160, 2880, 975, 300, nullptr,
     "Amount of sulphite required to achieve target SO2 level.", "Required Addition"},
    {"cboAdditionUnits", K::List, "Picture1", 6360, 2880, 855, 315, nullptr, "Addition Units",
     "Addition Units"},
    {"cmdCalculate", K::Button, "Picture1", 5160, 3480, 1935, 375, "&Calculate",
     "Compute sulphite requirements.", nullptr},
};

// The client area, in twips.
constexpr int ClientWidth = 7650;
constexpr int ClientHeight = 4110;

// Each spin control with its field and rule.
constexpr SpinBinding Spins[] = {
    {"vsbBatchSize", "txtBatchSize", SpinRules::BatchSize},
    {"vsbPh", "txtPh", SpinRules::Ph},
    {"vsbExistSO2", "txtExistSO2", SpinRules::ExistSO2},
    {"vsbTargetSO2", "txtTargetSO2", SpinRules::TargetSO2},
    {"vsbTargetMolSO2", "txtTargetMolSO2", SpinRules::TargetMolSO2},
    {"vsbCampden", "txtTabWeight", SpinRules::TabWeight},
    {"vsbPercent", "txtSolution", SpinRules::Solution},
};

// The order in which Tab visits the controls.
constexpr const char* TabOrder[] = {
    "txtExistSO2", "txtTargetSO2", "txtTargetMolSO2", "cboForm",      "optPowder",
    "optSolution", "txtSolution",  "optTablet",       "txtTabWeight", "txtBatchSize",
    "cboBatch",    "txtPh",        "cmdCalculate",    "cboTarget",    "cboAdditionUnits",
};

void SetFieldBackground(QLineEdit& field, const QColor& colour)
{
    QPalette palette = field.palette();
    palette.setColor(QPalette::All, QPalette::Base, colour);
    field.setPalette(palette);
}

} // namespace

frmSulfite::frmSulfite(const QString& programDirectory, const QString& lockPath, QWidget* parent)
    : QMainWindow(parent), ProgramDirectory(programDirectory), InstanceLock(lockPath)
{
    setObjectName(QStringLiteral("frmSulfite"));
    setWindowTitle(QStringLiteral("Ardovin"));
    setWindowIcon(ProgramIcon());
    BuildMenus();
    BuildControls();
    ConnectHandlers();
    SetTabOrder();
    // Created in the powder and free-target states, with the powder units to choose from.
    optPowder->setChecked(true);
    SetTargetFieldColours();
    txtExistSO2->setFocus();
}

frmSulfite::~frmSulfite() = default;

void frmSulfite::BuildControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(Twips(ClientWidth), Twips(ClientHeight));
    setCentralWidget(client);
    ardovin::BuildControls(*client, Layout);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto find = [this]<typename T>(T*& control, const char* name) {
        control = Control<T>(*this, name);
    };
    find(cboForm, "cboForm");
    find(cboBatch, "cboBatch");
    find(cboTarget, "cboTarget");
    find(cboAdditionUnits, "cboAdditionUnits");
    find(optPowder, "optPowder");
    find(optSolution, "optSolution");
    find(optTablet, "optTablet");
    find(txtSolution, "txtSolution");
    find(txtTabWeight, "txtTabWeight");
    find(txtBatchSize, "txtBatchSize");
    find(txtPh, "txtPh");
    find(txtExistSO2, "txtExistSO2");
    find(txtTargetSO2, "txtTargetSO2");
    find(txtTargetMolSO2, "txtTargetMolSO2");
    find(vsbPercent, "vsbPercent");
    find(vsbCampden, "vsbCampden");
    find(vsbTargetSO2, "vsbTargetSO2");
    find(vsbTargetMolSO2, "vsbTargetMolSO2");
    find(lblPercent, "lblPercent");
    find(lblTabWeight, "lblTabWeight");
    find(lblExistMolSO2, "lblExistMolSO2");
    find(lblSO2Requirement, "lblSO2Requirement");
    find(lblMolSO2Requirement, "lblMolSO2Requirement");
    find(lblAddition, "lblAddition");
    find(cmdCalculate, "cmdCalculate");
}

void frmSulfite::BuildMenus()
{
    QMenuBar* bar = menuBar();
    auto addMenu = [bar](const char* name, const char* caption) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    auto addItem = [this](QWidget* menu, const char* name, const char* caption, auto handler) {
        auto* action = new QAction(QString::fromUtf8(caption), menu);
        action->setObjectName(QString::fromLatin1(name));
        menu->addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu* mnuFile = addMenu("mnuFile", "&File");
    addItem(mnuFile, "mnuFileExit", "E&xit", &frmSulfite::mnuFileExit_Click);

    QMenu* mnuEdit = addMenu("mnuEdit", "&Edit");
    mnuEditCut = addItem(mnuEdit, "mnuEditCut", "Cu&t", &frmSulfite::mnuEditCut_Click);
    mnuEditCopy = addItem(mnuEdit, "mnuEditCopy", "&Copy", &frmSulfite::mnuEditCopy_Click);
    mnuEditPaste = addItem(mnuEdit, "mnuEditPaste", "&Paste", &frmSulfite::mnuEditPaste_Click);
    mnuEditCut->setEnabled(false);
    mnuEditCopy->setEnabled(false);
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmSulfite::mnuEdit_Click);

    addItem(bar, "mnuOptions", "&Options", &frmSulfite::mnuOptions_Click);

    QMenu* mnuTools = addMenu("mnuTools", "&Tools");
    addItem(mnuTools, "mnuToolsCalc", "&Calculator", &frmSulfite::mnuToolsCalc_Click);
    addItem(mnuTools, "mnuToolsTable", "&Sulphite Table Generator",
            &frmSulfite::mnuToolsTable_Click);
    addItem(mnuTools, "mnuToolsFreeSO2", "Free SO2 by &pH...", &frmSulfite::mnuToolsFreeSO2_Click);

    QMenu* mnuHelp = addMenu("mnuHelp", "&Help");
    addItem(mnuHelp, "mnuHelpCalc", "&Ardovin Manual", &frmSulfite::mnuHelpCalc_Click);
    addItem(mnuHelp, "mnuHelpWeb", "Ardovin &Web Page", &frmSulfite::mnuHelpWeb_Click);
    addItem(mnuHelp, "mnuHelpEmail", "&Email the author", &frmSulfite::mnuHelpEmail_Click);
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    addItem(mnuHelp, "mnuHelpAbout", "&About Ardovin", &frmSulfite::mnuHelpAbout_Click);
}

void frmSulfite::ConnectHandlers()
{
    for (QLineEdit* field : {txtBatchSize, txtPh, txtExistSO2, txtTargetSO2, txtTargetMolSO2,
                             txtTabWeight, txtSolution})
        connect(field, &QLineEdit::textChanged, this, &frmSulfite::ClearResults);
    ConnectSpinControls(*this, Spins);
    connect(cboForm, &QComboBox::currentIndexChanged, this, &frmSulfite::cboForm_Click);
    connect(cboBatch, &QComboBox::currentIndexChanged, this, &frmSulfite::cboBatch_Click);
    connect(cboAdditionUnits, &QComboBox::currentIndexChanged, this,
            &frmSulfite::cboAdditionUnits_Click);
    connect(cboTarget, &QComboBox::currentIndexChanged, this, &frmSulfite::cboTarget_Click);
    auto onSelected = [this](QRadioButton* option, void (frmSulfite::*handler)()) {
        connect(option, &QRadioButton::toggled, this, [this, option, handler](bool checked) {
            // Only the selected option button is visited by Tab; arrows move within the group.
            option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
            if (checked)
                (this->*handler)();
        });
    };
    onSelected(optTablet, &frmSulfite::optTablet_Click);
    onSelected(optPowder, &frmSulfite::optPowder_Click);
    onSelected(optSolution, &frmSulfite::optSolution_Click);
    connect(cmdCalculate, &QPushButton::clicked, this, &frmSulfite::cmdCalculate_Click);
    txtExistSO2->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this && now != menuBar())
            LastFocusedControl = now;
    });
}

void frmSulfite::SetTabOrder()
{
    QWidget* previous = nullptr;
    for (const char* name : TabOrder) {
        auto* control = Control<QWidget>(*this, name);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

bool frmSulfite::Form_Load()
{
    SettingsFilePath = ardovin::SettingsFilePath(ProgramDirectory);
    // Where no lock can be made at all, the program still starts, only unprotected.
    if (InstanceLock.tryAcquire() == SingleInstanceLock::Result::HeldByAnotherCopy) {
        modProc::ShowCritical(windowTitle() + QStringLiteral(" already running."));
        return false;
    }
    const QString zero = FormatStandard(0.0);
    txtExistSO2->setText(zero);
    txtTargetSO2->setText(zero);
    txtTargetMolSO2->setText(zero);
    modProc::ShowResult(*lblExistMolSO2, zero);
    txtPh->setText(FormatStandard(3.5));
    LoadUserDefaults();
    CalculateAddition();
    return true;
}

void frmSulfite::LoadUserDefaults()
{
    const DefaultsControls controls = DefaultsShownHere();
    if (LoadSettingsFile(SettingsFilePath, Defaults) == LoadResult::Loaded &&
        ApplyUserDefaults(Defaults, controls))
        return;
    modProc::ShowCritical(
        QStringLiteral("User default settings not found.\rLoading program defaults."));
    ApplyProgramDefaults(controls);
}

DefaultsControls frmSulfite::DefaultsShownHere()
{
    return {cboForm,      optPowder,
            optSolution,  optTablet,
            cboBatch,     txtSolution,
            txtTabWeight, txtBatchSize,
            cboTarget,    [this](SourceForm form) { FillAdditionUnits(form); }};
}

void frmSulfite::cmdCalculate_Click()
{
    ValidateInputs();
}

void frmSulfite::ValidateInputs()
{
    for (QLineEdit* field :
         {txtSolution, txtTabWeight, txtBatchSize, txtPh, txtExistSO2, txtTargetSO2})
        if (field->text().isEmpty())
            field->setText(FormatStandard(0.0));
    if (TargetKindFromText(cboTarget->currentText()) == TargetKind::Molecular)
        modProc::ShowResult(*lblExistMolSO2,
                            ExistingMolecularText(txtExistSO2->text(), txtPh->text()));

    const FormTexts texts = Texts();
    if (const auto problem = FirstInputError(texts)) {
        modProc::ShowInputError(problem->message);
        FocusField(problem->field);
        return;
    }
    for (const Confirmation& confirmation : Confirmations(texts)) {
        if (!modProc::AskYesNo(confirmation.question)) {
            FocusField(confirmation.fieldOnNo);
            ClearResults();
            return;
        }
    }
    CalculateAddition();
}

void frmSulfite::CalculateAddition()
{
    if (txtTargetSO2->text().isEmpty() || txtBatchSize->text().isEmpty())
        return;
    const DoseInputs inputs = ReadDoseInputs(Texts());
    const DoseDisplay shown = DisplayDose(inputs, ComputeDose(inputs));
    modProc::ShowResult(*lblExistMolSO2, shown.existMolSO2);
    if (shown.targetMolSO2)
        txtTargetMolSO2->setText(*shown.targetMolSO2);
    if (shown.targetSO2)
        txtTargetSO2->setText(*shown.targetSO2);
    modProc::ShowResult(*lblAddition, shown.addition);
    modProc::ShowResult(*lblSO2Requirement, shown.so2Requirement);
    modProc::ShowResult(*lblMolSO2Requirement, shown.molSO2Requirement);
}

void frmSulfite::txtExistSO2_LostFocus()
{
    if (cboTarget->currentText() == ListText(TargetKind::Molecular))
        modProc::ShowResult(*lblExistMolSO2,
                            ExistingMolecularText(txtExistSO2->text(), txtPh->text()));
}

bool frmSulfite::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtExistSO2 && event->type() == QEvent::FocusOut) {
        // Only a move to another control of the window, not a menu or another window.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            txtExistSO2_LostFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

// Every change of a field, list or option button comes here: the addition shown no longer
// holds, and the Free SO2 by pH window follows the new inputs.
void frmSulfite::ClearResults()
{
    modProc::ClearResults(*lblAddition);
    if (FreeSO2)
        FreeSO2->InputsChanged();
}

void frmSulfite::cboForm_Click()
{
    ClearResults();
}
void frmSulfite::cboBatch_Click()
{
    ClearResults();
}
void frmSulfite::cboAdditionUnits_Click()
{
    ClearResults();
}

void frmSulfite::cboTarget_Click()
{
    const QString kind = TrimBlanks(cboTarget->currentText());
    const bool free = kind == ListText(TargetKind::TotalFree);
    if (free || kind == ListText(TargetKind::Molecular)) {
        txtTargetSO2->setEnabled(free);
        vsbTargetSO2->setEnabled(free);
        txtTargetMolSO2->setEnabled(!free);
        vsbTargetMolSO2->setEnabled(!free);
        SetTargetFieldColours();
    }
    ClearResults();
}

void frmSulfite::SetTargetFieldColours()
{
    const QColor window = QApplication::palette().color(QPalette::Active, QPalette::Base);
    for (QLineEdit* field : {txtTargetSO2, txtTargetMolSO2})
        SetFieldBackground(*field, field->isEnabled() ? window : LightGrey());
}

void frmSulfite::optTablet_Click()
{
    SetSourceForm(SourceForm::Tablet);
    FillAdditionUnits(SourceForm::Tablet);
    ClearResults();
}

void frmSulfite::optPowder_Click()
{
    SetSourceForm(SourceForm::Powder);
    FillAdditionUnits(SourceForm::Powder);
    ClearResults();
}

void frmSulfite::optSolution_Click()
{
    SetSourceForm(SourceForm::Solution);
    FillAdditionUnits(SourceForm::Solution);
    ClearResults();
}

void frmSulfite::SetSourceForm(SourceForm form)
{
    EnableSourceGroups(form, {txtSolution, lblPercent, vsbPercent},
                       {vsbCampden, txtTabWeight, lblTabWeight});
}

void frmSulfite::FillAdditionUnits(SourceForm form)
{
    cboAdditionUnits->clear();
    for (AdditionUnit unit : AdditionUnitsFor(form))
        cboAdditionUnits->addItem(ListText(unit));
    cboAdditionUnits->setCurrentText(ListText(DefaultAdditionUnit(form)));
}

SourceForm frmSulfite::SelectedForm() const
{
    if (optSolution->isChecked())
        return SourceForm::Solution;
    if (optPowder->isChecked())
        return SourceForm::Powder;
    return SourceForm::Tablet;
}

FormTexts frmSulfite::Texts() const
{
    FormTexts texts;
    texts.batchSize = txtBatchSize->text();
    texts.batchUnit = cboBatch->currentText();
    texts.ph = txtPh->text();
    texts.existSO2 = txtExistSO2->text();
    texts.targetKind = cboTarget->currentText();
    texts.targetSO2 = txtTargetSO2->text();
    texts.targetMolSO2 = txtTargetMolSO2->text();
    texts.source = cboForm->currentText();
    texts.form = SelectedForm();
    texts.tabWeight = txtTabWeight->text();
    texts.solution = txtSolution->text();
    texts.additionUnit = cboAdditionUnits->currentText();
    texts.existMolSO2 = lblExistMolSO2->text();
    return texts;
}

QLineEdit* frmSulfite::Field(InputField field) const
{
    switch (field) {
    case InputField::Solution:
        return txtSolution;
    case InputField::TabWeight:
        return txtTabWeight;
    case InputField::BatchSize:
        return txtBatchSize;
    case InputField::Ph:
        return txtPh;
    case InputField::ExistSO2:
        return txtExistSO2;
    case InputField::TargetSO2:
        return txtTargetSO2;
    case InputField::TargetMolSO2:
        return txtTargetMolSO2;
    }
    return nullptr;
}

void frmSulfite::FocusField(InputField field)
{
    // Best effort: a disabled field cannot take the focus, and then it stays where it is.
    QLineEdit* control = Field(field);
    if (control->isEnabled())
        control->setFocus(Qt::OtherFocusReason);
}

void frmSulfite::mnuFileExit_Click()
{
    close();
}

void frmSulfite::closeEvent(QCloseEvent* event)
{
    // The other windows end with the main window; nothing is saved.
    if (About)
        About->reject();
    if (Settings)
        Settings->close();
    if (FreeSO2)
        FreeSO2->close();
    event->accept();
}

namespace {

// The selected text of a control that has one: a field's, or a result label's (selectable
// for copying, never editable). Nothing for a button, a list or an option button.
std::optional<QString> SelText(const QWidget* control)
{
    if (const auto* field = qobject_cast<const QLineEdit*>(control))
        return field->selectedText();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->selectedText();
    return std::nullopt;
}

} // namespace

QWidget* frmSulfite::FocusedControl() const
{
    // A bare Alt puts the focus on the menu bar; the control the user was in is the one before.
    QWidget* control = focusWidget();
    return control && control != menuBar() ? control : LastFocusedControl.data();
}

void frmSulfite::mnuEdit_Click()
{
    const std::optional<QString> selected = SelText(FocusedControl());
    const bool enable = !selected || !selected->isEmpty();
    mnuEditCut->setEnabled(enable);
    mnuEditCopy->setEnabled(enable);
}

void frmSulfite::mnuEditCopy_Click()
{
    ClearClipboard();
    if (const auto selected = SelText(FocusedControl()))
        SetClipboardText(*selected);
}

void frmSulfite::mnuEditCut_Click()
{
    mnuEditCopy_Click();
    if (auto* field = qobject_cast<QLineEdit*>(FocusedControl()))
        field->insert(QString());
}

void frmSulfite::mnuEditPaste_Click()
{
    // Pasted text is taken as it is; the validation judges it when the user calculates.
    if (auto* field = qobject_cast<QLineEdit*>(FocusedControl()))
        field->insert(ClipboardText());
}

void frmSulfite::mnuOptions_Click()
{
    if (!Settings)
        Settings = new frmSettings(Defaults, SettingsFilePath, this);
    Settings->Form_Activate();
    Settings->show();
    Settings->raise();
    Settings->activateWindow();
}

void frmSulfite::mnuToolsCalc_Click()
{
    if (!StartCalculator())
        modProc::ShowMessage({QStringLiteral("Calculator"), QStringLiteral("Calculator not found!"),
                              modProc::MessageIcon::Exclamation, modProc::MessageButtons::Ok});
}

void frmSulfite::mnuToolsTable_Click()
{
    OpenDocument(TableGeneratorAddress());
}

void frmSulfite::mnuToolsFreeSO2_Click()
{
    if (!FreeSO2)
        FreeSO2 = new frmFreeSO2([this] { return Texts(); }, this);
    FreeSO2->show();
    FreeSO2->raise();
    FreeSO2->activateWindow();
}

void frmSulfite::mnuHelpCalc_Click()
{
    OpenDocument(ManualAddress());
}
void frmSulfite::mnuHelpWeb_Click()
{
    OpenDocument(ProgramPageAddress());
}
void frmSulfite::mnuHelpEmail_Click()
{
    OpenDocument(MailAddress());
}

void frmSulfite::mnuHelpAbout_Click()
{
    frmAbout about(this);
    About = &about;
    about.exec();
}
