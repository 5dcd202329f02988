#pragma once

class SimulatedFtdiDriver;

// The ready-made pair of --simulate: a current controller (software 1.3) holding a few
// fixture definitions, and a dongle with firmware 1.2 that asks for an update.
void addDemoControllers(SimulatedFtdiDriver &driver);
