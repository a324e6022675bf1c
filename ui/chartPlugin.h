#pragma once

#include "ui/freeSO2Plugin.h"

#include <QObject>

// The plug-in's entry point: Qt finds this object when the program loads the plug-in.
class ChartPlugin : public QObject, public ardovin::FreeSO2Factory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ARDOVIN_FREE_SO2_FACTORY_IID)
    Q_INTERFACES(ardovin::FreeSO2Factory)

public:
    ardovin::FreeSO2View* CreateWindow(ardovin::FreeSO2Host host, QWidget* owner) override;
};
