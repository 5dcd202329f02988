#pragma once

#include <QString>

// How the window reaches the controller, as chosen on the command line.
struct DeviceLinkOptions {
    bool simulate = false; // use the simulated controller instead of the USB link
    QString port;          // serial port to use; empty: discover
};
