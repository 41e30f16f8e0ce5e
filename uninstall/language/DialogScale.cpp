#include "language/DialogScale.h"

#include <climits>
#include <cstring>

#include "language/LanguageResources.h"

namespace {

constexpr int kScaleLimit = 10000;

int ClampToInt(long long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int Percent(long long value, int scale) {
  return ClampToInt(value * scale / 100);
}

}  // namespace

int ReadScaleNumber(const char* text) {
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' || *text == '\f')
    ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  int value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (value < kScaleLimit) value = value * 10 + (*text - '0');
  }
  if (value > kScaleLimit) value = kScaleLimit;
  return negative ? -value : value;
}

bool ParseDialogScale(const char* text, int* scaleX, int* scaleY) {
  const char* star = strchr(text, '*');
  if (star == nullptr) {
    *scaleX = 100;
    *scaleY = 100;
  } else {
    *scaleX = ReadScaleNumber(text);
    *scaleY = ReadScaleNumber(star + 1);
  }
  return *scaleX != 100 || *scaleY != 100;
}

void MeasureFrame(const ScaleRect& window, const ScaleRect& client, int* frameX, int* frameY) {
  *frameX = ClampToInt(static_cast<long long>(window.right) - window.left + 1 - client.right);
  *frameY = ClampToInt(static_cast<long long>(window.bottom) - window.top + 1 - client.bottom);
}

void ScaleDialogSize(const ScaleRect& client, int frameX, int frameY, int scaleX, int scaleY, int* width,
                     int* height) {
  *width = ClampToInt(static_cast<long long>(Percent(client.right, scaleX)) + frameX);
  *height = ClampToInt(static_cast<long long>(Percent(client.bottom, scaleY)) + frameY);
}

Placement ScaleChild(const ScaleRect& window, const ScaleRect& child, int frameX, int frameY, int scaleX,
                     int scaleY) {
  Placement p;
  p.x = Percent(static_cast<long long>(child.left) - window.left - frameX / 2, scaleX);
  p.y = Percent(static_cast<long long>(child.top) - window.top - frameY, scaleY);
  p.width = Percent(static_cast<long long>(child.right) - child.left + 1, scaleX);
  p.height = Percent(static_cast<long long>(child.bottom) - child.top + 1, scaleY);
  return p;
}

int AddDroppedListHeight(int height, const ScaleRect& dropped, int scaleY) {
  return ClampToInt(static_cast<long long>(height) +
                    Percent(static_cast<long long>(dropped.bottom) - dropped.top + 1, scaleY));
}

bool LanguageResources::GetDialogScale(const char* dialogName, int* scaleX, int* scaleY) const {
  char scale[kScaleTextSize];
  Translate("", scale, sizeof scale, dialogName, TranslationCategory::Dialog);
  return ParseDialogScale(scale, scaleX, scaleY);
}
