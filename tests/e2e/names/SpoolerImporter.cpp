// A program that imports the spooler at load time, as programs commonly do: beside a planted
// winspool.drv it loads that one, which shows that the planted-DLL test can see such a load.
#include <windows.h>
#include <winspool.h>

// Imported, never called: the planted DLL offers nothing.
int main(int argc, char**) { return argc > 99 && ClosePrinter(nullptr) ? 1 : 0; }
