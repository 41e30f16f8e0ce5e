#include "Main/GlyphButton.h"

void DrawGlyphButton(const DRAWITEMSTRUCT& item, HIMAGELIST glyphs, int glyphSize, bool isDefault) {
  HDC dc = item.hDC;
  RECT face = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const int shift = pushed ? 1 : 0;
  const int width = face.right - face.left;
  const int height = face.bottom - face.top;

  if (isDefault) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

  // Glyph and caption together are centred vertically.
  const TEXTMETRICA metrics = [dc] {
    TEXTMETRICA m = {};
    GetTextMetricsA(dc, &m);
    return m;
  }();
  const int gap = glyphSize / 6;
  const int block = glyphSize + gap + metrics.tmHeight;
  const int top = item.rcItem.top + (height - block) / 2;
  if (glyphs) {
    ImageList_Draw(glyphs, 0, dc, item.rcItem.left + (width - glyphSize) / 2 + shift, top + shift,
                   ILD_TRANSPARENT);
  }

  char caption[128];
  const int length = GetWindowTextA(item.hwndItem, caption, sizeof caption);
  RECT text = {face.left + 2 + shift, top + glyphSize + gap + shift, face.right - 2 + shift,
               top + block + shift};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  UINT format = DT_CENTER | DT_SINGLELINE | DT_TOP;
  if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
  DrawTextA(dc, caption, length, &text, format);

  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = face;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}
