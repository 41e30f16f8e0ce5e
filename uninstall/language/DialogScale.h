// The arithmetic of dialog scaling, apart from the windows it is applied to. All
// divisions truncate toward zero.
#pragma once

struct ScaleRect {
  int left, top, right, bottom;
};

struct Placement {
  int x, y, width, height;
};

// A scale percentage as written in a scale entry: leading blanks and a sign, then
// decimal digits up to the first other character; no digits give 0. Values are kept
// within +-10000 so that no size computed from them overflows.
int ReadScaleNumber(const char* text);
// "X*Y" gives X and Y; a text without an asterisk gives 100 and 100. Returns whether
// scaling is needed (not both 100).
bool ParseDialogScale(const char* text, int* scaleX, int* scaleY);

// The non-client width and height of a dialog, each plus one.
void MeasureFrame(const ScaleRect& window, const ScaleRect& client, int* frameX, int* frameY);
// The new outer size of a dialog whose client area is scaled.
void ScaleDialogSize(const ScaleRect& client, int frameX, int frameY, int scaleX, int scaleY, int* width,
                     int* height);
// The new place of a child, from its screen rectangle and the dialog's; frameY here is
// the frame height less the dialog frame's border.
Placement ScaleChild(const ScaleRect& window, const ScaleRect& child, int frameX, int frameY, int scaleX,
                     int scaleY);
// A drop-down combo box's height includes its dropped-down list.
int AddDroppedListHeight(int height, const ScaleRect& dropped, int scaleY);
