#include "TempDirectory.h"
#include "gui/Artwork.h"
#include "gui/SplashThread.h"
#include "gui/SplashWnd.h"
#include "res/ResourceIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

bool AnySplashWindowLeft() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<CSplashWnd*>(widget) != nullptr) {
            return true;
        }
    }
    return false;
}

class SplashTest : public ::testing::Test {
protected:
    void StartWithPicture() {
        splash.SetBitmap(IDB_SPLASH);
        splash.Start();
        ASSERT_NE(splash.Window(), nullptr);
    }

    CSplashThread splash;
};

TEST_F(SplashTest, ShowsThePictureFramelessInTheMiddleOfTheScreen) {
    StartWithPicture();
    CSplashWnd* window = splash.Window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(1017, 607));
    EXPECT_EQ(window->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
    EXPECT_EQ(window->windowType(), Qt::SplashScreen);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window->grab().toImage().convertToFormat(QImage::Format_RGB32),
              Artwork::Bitmap(IDB_SPLASH).convertToFormat(QImage::Format_RGB32));
}

TEST_F(SplashTest, CloseRequestsAreIgnoredUntilHide) {
    StartWithPicture();
    QPointer<CSplashWnd> window = splash.Window();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());

    splash.Hide();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(splash.Window(), nullptr);
    EXPECT_FALSE(AnySplashWindowLeft());
}

TEST_F(SplashTest, LeftButtonDragsThePicture) {
    StartWithPicture();
    CSplashWnd* window = splash.Window();
    const QPoint start = window->pos();
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(window, QPoint(60, 40));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(window->pos(), start + QPoint(50, 30));

    // With the button up again, the mouse passes over without moving it.
    QTest::mouseMove(window, QPoint(100, 100));
    EXPECT_EQ(window->pos(), start + QPoint(50, 30));
}

TEST_F(SplashTest, PictureFromAFileGivesTheWindowItsSize) {
    TempDirectory directory;
    const QString file = QString::fromStdString(directory.Path()) + "/splash.png";
    ASSERT_TRUE(Artwork::Bitmap(IDB_SPLASH).scaled(200, 120).save(file));
    splash.SetBitmapFile(file);
    splash.Start();
    ASSERT_NE(splash.Window(), nullptr);
    EXPECT_EQ(splash.Window()->size(), QSize(200, 120));
    EXPECT_TRUE(splash.Window()->isVisible());
}

TEST_F(SplashTest, MissingPictureGivesAnEmptyWindowThatHideStillCloses) {
    splash.SetBitmapFile("/nonexistent/splash.bmp");
    splash.Start();
    ASSERT_NE(splash.Window(), nullptr);
    EXPECT_EQ(splash.Window()->size(), QSize(0, 0));
    EXPECT_FALSE(splash.Window()->isVisible());
    splash.Hide();
    EXPECT_EQ(splash.Window(), nullptr);
}

TEST_F(SplashTest, HideWaitsForAWindowStillToCome) {
    splash.SetBitmap(IDB_SPLASH);
    QTimer::singleShot(20, [this] { splash.Start(); });
    splash.Hide(milliseconds(10'000));
    EXPECT_EQ(splash.Window(), nullptr);
    EXPECT_FALSE(AnySplashWindowLeft());
}

TEST_F(SplashTest, HideGivesUpOnAWindowThatNeverComes) {
    QElapsedTimer elapsed;
    elapsed.start();
    splash.Hide(milliseconds(50));
    EXPECT_GE(elapsed.elapsed(), 50);
    EXPECT_EQ(splash.Window(), nullptr);
}

} // namespace
