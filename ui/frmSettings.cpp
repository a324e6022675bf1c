#include "ui/frmSettings.h"

#include "core/numbers.h"
#include "core/validation.h"
#include "settings/settings_file.h"
#include "ui/controls.h"
#include "ui/modProc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace ardovin;

namespace {

using K = ControlKind;
using LayoutRow = ControlSpec<frmSettings>;

constexpr int ClientWidth = 6150;
constexpr int ClientHeight = 3135;

bool IsOtherProgramWindow(const QWidget& window)
{
    const Qt::WindowType type = window.windowType();
    return (type == Qt::Window || type == Qt::Dialog) &&
           !qobject_cast<const frmSettings*>(&window) && !qobject_cast<const QMessageBox*>(&window);
}

} // namespace

#define BOUND(member) ARDOVIN_BOUND(frmSettings, member)
#define NAMED(name) ARDOVIN_NAMED(name)

// The dialog as it is laid out, in twips; then the place in the Tab order, the label that
// captions a list, an option button's form, the default setting a control shows.
std::span<const LayoutRow> frmSettings::Layout()
{
    using F = frmSettings;
    static const LayoutRow rows[] = {
        {BOUND(Picture1), K::Panel, nullptr, 0, 0, 6150, 2535, nullptr, nullptr, "Settings panel"},
        {BOUND(fraSO2), K::Frame, &F::Picture1, 120, 120, 2895, 2295, "Sulphite Data", nullptr,
         nullptr},
        {NAMED("cboForm"), K::List, &F::fraSO2, 240, 480, 2415, 315, nullptr,
         "Default sulphite source.", "Default sulphite source", SourceItems, 0, nullptr,
         std::nullopt, "source"},
        {NAMED(RowOf(SourceForm::Powder).optionName), K::Option, &F::fraSO2, 240, 1080, 1095, 300,
         RowOf(SourceForm::Powder).listText, nullptr, nullptr, nullptr, 0, nullptr,
         SourceForm::Powder, "form"},
        {NAMED(RowOf(SourceForm::Solution).optionName), K::Option, &F::fraSO2, 240, 1440, 1095, 300,
         RowOf(SourceForm::Solution).listText, nullptr, nullptr, nullptr, 0, nullptr,
         SourceForm::Solution, "form"},
        {BOUND(txtSolution), K::TextField, &F::fraSO2, 1440, 1440, 750, 300, nullptr,
         "Default solution %.", "Solution percentage", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::Solution, SpinRules::Solution},
        {NAMED("vsbPercent"), K::Spin, &F::fraSO2, 2190, 1440, 255, 300, nullptr, nullptr,
         "Solution percentage up down", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::Solution},
        {NAMED("lblPercent"), K::Label, &F::fraSO2, 2520, 1440, 255, 300, "%", nullptr, nullptr,
         nullptr, 0, nullptr, std::nullopt, nullptr, InputField::Solution},
        {NAMED(RowOf(SourceForm::Tablet).optionName), K::Option, &F::fraSO2, 240, 1800, 975, 300,
         RowOf(SourceForm::Tablet).listText, nullptr, nullptr, nullptr, 0, nullptr,
         SourceForm::Tablet, "form"},
        {BOUND(txtTabWeight), K::TextField, &F::fraSO2, 1440, 1800, 750, 300, nullptr,
         "Default tablet weight.", "Tablet weight", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::TabWeight, SpinRules::TabWeight},
        {NAMED("vsbCampden"), K::Spin, &F::fraSO2, 2190, 1800, 255, 300, nullptr, nullptr,
         "Tablet weight up down", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::TabWeight},
        {NAMED("lblTabWeight"), K::Label, &F::fraSO2, 2520, 1800, 255, 300, "g", nullptr, nullptr,
         nullptr, 0, nullptr, std::nullopt, nullptr, InputField::TabWeight},
        {BOUND(Frame2), K::Frame, &F::Picture1, 3135, 120, 2895, 855, "Batch Data", nullptr,
         nullptr},
        {NAMED("Label5"), K::Label, &F::Frame2, 120, 360, 495, 300, "Size", nullptr, nullptr},
        {BOUND(txtBatchSize), K::TextField, &F::Frame2, 600, 360, 750, 300, nullptr,
         "Default batch size.", "Size", nullptr, 0, nullptr, std::nullopt, nullptr,
         InputField::BatchSize, SpinRules::BatchSize},
        {NAMED("vsbBatchSize"), K::Spin, &F::Frame2, 1350, 360, 255, 300, nullptr, nullptr,
         "Size up down", nullptr, 0, nullptr, std::nullopt, nullptr, InputField::BatchSize},
        {NAMED("cboBatch"), K::List, &F::Frame2, 1680, 360, 1095, 315, nullptr,
         "Default batch size units.", "Default batch size units", SavedBatchUnitItems, 0, nullptr,
         std::nullopt, "batchunits"},
        {BOUND(Frame1), K::Frame, &F::Picture1, 3135, 1080, 2895, 735, "Target", nullptr, nullptr},
        {NAMED("cboTarget"), K::List, &F::Frame1, 240, 300, 2415, 315, nullptr, "Default target.",
         "Default target", TargetItems, 0, nullptr, std::nullopt, "target"},
        {BOUND(cmdRestore), K::Button, &F::Picture1, 3135, 1980, 2895, 375,
         "&Restore Program Defaults", "Restore program settings.", nullptr},
        {BOUND(cmdCancel), K::Button, nullptr, 3135, 2655, 1335, 375, "&Cancel",
         "Close without saving settings.", nullptr},
        {BOUND(cmdOK), K::Button, nullptr, 4695, 2655, 1335, 375, "&OK", "Close and save settings.",
         nullptr},
    };
    return rows;
}

frmSettings::frmSettings(UserDefaults& store, QString settingsFilePath, QWidget* parent)
    : QDialog(parent), Store(store), SettingsFilePath(std::move(settingsFilePath))
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Default Settings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    BuildControls();
    // Coming back from another window of the program refills the fields; coming back from
    // another program (no focus before), a message box or a list's pop-up (a window of its
    // own in Qt) does not.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now && now->window() == this && old && IsOtherProgramWindow(*old->window()))
            Form_Activate();
    });
}

void frmSettings::BuildControls()
{
    const BuiltControls built = ardovin::BuildControls(*this, *this, Layout());
    setFixedSize(Twips(ClientWidth), Twips(ClientHeight));
    grpForm = built.forms;
    Fields = built.fields;
    Defaults.emplace(built.defaults, [this](SourceForm form) { SetSourceGroups(form); });
    txtSolution->setText(QStringLiteral("10"));
    txtTabWeight->setText(QStringLiteral("0.44"));
    txtBatchSize->setText(QStringLiteral("23"));
    ConnectSpinControls(Fields);
    connect(grpForm, &QButtonGroup::idToggled, this, [this](int form, bool checked) {
        if (checked)
            SetSourceGroups(SourceForm(form));
    });
    grpForm->button(int(SourceForm::Powder))->setChecked(true);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSettings::cmdCancel_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmSettings::cmdRestore_Click);
}

void frmSettings::Form_Activate()
{
    if (parentWidget())
        setWindowIcon(parentWidget()->windowIcon());
    if (!Defaults->ShowUserDefaults(Store))
        Defaults->ShowProgramDefaults();
}

void frmSettings::cmdRestore_Click()
{
    Defaults->ShowProgramDefaults();
}

void frmSettings::cmdCancel_Click()
{
    close();
}

void frmSettings::cmdOK_Click()
{
    ValidateDefaults();
}

void frmSettings::SetSourceGroups(SourceForm form)
{
    EnableAmountFields(Fields, form);
}

void frmSettings::ValidateDefaults()
{
    for (const FieldControls& f : Fields)
        if (f.field->text().isEmpty())
            f.field->setText(FormatStandard(QStringLiteral("0")));
    const auto problem =
        FirstDefaultsError(txtSolution->text(), txtTabWeight->text(), txtBatchSize->text());
    if (!problem) {
        SaveUserDefaults();
        return;
    }
    modProc::ShowInputError(problem->message);
    QLineEdit* field = FieldOf(Fields, problem->field);
    // A field of a form that is not chosen is disabled and cannot take the focus.
    if (field->isEnabled())
        field->setFocus(Qt::OtherFocusReason);
}

void frmSettings::SaveUserDefaults()
{
    Defaults->StoreShown(Store);
    if (const auto failure = SaveSettingsFile(SettingsFilePath, Store)) {
        modProc::ShowCritical(QString::number(failure->Code) + u'\r' + failure->Description);
        return;
    }
    close();
}
