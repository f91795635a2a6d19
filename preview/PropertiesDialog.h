#pragma once

#include <QDialog>

namespace preview {

// The properties of one file, for desktops without a file manager that shows them:
// name, folder, kind, size, dates, owner and permissions.
class PropertiesDialog : public QDialog {
    Q_OBJECT
public:
    PropertiesDialog(const QString &path, QWidget *parent);
    // The value shown for a row, by its label ("Size", "Owner", ...).
    QString value(const QString &label) const;
};

}  // namespace preview
