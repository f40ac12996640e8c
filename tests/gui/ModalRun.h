#pragma once

#include <functional>

class QDialog;

// Runs the dialog modally and calls whileOpen once it is up. A dialog still
// open afterwards is cancelled, so a test never waits on it.
int RunModal(QDialog& dialog, const std::function<void()>& whileOpen);
