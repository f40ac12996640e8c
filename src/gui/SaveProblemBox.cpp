#include "SaveProblemBox.h"

#include "store/HeliowatchDoc.h"
#include "widgets/MessageBox.h"

void ShowSaveProblem(QWidget* parent, const CHeliowatchDoc& document) {
    MessageBox::Show(
        parent,
        "The settings could not be saved: " + QString::fromStdString(document.SaveProblem()) +
            "\n\nThey hold until the station ends.",
        "Heliowatch", QMessageBox::Ok, QMessageBox::Warning);
}
