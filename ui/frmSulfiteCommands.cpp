#include "ui/frmSulfite.h"

#include "core/numbers.h"
#include "platform/addresses.h"
#include "platform/calculator.h"
#include "platform/shell.h"
#include "ui/cellarForms.h"
#include "ui/editMenu.h"
#include "ui/frmAbout.h"
#include "ui/frmCellar.h"
#include "ui/frmFreeSO2.h"
#include "ui/frmSettings.h"
#include "ui/modProc.h"

using namespace ardovin;

void frmSulfite::mnuEdit_Click()
{
    Edit->Opening();
}
void frmSulfite::mnuEditCut_Click()
{
    Edit->Cut();
}
void frmSulfite::mnuEditCopy_Click()
{
    Edit->Copy();
}
void frmSulfite::mnuEditPaste_Click()
{
    Edit->Paste();
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

frmCellar* frmSulfite::OpenCellar()
{
    if (!Cellar) {
        const QString path = CellarPath.isEmpty() ? DefaultCellarPath() : CellarPath;
        QString error;
        std::unique_ptr<ardovin::Cellar> book = OpenSqliteCellar(path, error);
        if (!book) {
            cellarForms::Tell(error);
            return nullptr;
        }
        Cellar = new frmCellar(std::move(book), *this);
    }
    return Cellar;
}

void frmSulfite::mnuToolsCellar_Click()
{
    if (!OpenCellar())
        return;
    Cellar->show();
    Cellar->raise();
    Cellar->activateWindow();
}

void frmSulfite::mnuToolsRecord_Click()
{
    if (!Shown || FormatStandard(Shown->result.ShownAddition) == FormatStandard(0.0))
        return cellarForms::Tell(QStringLiteral("There is no addition to record: calculate one "
                                                "first. An addition of 0.00 is not recorded."));
    // The calculator checks pH only for a molecular target; a record needs it sound either way.
    if (!(Shown->inputs.PH >= 1 && Shown->inputs.PH <= 14))
        return cellarForms::Tell(
            QStringLiteral("pH must be between 1 and 14 to record the addition."));
    if (frmCellar* book = OpenCellar())
        book->RecordAddition(*Shown);
}

void frmSulfite::mnuHelpCalc_Click()
{
    OpenDocument(ManualAddress(ProgramDirectory));
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
