#include "tui/screen_buffer.h"

#include <algorithm>

#include "tui/text_width.h"

namespace tezlo {

ScreenBuffer::ScreenBuffer(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      cells_(static_cast<size_t>(width_) * static_cast<size_t>(height_)) {}

void ScreenBuffer::Unpair(int x, int y) {
  ScreenCell& c = cells_[Index(x, y)];
  if (c.width == 0 && x > 0) {
    ScreenCell& head = cells_[Index(x - 1, y)];
    head.ch = U' ';
    head.width = 1;
    c.ch = U' ';
    c.width = 1;
  } else if (c.width == 2) {
    c.ch = U' ';
    c.width = 1;
    if (x + 1 < width_) {
      ScreenCell& tail = cells_[Index(x + 1, y)];
      tail.ch = U' ';
      tail.width = 1;
    }
  }
}

void ScreenBuffer::Fill(int x, int y, int count, Attr attr) {
  if (y < 0 || y >= height_) return;
  const int from = std::max(x, 0);
  const int to = std::min(x + count, width_);
  for (int i = from; i < to; ++i) {
    Unpair(i, y);
    cells_[Index(i, y)] = ScreenCell{U' ', 1, attr};
  }
}

void ScreenBuffer::PutChar(int x, int y, char32_t ch, Attr attr) {
  if (!Inside(x, y)) return;
  Unpair(x, y);
  cells_[Index(x, y)] = ScreenCell{ch, 1, attr};
}

int ScreenBuffer::Put(int x, int y, std::string_view text, Attr attr, int maxCells) {
  if (y < 0 || y >= height_ || x >= width_) return 0;
  const int limit = std::min(x + maxCells, width_);
  int at = x;
  for (size_t pos = 0; pos < text.size() && at < limit;) {
    char32_t ch = DecodeUtf8(text, pos);
    int w = CharWidth(ch);
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) ch = U' ';
    if (w == 0) continue;  // combining marks are not drawn on their own
    if (at + w > limit) break;
    if (at >= 0) {
      Unpair(at, y);
      if (w == 2) Unpair(at + 1, y);
      cells_[Index(at, y)] = ScreenCell{ch, static_cast<uint8_t>(w), attr};
      if (w == 2) cells_[Index(at + 1, y)] = ScreenCell{U' ', 0, attr};
    }
    at += w;
  }
  return at - x;
}

void ScreenBuffer::Paint(int x, int y, int count, Attr attr) {
  if (y < 0 || y >= height_) return;
  const int from = std::max(x, 0);
  const int to = std::min(x + count, width_);
  for (int i = from; i < to; ++i) cells_[Index(i, y)].attr = attr;
}

std::string ScreenBuffer::RowText(int y) const {
  std::string out;
  if (y < 0 || y >= height_) return out;
  for (int x = 0; x < width_; ++x) {
    const ScreenCell& c = cells_[Index(x, y)];
    if (c.width != 0) AppendUtf8(out, c.ch);
  }
  return out;
}

}  // namespace tezlo
