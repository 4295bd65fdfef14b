#include "app/pane_layout.h"

void ComputePanes(int* splitX, bool dragging, const PaneMetrics& m, Box* left, Box* right)
{
    // Only a drag is clamped: resizing the frame never moves the splitter.
    if (dragging) {
        if (*splitX < m.cxFrame)
            *splitX = m.cxFrame;
        if (*splitX > m.outerWidth - 2 * m.cyFrame)
            *splitX = m.outerWidth - 2 * m.cyFrame;
    }
    int top = m.toolbarHeight + m.cyFrame - m.cyFrame / 2;
    int height = m.clientHeight - m.toolbarHeight - m.statusHeight;
    *left = Box{-m.cxFrame, top, *splitX + m.cxFrame, height};
    *right = Box{*splitX, top, m.clientWidth - *splitX, height};
}

Box TreeHostBox(int d, int paneWidth, int paneHeight)
{
    return Box{d / 2, 0, paneWidth - 2 * d, paneHeight - d};
}

Box ListHostBox(int d, int paneWidth, int paneHeight)
{
    return Box{0, (-d) / 2, paneWidth + d, paneHeight};
}

Box TreeViewBox(int d, int strip, int hostWidth, int hostHeight)
{
    int h = d / 2;
    return Box{h, strip + h, hostWidth - h, hostHeight - strip - h};
}

Box ListViewBox(int d, int hostWidth, int hostHeight)
{
    return Box{(-d) / 2, 0, hostWidth + d / 2, hostHeight};
}

void ComputeStatusParts(int clientWidth, int edges[4])
{
    static const int widths[4] = {100, 0, 130, 150};
    int i = 0;
    int sum = 0;
    for (; i < 4 && widths[i] != 0; ++i) {
        sum += widths[i];
        edges[i] = sum;
    }
    int right = clientWidth;
    int j = 3;
    for (; j > i && widths[j] != 0; --j) {
        edges[j] = right;
        right -= widths[j];
    }
    edges[j] = right;
}
