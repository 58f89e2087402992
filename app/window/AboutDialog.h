#pragma once

#include <QDialog>

// The About box: the product line, one line of notice and OK.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
