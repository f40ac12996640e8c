#pragma once

#include <QStringList>
#include <QTimer>

class CPasswordDlg;

// Answers the password dialog that the next action opens, as an operator
// would: types each attempt and presses OK, answering the box that a wrong
// one brings, then presses Cancel if the dialog is still open.
class PasswordAnswer {
public:
    explicit PasswordAnswer(QStringList attempts);

    bool Appeared() const { return m_bAppeared; }
    // The box shown after each attempt, empty when the dialog closed.
    const QStringList& Messages() const { return m_messages; }

private:
    void Answer(CPasswordDlg& dialog);

    QStringList m_attempts;
    QStringList m_messages;
    bool m_bAppeared = false;
    QTimer m_timer;
};
