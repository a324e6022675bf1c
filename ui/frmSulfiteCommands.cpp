#include "ui/frmSulfite.h"

#include "core/numbers.h"
#include "platform/addresses.h"
#include "platform/calculator.h"
#include "platform/shell.h"
#include "settings/last_cellar.h"
#include "ui/cellarForms.h"
#include "ui/cellarOpen.h"
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

QString frmSulfite::LocalCellarPath() const
{
    return CellarPath.isEmpty() || IsServerAddress(CellarPath) ? DefaultCellarPath() : CellarPath;
}

// The cellar given for this run, else the shared one opened last, else the user's own file. A
// shared cellar that cannot be opened leaves the user's own file to work in, rather than no
// cellar book, from which another shared cellar can be chosen.
frmCellar* frmSulfite::OpenCellar()
{
    if (!Cellar) {
        const QString remembered = CellarPath.isEmpty() ? LastCellar() : QString();
        const QString location = !CellarPath.isEmpty()  ? CellarPath
                                 : remembered.isEmpty() ? DefaultCellarPath()
                                                        : remembered;
        std::unique_ptr<ardovin::Cellar> book = cellarOpen::Open(location, this);
        if (!book && location != LocalCellarPath())
            book = cellarOpen::Open(LocalCellarPath(), this);
        if (!book)
            return nullptr;
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
