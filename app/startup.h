#pragma once
// Start-up of the main program: title, data module, main window, message loop.

class QApplication;

// Runs the program; the exit code of the message loop, or 1 when the database
// could not be opened.
int RunBrimsoll(QApplication& app);
