#pragma once

#include <QWidget>

class QLabel;
class QMovie;

// Animated "busy" mark laid over a pane; mouse events pass through to the pane below.
class BusyIndicatorOverlay : public QWidget
{
    Q_OBJECT

public:
    explicit BusyIndicatorOverlay(QWidget *parent = nullptr);

    void setActive(bool on);
    bool isIndicatorVisible() const;
    QMovie *movie() const { return busyMovie; }

signals:
    void start();
    void stop();

private:
    QMovie *busyMovie;
    QLabel *indicator;
};
