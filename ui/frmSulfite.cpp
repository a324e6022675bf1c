#include "ui/frmSulfite.h"

#include "resources/programicon.h"
#include "ui/controls.h"
#include "ui/editMenu.h"
#include "ui/modProc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

using namespace ardovin;

namespace {

using K = ControlKind;
using LayoutRow = ControlSpec<frmSulfite>;

// The client area, in twips.
constexpr int ClientWidth = 7650;
constexpr int ClientHeight = 4110;

} // namespace

#define BOUND(member) ARDOVIN_BOUND(frmSulfite, member)
#define NAMED(name) ARDOVIN_NAMED(name)

// The main window as it is laid out, in twips; then the place in the Tab order, the label that
// captions a list, an option button's form, the default setting a control shows.
std::span<const LayoutRow> frmSulfite::Layout()
{
    using F = frmSulfite;
    static const LayoutRow rows[] = {
        {BOUND(Picture1), K::Panel, nullptr, 25, 0, 7600, 4095, nullptr, nullptr, "Main panel"},
        {BOUND(fraSO2), K::Frame, &F::Picture1, 120, 120, 2895, 2295, "Sulphite Data", nullptr,
         nullptr},
        {BOUND(cboForm), K::List, &F::fraSO2, 240, 480, 2415, 315, nullptr, "Sulphite source.",
         "Sulphite source", SourceItems, 4, nullptr, std::nullopt, "source"},
        {NAMED(RowOf(SourceForm::Powder).optionName), K::Option, &F::fraSO2, 240, 1080, 1095, 300,
         RowOf(SourceForm::Powder).listText, nullptr, nullptr, nullptr, 5, nullptr,
         SourceForm::Powder, "form"},
        {NAMED(RowOf(SourceForm::Solution).optionName), K::Option, &F::fraSO2, 240, 1440, 1095, 300,
         RowOf(SourceForm::Solution).listText, nullptr, nullptr, nullptr, 6, nullptr,
         SourceForm::Solution, "form"},
        {NAMED("txtSolution"), K::TextField, &F::fraSO2, 1440, 1440, 750, 300, nullptr,
         "Percentage of sulphite in solution.", "Solution percentage", nullptr, 7, nullptr,
         std::nullopt, nullptr, InputField::Solution, SpinRules::Solution, true},
        {NAMED("vsbPercent"), K::Spin, &F::fraSO2, 2190, 1440, 255, 300, nullptr, nullptr,
         "Solution percentage up down", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::Solution},
        {NAMED("lblPercent"), K::Label, &F::fraSO2, 2520, 1440, 255, 300, "%", nullptr, nullptr,
         nullptr, 0, nullptr, std::nullopt, nullptr, InputField::Solution},
        {NAMED(RowOf(SourceForm::Tablet).optionName), K::Option, &F::fraSO2, 240, 1800, 975, 300,
         RowOf(SourceForm::Tablet).listText, nullptr, nullptr, nullptr, 8, nullptr,
         SourceForm::Tablet, "form"},
        {NAMED("txtTabWeight"), K::TextField, &F::fraSO2, 1440, 1800, 750, 300, nullptr,
         "Mass of 1 tablet.", "Tablet weight", nullptr, 9, nullptr, std::nullopt, nullptr,
         InputField::TabWeight, SpinRules::TabWeight, true},
        {NAMED("vsbCampden"), K::Spin, &F::fraSO2, 2190, 1800, 255, 300, nullptr, nullptr,
         "Tablet weight up down", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::TabWeight},
        {NAMED("lblTabWeight"), K::Label, &F::fraSO2, 2520, 1800, 255, 300, "g", nullptr, nullptr,
         nullptr, 0, nullptr, std::nullopt, nullptr, InputField::TabWeight},
        {BOUND(Frame2), K::Frame, &F::Picture1, 120, 2520, 2895, 1335, "Batch Data", nullptr,
         nullptr},
        {NAMED("Label5"), K::Label, &F::Frame2, 120, 360, 735, 300, "Size", nullptr, nullptr},
        {BOUND(txtBatchSize), K::TextField, &F::Frame2, 600, 360, 750, 300, nullptr, "Batch size.",
         "Size", nullptr, 10, nullptr, std::nullopt, nullptr, InputField::BatchSize,
         SpinRules::BatchSize, true},
        {NAMED("vsbBatchSize"), K::Spin, &F::Frame2, 1350, 360, 255, 300, nullptr, nullptr,
         "Size up down", nullptr, 0, nullptr, std::nullopt, nullptr, InputField::BatchSize},
        {BOUND(cboBatch), K::List, &F::Frame2, 1680, 360, 1095, 315, nullptr, "Batch size units.",
         "Batch size units", BatchUnitItems, 11, nullptr, std::nullopt, "batchunits"},
        {NAMED("Label6"), K::Label, &F::Frame2, 120, 840, 375, 300, "pH", nullptr, nullptr},
        {BOUND(txtPh), K::TextField, &F::Frame2, 600, 840, 750, 300, nullptr, "Wine pH level.",
         "pH", nullptr, 12, nullptr, std::nullopt, nullptr, InputField::Ph, SpinRules::Ph, true},
        {NAMED("vsbPh"), K::Spin, &F::Frame2, 1350, 840, 255, 300, nullptr, nullptr, "pH up down",
         nullptr, 0, nullptr, std::nullopt, nullptr, InputField::Ph},
        {BOUND(Label9), K::RightLabel, &F::Picture1, 3960, 360, 855, 300, "Target", nullptr,
         nullptr},
        {BOUND(cboTarget), K::List, &F::Picture1, 5160, 360, 1935, 315, nullptr, "Target", "Target",
         TargetItems, 14, &F::Label9, std::nullopt, "target"},
        {NAMED("Label7"), K::Label, &F::Picture1, 5160, 840, 975, 300, "Total Free  ", nullptr,
         nullptr},
        {NAMED("Label8"), K::Label, &F::Picture1, 6360, 840, 975, 300, "Molecular", nullptr,
         nullptr},
        {NAMED("Label3"), K::Label, &F::Picture1, 5280, 1080, 735, 300, "(mg/L)", nullptr, nullptr},
        {NAMED("Label10"), K::Label, &F::Picture1, 6480, 1080, 735, 300, "(mg/L)", nullptr,
         nullptr},
        {NAMED("Label1"), K::RightLabel, &F::Picture1, 3720, 1440, 1215, 300, "Existing SO2",
         nullptr, nullptr},
        {BOUND(txtExistSO2), K::TextField, &F::Picture1, 5160, 1440, 750, 300, nullptr,
         "Measured free SO2 level.", "Existing SO2", nullptr, 1, nullptr, std::nullopt, nullptr,
         InputField::ExistSO2, SpinRules::ExistSO2, true},
        {NAMED("vsbExistSO2"), K::Spin, &F::Picture1, 5910, 1440, 255, 300, nullptr, nullptr,
         "Existing SO2 up down", nullptr, 0, nullptr, std::nullopt, nullptr, InputField::ExistSO2},
        {BOUND(lblExistMolSO2), K::ResultLabel, &F::Picture1, 6360, 1440, 750, 300, nullptr,
         "Calculated existing molecular SO2 level.", "Existing molecular SO2"},
        {NAMED("Label2"), K::RightLabel, &F::Picture1, 3720, 1800, 1215, 300, "Target SO2", nullptr,
         nullptr},
        {BOUND(txtTargetSO2), K::TextField, &F::Picture1, 5160, 1800, 750, 300, nullptr,
         "Desired free SO2 target level.", "Target SO2", nullptr, 2, nullptr, std::nullopt, nullptr,
         InputField::TargetSO2, SpinRules::TargetSO2, true},
        {BOUND(vsbTargetSO2), K::Spin, &F::Picture1, 5910, 1800, 255, 300, nullptr, nullptr,
         "Target SO2 up down", nullptr, 0, nullptr, std::nullopt, nullptr, InputField::TargetSO2},
        {BOUND(txtTargetMolSO2), K::TextField, &F::Picture1, 6360, 1800, 750, 300, nullptr,
         "Desired molecular SO2 target level.", "Target molecular SO2", nullptr, 3, nullptr,
         std::nullopt, nullptr, InputField::TargetMolSO2, SpinRules::TargetMolSO2},
        {BOUND(vsbTargetMolSO2), K::Spin, &F::Picture1, 7110, 1800, 255, 300, nullptr, nullptr,
         "Target molecular SO2 up down", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::TargetMolSO2},
        {NAMED("Label11"), K::RightLabel, &F::Picture1, 3240, 2160, 1695, 300, "SO2 Requirement",
         nullptr, nullptr},
        {BOUND(lblSO2Requirement), K::ResultLabel, &F::Picture1, 5160, 2160, 750, 300, nullptr,
         "Incremental free SO2 required.", "SO2 Requirement"},
        {BOUND(lblMolSO2Requirement), K::ResultLabel, &F::Picture1, 6360, 2160, 750, 300, nullptr,
         "Incremental molecular SO2 required.", "Molecular SO2 Requirement"},
        {NAMED("Label4"), K::RightLabel, &F::Picture1, 3120, 2880, 1815, 300, "Required Addition ",
         nullptr, nullptr},
        {BOUND(lblAddition), K::ResultLabel, &F::Picture1, 5160, 2880, 975, 300, nullptr,
         "Amount of sulphite required to achieve target SO2 level.", "Required Addition"},
        {BOUND(cboAdditionUnits), K::List, &F::Picture1, 6360, 2880, 855, 315, nullptr,
         "Addition Units", "Addition Units", nullptr, 15},
        {BOUND(cmdCalculate), K::Button, &F::Picture1, 5160, 3480, 1935, 375, "&Calculate",
         "Compute sulphite requirements.", nullptr, nullptr, 13},
    };
    return rows;
}

frmSulfite::frmSulfite(const QString& programDirectory, const QString& lockPath, QWidget* parent)
    : QMainWindow(parent), ProgramDirectory(programDirectory), InstanceLock(lockPath)
{
    setObjectName(QStringLiteral("frmSulfite"));
    setWindowTitle(QStringLiteral("Ardovin"));
    setWindowIcon(ProgramIcon());
    BuildMenus();
    BuildControls();
    ConnectHandlers();
    // Created in the powder and free-target states, with the powder units to choose from.
    grpForm->button(int(SourceForm::Powder))->setChecked(true);
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
    const BuiltControls built = ardovin::BuildControls(*this, *client, Layout());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    grpForm = built.forms;
    Fields = built.fields;
    DefaultsShown.emplace(built.defaults, [this](SourceForm form) { FillAdditionUnits(form); });
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
    QAction* cut = addItem(mnuEdit, "mnuEditCut", "Cu&t", &frmSulfite::mnuEditCut_Click);
    QAction* copy = addItem(mnuEdit, "mnuEditCopy", "&Copy", &frmSulfite::mnuEditCopy_Click);
    addItem(mnuEdit, "mnuEditPaste", "&Paste", &frmSulfite::mnuEditPaste_Click);
    Edit = new EditMenu(*this, *cut, *copy);
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmSulfite::mnuEdit_Click);

    addItem(bar, "mnuOptions", "&Options", &frmSulfite::mnuOptions_Click);

    QMenu* mnuTools = addMenu("mnuTools", "&Tools");
    addItem(mnuTools, "mnuToolsCalc", "&Calculator", &frmSulfite::mnuToolsCalc_Click);
    addItem(mnuTools, "mnuToolsTable", "&Sulphite Table Generator",
            &frmSulfite::mnuToolsTable_Click);
    addItem(mnuTools, "mnuToolsFreeSO2", "Free SO2 by &pH...", &frmSulfite::mnuToolsFreeSO2_Click);
    addItem(mnuTools, "mnuToolsCellar", "Cellar &Book...", &frmSulfite::mnuToolsCellar_Click);
    addItem(mnuTools, "mnuToolsRecord", "&Record Addition...", &frmSulfite::mnuToolsRecord_Click);

    QMenu* mnuHelp = addMenu("mnuHelp", "&Help");
    addItem(mnuHelp, "mnuHelpCalc", "&Ardovin Manual", &frmSulfite::mnuHelpCalc_Click);
    addItem(mnuHelp, "mnuHelpWeb", "Ardovin &Web Page", &frmSulfite::mnuHelpWeb_Click);
    addItem(mnuHelp, "mnuHelpEmail", "&Email the author", &frmSulfite::mnuHelpEmail_Click);
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuSep1"));
    addItem(mnuHelp, "mnuHelpAbout", "&About Ardovin", &frmSulfite::mnuHelpAbout_Click);
}

void frmSulfite::ConnectHandlers()
{
    for (const FieldControls& f : Fields)
        connect(f.field, &QLineEdit::textChanged, this, &frmSulfite::ClearResults);
    ConnectSpinControls(Fields);
    connect(cboForm, &QComboBox::currentIndexChanged, this, &frmSulfite::cboForm_Click);
    connect(cboBatch, &QComboBox::currentIndexChanged, this, &frmSulfite::cboBatch_Click);
    connect(cboAdditionUnits, &QComboBox::currentIndexChanged, this,
            &frmSulfite::cboAdditionUnits_Click);
    connect(cboTarget, &QComboBox::currentIndexChanged, this, &frmSulfite::cboTarget_Click);
    connect(grpForm, &QButtonGroup::idToggled, this, [this](int form, bool checked) {
        // Only the selected option button is visited by Tab; arrows move within the group.
        grpForm->button(form)->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        if (checked)
            optForm_Click(SourceForm(form));
    });
    connect(cmdCalculate, &QPushButton::clicked, this, &frmSulfite::cmdCalculate_Click);
    txtExistSO2->installEventFilter(this);
}
