#pragma once

#include <QString>

// How the window reaches the controller, as chosen on the command line.
struct DeviceLinkOptions {
    bool simulate = false; // use the simulated controller instead of the USB link
    QString port;          // serial port to use; empty: discover
    QString backend;       // serial, qtserial or d2xx; empty: the platform's default
    QString d2xxLibrary;   // the D2XX driver library file; empty: the platform's own name
};
