// The device's programs: the built-in ones kvemu links in, entered in the program table at
// every start, and the one the device starts when it is switched on.
#pragma once

void registerDevicePrograms();

// Starts the program the device opens at power-on (Notes), in front of the Today screen.
bool startStartupProgram();
