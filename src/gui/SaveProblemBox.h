#pragma once

class CHeliowatchDoc;
class QWidget;

// Tells the operator, in a message box with the reason, that the settings
// just changed could not be saved and hold only until the station ends.
void ShowSaveProblem(QWidget* parent, const CHeliowatchDoc& document);
