#include "gui/Artwork.h"

#include "res/ResourceIds.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7) {
        for (int x = 0; x < image.width(); x += 7) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

TEST(ArtworkTest, SplashPictureHasItsOwnSizeAndIsNoFlatFill) {
    const QImage picture = Artwork::Bitmap(IDB_SPLASH);
    EXPECT_EQ(picture.size(), QSize(1017, 607));
    EXPECT_GT(DistinctColours(picture), 100);
}

TEST(ArtworkTest, IconsAreDrawnOnATransparentGround) {
    for (const int id : {IDI_PANE, IDI_ABOUT}) {
        const QImage image = Artwork::Icon(id).pixmap(32, 32).toImage();
        ASSERT_EQ(image.size(), QSize(32, 32)) << id;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << id;
        EXPECT_GT(DistinctColours(image), 3) << id;
    }
    EXPECT_NE(Artwork::Icon(IDI_PANE).pixmap(32, 32).toImage(),
              Artwork::Icon(IDI_ABOUT).pixmap(32, 32).toImage());
}

TEST(ArtworkTest, IdsWithoutAPictureGiveNothing) {
    EXPECT_TRUE(Artwork::Bitmap(IDI_PANE).isNull());
    EXPECT_TRUE(Artwork::Icon(IDB_SPLASH).isNull());
    EXPECT_TRUE(Artwork::Icon(0).isNull());
}

} // namespace
