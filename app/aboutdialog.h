#pragma once

#include <QDialog>

namespace Ui
{
class AboutDialog;
}

// Shows the product picture, the version and the built-in notices text.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

private slots:
    void on_buttonOK_clicked();

private:
    Ui::AboutDialog *ui;
};
