#pragma once

#include "core/dose.h"
#include "storage/cellar.h"

#include <memory>
#include <QDialog>

class CellarChart;
class frmSulfite;
class QCheckBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The cellar book: the batches, and for the one chosen its SO2 history as a chart and a table
// of dated entries. Every change is saved at once, each in a transaction of its own; a change
// that could not be saved is told and nothing shown is taken for saved. A modeless dialog, so
// that a screen reader announces it as a window with its title.
//
// Its parts: building it and showing the records (frmCellar.cpp); the commands on batches and
// entries (frmCellarCommands.cpp); what goes to and from the main window and spreadsheets
// (frmCellarExchange.cpp).
class frmCellar : public QDialog
{
    Q_OBJECT

public:
    // main: the calculator whose shown addition is projected and recorded, and which the
    // cellar book fills on request; the window closes with it.
    frmCellar(std::unique_ptr<ardovin::Cellar> cellar, frmSulfite& main);
    ~frmCellar() override;

    // The main window's shown addition changed: the projection follows.
    void AdditionChanged();
    // Records the main window's addition into a batch the user picks, and shows it.
    void RecordAddition(const ardovin::CalculatedAddition& addition);

public slots:
    void cmdAddBatch_Click();
    void cmdEditBatch_Click();
    void cmdArchiveBatch_Click();
    void cmdDeleteBatch_Click();
    void cmdAddMeasurement_Click();
    void cmdAddAddition_Click();
    void cmdEditEntry_Click();
    void cmdDeleteEntry_Click();
    void cmdUseInMain_Click();
    void cmdExport_Click();
    void cmdImport_Click();
    void cmdOpenShared_Click();

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // Shows the records of another cellar book, and hears of other clients' changes to them.
    void UseCellar(std::unique_ptr<ardovin::Cellar> cellar);
    void ShowLocation();
    // Another client may have changed the records: they are read again, the chosen rows kept.
    // A failure to read is not told here: the next change or refresh the user asks for tells it.
    void OthersChanged();
    // After a refused save of a record opened at `read`: where another client has changed it
    // since, says what changed and takes its new version into `typed`, so that saving again puts
    // the user's values over theirs; returns false where it was not that.
    template <typename Record>
    bool TakeNewerVersion(const ardovin::Failure& failure, Record& read, Record& typed);
    QLayout* BatchControls();
    QLayout* EntryControls();
    // Reads the batches again, keeping the one chosen where it is still listed. Records that
    // cannot be read are told (where tellFailure), and what was shown stays.
    void Reload(qint64 chooseBatch, bool tellFailure = true);
    void BatchChosen();
    void ShowEntries();
    void ShowProjection();
    void EnableCommands();
    std::optional<ardovin::Batch> ChosenBatch() const;
    std::optional<ardovin::Entry> ChosenEntry() const;
    void EditBatch(ardovin::Batch batch);
    void AddEntry(ardovin::EntryKind kind);
    void EditEntry(ardovin::Entry entry);
    // A change's outcome: a failure is told, and the records are read again either way.
    // The batch and entry dialogs come back after a failure with what the user typed.
    void Saved(const ardovin::Failure& failure, qint64 chooseBatch);

    std::unique_ptr<ardovin::Cellar> Book;
    frmSulfite& Main;
    QList<ardovin::Batch> Batches;
    QList<ardovin::Entry> Entries; // the chosen batch's, the newest first
    // The main window's addition was recorded: it is projected no more until it changes.
    bool PendingRecorded = false;

    QLabel* lblLocation = nullptr;
    QPushButton* cmdOpenShared = nullptr;
    QLabel* lblBatches = nullptr;
    QTableView* grdBatches = nullptr;
    QStandardItemModel* BatchTable = nullptr;
    QCheckBox* chkArchived = nullptr;
    QPushButton* cmdAddBatch = nullptr;
    QPushButton* cmdEditBatch = nullptr;
    QPushButton* cmdArchiveBatch = nullptr;
    QPushButton* cmdDeleteBatch = nullptr;
    CellarChart* chtHistory = nullptr;
    QLabel* lblSinceMeasured = nullptr;
    QLabel* lblProjection = nullptr;
    QLabel* lblEntries = nullptr;
    QTableView* grdEntries = nullptr;
    QStandardItemModel* EntryTable = nullptr;
    QPushButton* cmdAddMeasurement = nullptr;
    QPushButton* cmdAddAddition = nullptr;
    QPushButton* cmdEditEntry = nullptr;
    QPushButton* cmdDeleteEntry = nullptr;
    QPushButton* cmdUseInMain = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdImport = nullptr;
    QString CsvFolder; // where the last CSV was exported or imported
};
