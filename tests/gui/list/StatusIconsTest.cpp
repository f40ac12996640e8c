#include "gui/StatusIcons.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace {

const ConditionKind KINDS[] = {ConditionKind::Normal, ConditionKind::Fault, ConditionKind::Stale,
                               ConditionKind::Offline, ConditionKind::Removing};

// Which pixels a mark covers, whatever its colour.
std::vector<bool> Outline(ConditionKind kind) {
    const QImage mark = StatusIcons::Pixmap(kind, StatusIcons::STANDARD_SIZE).toImage();
    std::vector<bool> covered;
    for (int y = 0; y < mark.height(); ++y) {
        for (int x = 0; x < mark.width(); ++x) {
            covered.push_back(mark.pixelColor(x, y).alpha() > 128);
        }
    }
    return covered;
}

TEST(StatusIcons, EachConditionHasAShapeOfItsOwnWithClearCorners) {
    for (const ConditionKind kind : KINDS) {
        const QImage mark = StatusIcons::Pixmap(kind, StatusIcons::LIST_SIZE).toImage();
        ASSERT_EQ(mark.size(), QSize(16, 16));
        EXPECT_EQ(mark.pixelColor(8, 9).alpha(), 255);
        EXPECT_EQ(mark.pixelColor(0, 0).alpha(), 0);
        for (const ConditionKind other : KINDS) {
            const auto a = Outline(kind);
            const auto b = Outline(other);
            const auto differing = std::inner_product(a.begin(), a.end(), b.begin(), 0,
                                                      std::plus<>(), std::not_equal_to<>());
            EXPECT_EQ(differing > 20, kind != other)
                << static_cast<int>(kind) << " vs " << static_cast<int>(other);
        }
    }
    EXPECT_EQ(Outline(ConditionKind::PortLost), Outline(ConditionKind::Stale));
}

} // namespace
