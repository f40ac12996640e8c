#include "gui/StatusIcons.h"

#include "res/ResourceIds.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(StatusIcons, DiscsAreOpaqueInTheMiddleAndClearInTheCorners) {
    for (const int size : {StatusIcons::LIST_SIZE, StatusIcons::STANDARD_SIZE}) {
        for (const int id : {IDI_STATUS_GREY, IDI_STATUS_GREEN, IDI_STATUS_RED}) {
            const QImage disc = StatusIcons::Pixmap(id, size).toImage();
            ASSERT_EQ(disc.size(), QSize(size, size));
            EXPECT_EQ(disc.pixelColor(size / 2, size / 2).alpha(), 255);
            EXPECT_EQ(disc.pixelColor(0, 0).alpha(), 0);
            EXPECT_EQ(disc.pixelColor(size - 1, size - 1).alpha(), 0);
        }
    }
    EXPECT_EQ(StatusIcons::Pixmap(IDI_PANE, 16).toImage().pixelColor(8, 8).alpha(), 0);
}

} // namespace
