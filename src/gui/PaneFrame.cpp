#include "PaneFrame.h"

#include "Artwork.h"
#include "PaneTitleStyle.h"
#include "comm/WindowMessages.h"
#include "res/ResourceIds.h"
#include "widgets/WindowMessageEvent.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>

PaneFrame::PaneFrame(const QString& title, bool maximizable, QWidget* parent)
    : QMdiSubWindow(parent) {
    // CustomizeWindowHint makes the hints exact: no close button hint.
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
    if (maximizable) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    setWindowFlags(flags);
    setWindowTitle(title);
    auto* titleStyle = new PaneTitleStyle;
    titleStyle->setParent(this);
    setStyle(titleStyle);
    setWindowIcon(Artwork::Icon(IDI_PANE));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        setGeometry(0, 0, (size.width() - 100) / 2, size.height() / 2);
    }
    RemoveCloseFromSystemMenu();
}

PaneFrame::~PaneFrame() {
    m_target.Detach();
    if (m_published != nullptr) {
        MessageTarget* ours = &m_target;
        m_published->compare_exchange_strong(ours, nullptr);
    }
}

void PaneFrame::PublishAs(std::atomic<MessageTarget*>& global) {
    m_published = &global;
    global = &m_target;
}

QWidget* PaneFrame::View() const {
    const auto* scroll = qobject_cast<QScrollArea*>(widget());
    return scroll != nullptr ? scroll->widget() : widget();
}

void PaneFrame::closeEvent(QCloseEvent* event) {
    event->ignore();
}

bool PaneFrame::event(QEvent* event) {
    if (event->type() == WindowMessageEvent::EventType()) {
        if (static_cast<WindowMessageEvent*>(event)->Message() == WM_INTERVAL_CHANGED &&
            View() != nullptr) {
            const auto* message = static_cast<WindowMessageEvent*>(event);
            WindowMessageEvent forwarded(message->Message(), message->WParam());
            QCoreApplication::sendEvent(View(), &forwarded);
        }
        return true;
    }
    return QMdiSubWindow::event(event);
}

void PaneFrame::RemoveCloseFromSystemMenu() {
    QMenu* menu = systemMenu();
    if (menu == nullptr) {
        return;
    }
    for (QAction* action : menu->actions()) {
        if (action->shortcut() == QKeySequence(QKeySequence::Close)) {
            menu->removeAction(action);
        }
    }
}
