#pragma once
// Ending other programs, waiting while the window keeps working, and the
// service that the server stage stops and starts.

#include <QString>

// File name of the main program in the program directory, ended before an
// update and started again after it: "Brimsoll", or the name given in the
// environment variable RENOVO_MAIN_PROGRAM (installations that rename it, tests).
QString MainProgramName();

// Ends every process whose executable file name, with ASCII letters in upper
// case, contains name in upper case; never the calling process, and nothing
// for an empty name. Returns how many were ended.
int KillProcess(const QString& name);

// Waits the given time while events keep being processed.
void Delay(int milliseconds);

// Stops or starts (action "stop" or "start") the server-side service through
// the system's service command; the outcome is not examined.
void ControlServerService(const QString& action);
