#pragma once

#include "ui/defaultsControls.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollBar;

// The Default Settings window: edits the defaults the next start uses. It works on the store
// and the file only, never on the main window's fields.
class frmSettings : public QDialog
{
    Q_OBJECT

public:
    // store is the one store of the run; settingsFilePath is where the defaults are saved.
    frmSettings(ardovin::UserDefaults& store, QString settingsFilePath, QWidget* parent);

    // Refills the fields from the store; run each time the window becomes active.
    void Form_Activate();

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdRestore_Click();

private slots:
    void optPowder_Click();
    void optSolution_Click();
    void optTablet_Click();

private:
    void BuildControls();
    void SetSourceGroups(ardovin::SourceForm form);
    void ValidateDefaults();
    void SaveUserDefaults();

    ardovin::UserDefaults& Store;
    QString SettingsFilePath;
    DefaultsControls Controls{};
    QLabel* lblPercent = nullptr;
    QLabel* lblTabWeight = nullptr;
    QScrollBar* vsbPercent = nullptr;
    QScrollBar* vsbCampden = nullptr;
};
