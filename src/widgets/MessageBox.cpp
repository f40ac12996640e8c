#include "MessageBox.h"

namespace {
std::deque<QMessageBox::StandardButton> g_answers;
QString g_lastText;
QString g_lastCaption;
QMessageBox::StandardButton g_lastDefault = QMessageBox::NoButton;
} // namespace

QMessageBox::StandardButton MessageBox::Show(QWidget* parent, const QString& text,
                                             const QString& caption,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButton defaultButton) {
    g_lastText = text;
    g_lastCaption = caption;
    g_lastDefault = defaultButton;
    if (!g_answers.empty()) {
        const QMessageBox::StandardButton answer = g_answers.front();
        g_answers.pop_front();
        return answer;
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    // Texts carry serial numbers and reasons from the wire and the network.
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(defaultButton);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::SetNextAnswer(QMessageBox::StandardButton answer) {
    g_answers.push_back(answer);
}

bool MessageBox::HasPendingAnswers() {
    return !g_answers.empty();
}

QString MessageBox::LastText() {
    return g_lastText;
}

QString MessageBox::LastCaption() {
    return g_lastCaption;
}

QMessageBox::StandardButton MessageBox::LastDefaultButton() {
    return g_lastDefault;
}
