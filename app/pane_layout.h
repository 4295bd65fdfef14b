#pragma once

// Geometry of the frame's two panes and of the hosts inside them, kept apart
// from the windows so that the arithmetic can be checked on its own.

struct Box {
    int x, y, width, height;
};

struct PaneMetrics {
    int cxFrame;      // SM_CXFRAME
    int cyFrame;      // SM_CYFRAME
    int outerWidth;   // frame window width, borders included
    int clientWidth;  // frame client width
    int clientHeight; // frame client height
    int toolbarHeight;
    int statusHeight;
};

// Clamps splitX (only while the splitter is dragged) and places both panes.
void ComputePanes(int* splitX, bool dragging, const PaneMetrics& m, Box* left, Box* right);

// Hosts inside the panes: d is SM_CYFRAME. The tree host leaves a band along
// the right edge and bottom of the left pane uncovered: that is the splitter.
Box TreeHostBox(int d, int paneWidth, int paneHeight);
Box ListHostBox(int d, int paneWidth, int paneHeight);
// The views inside their hosts; strip is the height of the strip above the tree.
Box TreeViewBox(int d, int strip, int hostWidth, int hostHeight);
Box ListViewBox(int d, int hostWidth, int hostHeight);

// Status-bar right edges for the widths {100, 0, 130, 150}: the 0 part takes
// what the others leave of the client width.
void ComputeStatusParts(int clientWidth, int edges[4]);
