#include "PasswordAnswer.h"

#include "gui/PasswordDlg.h"
#include "res/ResourceIds.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
const QString PASSWORD = "Vexor";

void Press(CPasswordDlg& dialog, int id) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::number(id)), Qt::LeftButton);
}
} // namespace

PasswordAnswer::PasswordAnswer(QStringList attempts) : m_attempts(std::move(attempts)) {
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (auto* dialog = qobject_cast<CPasswordDlg*>(QApplication::activeModalWidget())) {
            m_timer.stop();
            Answer(*dialog);
        }
    });
    m_timer.start();
}

void PasswordAnswer::Answer(CPasswordDlg& dialog) {
    m_bAppeared = true;
    auto* edit = dialog.findChild<QLineEdit*>(QString::number(IDC_PASSWORD));
    for (const QString& attempt : m_attempts) {
        if (attempt != PASSWORD) {
            MessageBox::SetNextAnswer(QMessageBox::Ok);
        }
        edit->clear();
        QTest::keyClicks(edit, attempt);
        Press(dialog, IDOK);
        m_messages.append(dialog.isVisible() ? MessageBox::LastText() : QString());
    }
    if (dialog.isVisible()) {
        Press(dialog, IDCANCEL);
    }
}
