#pragma once

#include "core/curve.h"

#include <functional>
#include <QDialog>

class FreeSO2Chart;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The Free SO2 by pH window: the free SO2 that molecular aims need over the pH range of wines,
// as a chart and a table, with the main window's wine marked. It follows the main window's
// fields as they change; it keeps no inputs of its own. A modeless dialog, so that a screen
// reader announces it as a window with its title.
class frmFreeSO2 : public QDialog
{
    Q_OBJECT

public:
    // texts gives the main window's inputs as they stand now; the window closes with its owner.
    frmFreeSO2(std::function<ardovin::FormTexts()> texts, QWidget* owner);

    // Any input of the main window changed.
    void InputsChanged();

public slots:
    void cmdCopy_Click();
    void cmdSaveImage_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void Refresh();
    void ShowTable(const ardovin::CurveTable& table);
    bool SaveImage(const QString& path) const;

    std::function<ardovin::FormTexts()> MainTexts;
    ardovin::CurveTable Shown; // what Copy puts on the clipboard
    QString ImageFolder;

    FreeSO2Chart* chtFreeSO2 = nullptr;
    QLabel* lblWinePoint = nullptr;
    QTableView* grdFreeSO2 = nullptr;
    QStandardItemModel* Table = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSaveImage = nullptr;
};
