#pragma once

#include "core/curve.h"
#include "ui/freeSO2Plugin.h"

#include <QDialog>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QStandardItemModel;
class QTableView;
class QValueAxis;

// The Free SO2 by pH window: the free SO2 that molecular aims need over the pH range of wines,
// as a chart and a table, with the main window's wine marked. It follows the main window's
// fields as they change; it keeps no inputs of its own. A modeless dialog, so that a screen
// reader announces it as a window with its title.
class frmFreeSO2 : public QDialog, public ardovin::FreeSO2View
{
    Q_OBJECT

public:
    frmFreeSO2(ardovin::FreeSO2Host host, QWidget* owner);

    QWidget& Window() override { return *this; }
    void InputsChanged() override;

public slots:
    void cmdCopy_Click();
    void cmdSaveImage_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildChart();
    void BuildControls();
    void Refresh();
    void ShowCurves(const ardovin::WineCurves& wine);
    void ShowWinePoint(const ardovin::WineCurves& wine);
    void ShowTable(const ardovin::CurveTable& table);
    bool SaveImage(const QString& path) const;

    ardovin::FreeSO2Host Host;
    ardovin::CurveTable Shown; // what Copy puts on the clipboard
    QString ImageFolder;

    QChart* Chart = nullptr;
    QValueAxis* axisPh = nullptr;
    QValueAxis* axisFreeSO2 = nullptr;
    QLineSeries* serRed = nullptr;
    QLineSeries* serWhite = nullptr;
    QLineSeries* serTarget = nullptr;
    QScatterSeries* serWine = nullptr;
    QChartView* chtFreeSO2 = nullptr;
    QLabel* lblWinePoint = nullptr;
    QTableView* grdFreeSO2 = nullptr;
    QStandardItemModel* Table = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSaveImage = nullptr;
};
