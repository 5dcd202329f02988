#include "aboutdialog.h"
#include "ui_aboutdialog.h"

#include <QFile>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent), ui(new Ui::AboutDialog)
{
    ui->setupUi(this);
    ui->versionLbl->setText(tr("Version %1").arg(QStringLiteral(KDR_VERSION)));

    // A missing notices resource leaves the box empty; nothing to tell the user.
    QFile notices(QStringLiteral(":/licenses/LICENSES/NOTICES.txt"));
    if (notices.open(QIODevice::ReadOnly)) {
        QByteArray text = notices.readAll();
        const int end = text.indexOf('\0');
        if (end >= 0)
            text.truncate(end);
        ui->textBrowser->setText(QString::fromLatin1(text));
        notices.close();
    }
}

AboutDialog::~AboutDialog()
{
    delete ui;
}

void AboutDialog::on_buttonOK_clicked()
{
    close();
}
