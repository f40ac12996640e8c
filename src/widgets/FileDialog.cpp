#include "FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <deque>

namespace {
std::deque<QString> g_answers;
QString g_lastProposedName;
} // namespace

QString FileDialog::GetSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& proposedName, const QString& filter) {
    g_lastProposedName = proposedName;
    if (!g_answers.empty()) {
        const QString answer = g_answers.front();
        g_answers.pop_front();
        return answer;
    }
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(proposedName).suffix());
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void FileDialog::SetNextFileName(const QString& path) {
    g_answers.push_back(path);
}

bool FileDialog::HasPendingFileNames() {
    return !g_answers.empty();
}

QString FileDialog::LastProposedName() {
    return g_lastProposedName;
}
