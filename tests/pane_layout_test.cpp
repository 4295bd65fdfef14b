#include <gtest/gtest.h>

#include "app/pane_layout.h"

namespace {

PaneMetrics Metrics(int outer)
{
    PaneMetrics m;
    m.cxFrame = 4;
    m.cyFrame = 4;
    m.outerWidth = outer;
    m.clientWidth = outer - 8;
    m.clientHeight = 400;
    m.toolbarHeight = 26;
    m.statusHeight = 20;
    return m;
}

}  // namespace

TEST(PaneLayout, DragIsClampedBetweenFrameEdges)
{
    Box left;
    Box right;
    int splitX = -50;
    ComputePanes(&splitX, true, Metrics(600), &left, &right);
    EXPECT_EQ(splitX, 4) << "far left stops at cxFrame";

    splitX = 5000;
    ComputePanes(&splitX, true, Metrics(600), &left, &right);
    EXPECT_EQ(splitX, 600 - 2 * 4) << "far right stops at F - 2 cyFrame";
    EXPECT_EQ(left.x, -4);
    EXPECT_EQ(left.width, splitX + 4);
    EXPECT_EQ(right.x, splitX);
    EXPECT_EQ(right.width, 592 - splitX);
    EXPECT_EQ(left.y, 26 + 4 - 2);
    EXPECT_EQ(left.height, 400 - 26 - 20);
}

TEST(PaneLayout, ResizingWithoutDragNeverMovesTheSplitter)
{
    Box left;
    Box right;
    int splitX = 200;
    ComputePanes(&splitX, false, Metrics(150), &left, &right);
    EXPECT_EQ(splitX, 200);
    EXPECT_EQ(right.x, 200);
    EXPECT_LT(right.width, 0) << "a frame narrower than splitX leaves the right pane no width";
    splitX = -3;
    ComputePanes(&splitX, false, Metrics(600), &left, &right);
    EXPECT_EQ(splitX, -3);
}

TEST(PaneLayout, HostsLeaveTheGrabBandAndOddFramesTruncate)
{
    Box tree = TreeHostBox(5, 200, 300);
    EXPECT_EQ(tree.x, 2);
    EXPECT_EQ(tree.y, 0);
    EXPECT_EQ(tree.width, 190);
    EXPECT_EQ(tree.height, 295);
    Box list = ListHostBox(5, 400, 300);
    EXPECT_EQ(list.x, 0);
    EXPECT_EQ(list.y, -2) << "(-d)/2 truncates toward zero";
    EXPECT_EQ(list.width, 405);
    Box view = TreeViewBox(5, 24, 190, 295);
    EXPECT_EQ(view.x, 2);
    EXPECT_EQ(view.y, 26);
    EXPECT_EQ(view.width, 188);
    EXPECT_EQ(view.height, 295 - 24 - 2);
    Box lv = ListViewBox(5, 401, 296);
    EXPECT_EQ(lv.x, -2);
    EXPECT_EQ(lv.width, 403);
}

TEST(StatusParts, RightEdgesFollowTheClientWidth)
{
    int edges[4];
    ComputeStatusParts(800, edges);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], 520);
    EXPECT_EQ(edges[2], 650);
    EXPECT_EQ(edges[3], 800);

    ComputeStatusParts(380, edges);
    EXPECT_EQ(edges[1], 100) << "at 380 pixels part 1 has no room left";
    EXPECT_EQ(edges[2], 230);

    ComputeStatusParts(200, edges);
    EXPECT_EQ(edges[0], 100);
    EXPECT_EQ(edges[1], -80);
    EXPECT_EQ(edges[3], 200);
}
