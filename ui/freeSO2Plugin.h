#pragma once

#include "core/calculation.h"

#include <functional>
#include <QtPlugin>

class QWidget;

// The Free SO2 by pH window lives in a plug-in that is loaded the first time it opens, so that
// start-up never loads Qt Charts. Only these types cross between the program and the plug-in.
namespace ardovin {

// What the window needs of the main window.
struct FreeSO2Host
{
    std::function<FormTexts()> texts; // the main window's inputs as they stand now
    // A failure, told through the program's one message seam.
    std::function<void(const QString&)> reportFailure;
};

class FreeSO2View
{
public:
    virtual ~FreeSO2View() = default;
    virtual QWidget& Window() = 0;
    // Any input of the main window changed.
    virtual void InputsChanged() = 0;
};

class FreeSO2Factory
{
public:
    virtual ~FreeSO2Factory() = default;
    // The window, owned by owner and closed with it.
    virtual FreeSO2View* CreateWindow(FreeSO2Host host, QWidget* owner) = 0;
};

// The plug-in's file name, without the platform's suffix.
inline constexpr char FreeSO2PluginName[] = "ardovin_chart";

} // namespace ardovin

#define ARDOVIN_FREE_SO2_FACTORY_IID "org.example.ardovin.FreeSO2Factory/1"
Q_DECLARE_INTERFACE(ardovin::FreeSO2Factory, ARDOVIN_FREE_SO2_FACTORY_IID)
