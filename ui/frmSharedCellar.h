#pragma once

#include "storage/cellar.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

// Where the shared cellar is: a libpq service, or a server (host name or socket folder), port,
// database and user, with how the connection is secured. No password is asked here: it comes
// from the user's password file or service file, or the cellar book asks when it connects.
// The address the fields make is shown as they change.
class frmSharedCellar : public QDialog
{
    Q_OBJECT

public:
    // Accepted: open the Address(); UseLocal: go back to the cellar book's own file.
    enum Outcome { UseLocal = 2 };

    frmSharedCellar(const std::optional<ardovin::ServerAddress>& shown, QWidget* parent);

    const ardovin::ServerAddress& Address() const { return Chosen; }

    void done(int result) override;

private:
    // The fields' address, or why they make none.
    std::optional<ardovin::ServerAddress> FieldsAddress(QString& error) const;
    void ShowAddress();

    ardovin::ServerAddress Chosen;
    QLineEdit* txtService = nullptr;
    QLineEdit* txtHost = nullptr;
    QLineEdit* txtPort = nullptr;
    QLineEdit* txtDatabase = nullptr;
    QLineEdit* txtUser = nullptr;
    QComboBox* cboSecurity = nullptr;
    QLineEdit* txtAuthority = nullptr;
    QLabel* lblAddress = nullptr;
};
