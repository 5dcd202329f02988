#include "fixturescounterform.h"
#include "ui_fixturescounterform.h"

FixturesCounterForm::FixturesCounterForm(QWidget *parent)
    : QWidget(parent), ui(new Ui::FixturesCounterForm)
{
    ui->setupUi(this);
    // The form carries placeholder texts for the designer only.
    ui->visibleTotalLabel->clear();
    ui->selectionLabel->clear();
}

FixturesCounterForm::~FixturesCounterForm()
{
    delete ui;
}

QString FixturesCounterForm::visibleTotalText() const
{
    return ui->visibleTotalLabel->text();
}

QString FixturesCounterForm::selectionText() const
{
    return ui->selectionLabel->text();
}

void FixturesCounterForm::updateCounts(int nVisible, int nTotal, int nSelected)
{
    if (nVisible == 0 && nTotal == 0) {
        ui->visibleTotalLabel->clear();
        ui->selectionLabel->clear();
        return;
    }
    if (nVisible != 0 && nVisible == nTotal) {
        ui->visibleTotalLabel->setText(nVisible == 1 ? tr("1 Fixture Definition")
                                                     : tr("%1 Fixture Definitions").arg(nVisible));
    } else {
        ui->visibleTotalLabel->setText(
            nTotal == 1 ? tr("%1 of %2 Fixture Definition").arg(nVisible).arg(nTotal)
                        : tr("%1 of %2 Fixture Definitions").arg(nVisible).arg(nTotal));
    }
    if (nSelected != 0)
        ui->selectionLabel->setText(tr(" (%1 Selected)").arg(nSelected));
    else
        ui->selectionLabel->clear();
}
