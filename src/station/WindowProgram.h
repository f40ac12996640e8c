#pragma once

// The window is a program of its own, heliowatch-gui beside this one, so
// that the station never loads a graphics library. Runs it in this process's
// place with the same arguments; returns the exit status only when it
// cannot, having said why.
int RunWindowProgram(char** argv);
