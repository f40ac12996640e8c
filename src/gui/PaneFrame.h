#pragma once

#include "widgets/WidgetTarget.h"

#include <QMdiSubWindow>
#include <atomic>

// A pane of the main window: it can be moved, resized and minimized but never
// closed; it passes WM_INTERVAL_CHANGED on to its view. Its message target is
// published in a process-wide value while the pane exists.
class PaneFrame : public QMdiSubWindow {
public:
    PaneFrame(const QString& title, bool maximizable, QWidget* parent = nullptr);
    ~PaneFrame() override;

    MessageTarget* Target() { return &m_target; }
    // Publishes the target; the value is cleared again when the pane goes.
    void PublishAs(std::atomic<MessageTarget*>& global);
    // The pane's view, also when it scrolls inside the pane.
    QWidget* View() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void RemoveCloseFromSystemMenu();

    WidgetTarget m_target{this};
    std::atomic<MessageTarget*>* m_published = nullptr;
};

// The list and general status panes: no maximize box.
class CViewFrame : public PaneFrame {
public:
    explicit CViewFrame(const QString& title, QWidget* parent = nullptr)
        : PaneFrame(title, false, parent) {}
};

// The chart panes.
class CGraphFrame : public PaneFrame {
public:
    explicit CGraphFrame(const QString& title, QWidget* parent = nullptr)
        : PaneFrame(title, true, parent) {}
};
