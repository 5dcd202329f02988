#include "busyindicatoroverlay.h"

#include <QGridLayout>
#include <QLabel>
#include <QMovie>
#include <QPalette>

BusyIndicatorOverlay::BusyIndicatorOverlay(QWidget *parent) : QWidget(parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::transparent);
    setPalette(pal);
    setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *layout = new QGridLayout(this);
    busyMovie = new QMovie(QStringLiteral(":/pixmaps/ajax-loader.gif"), QByteArray(), this);
    indicator = new QLabel(this);
    indicator->setFixedSize(30, 30);
    indicator->setMovie(busyMovie);
    layout->addWidget(indicator, 0, 0, Qt::AlignCenter);

    // Queued, so that setActive may run inside any slot without re-entering the movie.
    connect(this, &BusyIndicatorOverlay::start, busyMovie, &QMovie::start, Qt::QueuedConnection);
    connect(this, &BusyIndicatorOverlay::stop, busyMovie, &QMovie::stop, Qt::QueuedConnection);
    emit start();
}

void BusyIndicatorOverlay::setActive(bool on)
{
    if (on) {
        emit start();
        indicator->show();
    } else {
        indicator->hide();
        emit stop();
    }
}

bool BusyIndicatorOverlay::isIndicatorVisible() const
{
    return !indicator->isHidden();
}
