#include "ui/chartPlugin.h"

#include "ui/frmFreeSO2.h"

ardovin::FreeSO2View* ChartPlugin::CreateWindow(ardovin::FreeSO2Host host, QWidget* owner)
{
    return new frmFreeSO2(std::move(host), owner);
}
