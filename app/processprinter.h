#pragma once
// The printer chosen in the printer set-up dialog, kept for the whole process;
// the print preview prints on it.

class QPrinter;

QPrinter& ProcessPrinter();
