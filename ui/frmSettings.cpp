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

// The dialog as it is laid out, in twips.
constexpr ControlSpec Layout[] = {
    {"Picture1", K::Panel, nullptr, 0, 0, 6150, 2535, nullptr, nullptr, "Settings panel"},
    {"fraSO2", K::Frame, "Picture1", 120, 120, 2895, 2295, "Sulphite Data", nullptr, nullptr},
    {"cboForm", K::List, "fraSO2", 240, 480, 2415, 315, nullptr, "Default sulphite source.",
     "Default sulphite source", SourceItems},
    {"optPowder", K::Option, "fraSO2", 240, 1080, 1095, 300, "Powder", nullptr, nullptr},
    {"optSolution", K::Option, "fraSO2", 240, 1440, 1095, 300, "Solution", nullptr, nullptr},
    {"txtSolution", K::TextField, "fraSO2", 1440, 1440, 750, 300, nullptr, "Default solution %.",
     "Solution percentage"},
    {"vsbPercent", K::Spin, "fraSO2", 2190, 1440, 255, 300, nullptr, nullptr,
     "Solution percentage up down"},
    {"lblPercent", K::Label, "fraSO2", 2520, 1440, 255, 300, "%", nullptr, nullptr},
    {"optTablet", K::Option, "fraSO2", 240, 1800, 975, 300, "Tablet", nullptr, nullptr},
    {"txtTabWeight", K::TextField, "fraSO2", 1440, 1800, 750, 300, nullptr,
     "Default tablet weight.", "Tablet weight"},
    {"vsbCampden", K::Spin, "fraSO2", 2190, 1800, 255, 300, nullptr, nullptr,
     "Tablet weight up down"},
    {"lblTabWeight", K::Label, "fraSO2", 2520, 1800, 255, 300, "g", nullptr, nullptr},
    {"Frame2", K::Frame, "Picture1", 3135, 120, 2895, 855, "Batch Data", nullptr, nullptr},
    {"Label5", K::Label, "Frame2", 120, 360, 495, 300, "Size", nullptr, nullptr},
    {"txtBatchSize", K::TextField, "Frame2", 600, 360, 750, 300, nullptr, "Default batch size.",
     "Size"},
    {"vsbBatchSize", K::Spin, "Frame2", 1350, 360, 255, 300, nullptr, nullptr, "Size up down"},
    {"cboBatch", K::List, "Frame2", 1680, 360, 1095, 315, "U.S. Gal.|Imp. gal.|Litres",
     "Default batch size units.", "Default batch size units"},
    {"Frame1", K::Frame, "Picture1", 3135, 1080, 2895, 735, "Target", nullptr, nullptr},
    {"cboTarget", K::List, "Frame1", 240, 300, 2415, 315, nullptr, "Default target.",
     "Default target", TargetItems},
    {"cmdRestore", K::Button, "Picture1", 3135, 1980, 2895, 375, "&Restore Program Defaults",
     "Restore program settings.", nullptr},
    {"cmdCancel", K::Button, nullptr, 3135, 2655, 1335, 375, "&Cancel",
     "Close without saving settings.", nullptr},
    {"cmdOK", K::Button, nullptr, 4695, 2655, 1335, 375, "&OK", "Close and save settings.",
     nullptr},
};

constexpr int ClientWidth = 6150;
constexpr int ClientHeight = 3135;

constexpr SpinBinding Spins[] = {
    {"vsbBatchSize", "txtBatchSize", SpinRules::BatchSize},
    {"vsbCampden", "txtTabWeight", SpinRules::TabWeight},
    {"vsbPercent", "txtSolution", SpinRules::Solution},
};

bool IsOtherProgramWindow(const QWidget& window)
{
    const Qt::WindowType type = window.windowType();
    return (type == Qt::Window || type == Qt::Dialog) &&
           !qobject_cast<const frmSettings*>(&window) && !qobject_cast<const QMessageBox*>(&window);
}

} // namespace

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
    ardovin::BuildControls(*this, Layout);
    setFixedSize(Twips(ClientWidth), Twips(ClientHeight));
    txtSolution = Control<QLineEdit>(*this, "txtSolution");
    txtTabWeight = Control<QLineEdit>(*this, "txtTabWeight");
    txtBatchSize = Control<QLineEdit>(*this, "txtBatchSize");
    cmdOK = Control<QPushButton>(*this, "cmdOK");
    cmdCancel = Control<QPushButton>(*this, "cmdCancel");
    cmdRestore = Control<QPushButton>(*this, "cmdRestore");
    grpForm = &GroupFormOptions(*this);
    Defaults.emplace(*this, [this](SourceForm form) { SetSourceGroups(form); });
    txtSolution->setText(QStringLiteral("10"));
    txtTabWeight->setText(QStringLiteral("0.44"));
    txtBatchSize->setText(QStringLiteral("23"));
    ConnectSpinControls(*this, Spins);
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
    EnableSourceGroups(*this, form);
}

void frmSettings::ValidateDefaults()
{
    for (QLineEdit* field : {txtSolution, txtTabWeight, txtBatchSize})
        if (field->text().isEmpty())
            field->setText(FormatStandard(QStringLiteral("0")));
    const auto problem =
        FirstDefaultsError(txtSolution->text(), txtTabWeight->text(), txtBatchSize->text());
    if (!problem) {
        SaveUserDefaults();
        return;
    }
    modProc::ShowInputError(problem->message);
    QLineEdit* field = problem->field == InputField::Solution    ? txtSolution
                       : problem->field == InputField::TabWeight ? txtTabWeight
                                                                 : txtBatchSize;
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
