#include "gui/GuiNotifier.h"

#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(GuiNotifierTest, WorkerWaitsUntilTheBoxOnTheGuiThreadIsClosed) {
    QObject context;
    GuiNotifier notifier(&context, "Heliowatch");
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        notifier.Show("Remove inverter success!");
        returned = true;
    });
    QTest::qWait(50);
    EXPECT_TRUE(returned) << "the box was answered on the GUI thread";
    worker.join();
    EXPECT_EQ(MessageBox::LastText(), "Remove inverter success!");
    EXPECT_EQ(MessageBox::LastCaption(), "Heliowatch");
}

// A serial number such as "<img src=/x.png>" would otherwise be read as markup.
TEST(MessageBoxTest, WireTextIsShownAsWritten) {
    Qt::TextFormat shown = Qt::AutoText;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->textFormat();
        box->reject();
    });
    MessageBox::Show(nullptr, "Serno <img src=/x.png>", "Heliowatch", QMessageBox::Ok,
                     QMessageBox::Information);
    EXPECT_EQ(shown, Qt::PlainText);
}

TEST(GuiNotifierTest, CancelReleasesAWaitingWorkerAndSilencesLaterBoxes) {
    QObject context;
    GuiNotifier notifier(&context, "Heliowatch");
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        notifier.Show("never shown");
        returned = true;
    });
    // The GUI thread does not process events: the worker stays blocked.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned);
    notifier.Cancel();
    worker.join();
    EXPECT_TRUE(returned);
    QCoreApplication::processEvents();
    EXPECT_NE(MessageBox::LastText(), "never shown");
    notifier.Show("after the end"); // on the GUI thread, cancelled: nothing blocks
}

} // namespace
