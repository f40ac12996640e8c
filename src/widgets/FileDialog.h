#pragma once

#include <QString>

class QWidget;

// Every file dialog of the station goes through here, so tests can answer
// one without showing it.
class FileDialog {
public:
    // The path the user chose, or an empty text when they cancel. Choosing an
    // existing file asks before it is replaced; a name given without an
    // extension gets the one of the proposed name.
    static QString GetSaveFileName(QWidget* parent, const QString& caption,
                                   const QString& proposedName, const QString& filter);

    // Test hook: the next dialog is not shown and answers this path; an empty
    // path answers as Cancel.
    static void SetNextFileName(const QString& path);
    static bool HasPendingFileNames();
    static QString LastProposedName();
};
