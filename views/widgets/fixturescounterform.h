#pragma once

#include <QWidget>

namespace Ui
{
class FixturesCounterForm;
}

// The counter line under a fixture list: "12 of 40 Fixture Definitions (3 Selected)".
class FixturesCounterForm : public QWidget
{
    Q_OBJECT

public:
    explicit FixturesCounterForm(QWidget *parent = nullptr);
    ~FixturesCounterForm() override;

    QString visibleTotalText() const;
    QString selectionText() const;

public slots:
    void updateCounts(int nVisible, int nTotal, int nSelected);

private:
    Ui::FixturesCounterForm *ui;
};
