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
        ui->visibleTotalLabel->setText(tr("%n Fixture Definition(s)", "", nVisible));
    } else {
        // The noun follows the total: "0 of 1 Fixture Definition".
        ui->visibleTotalLabel->setText(
            tr("%1 of %n Fixture Definition(s)", "", nTotal).arg(nVisible));
    }
    if (nSelected != 0)
        ui->selectionLabel->setText(tr(" (%n Selected)", "", nSelected));
    else
        ui->selectionLabel->clear();
}
