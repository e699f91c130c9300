#include "ui/PageFit.h"

#include <cstdint>

QRect PlaceOnPage(QSize printed, QSize printable, bool fitToPage) {
  if (!fitToPage || printed.isEmpty() || printable.isEmpty()) return QRect(QPoint(0, 0), printed);
  std::int64_t w = printed.width();
  std::int64_t h = printed.height();
  const std::int64_t pageW = printable.width();
  const std::int64_t pageH = printable.height();
  if (w > pageW || h > pageH) {
    // The side that overflows more fills the area; the other follows, rounded.
    if (w * pageH >= h * pageW) {
      h = (h * pageW * 2 + w) / (w * 2);
      w = pageW;
    } else {
      w = (w * pageH * 2 + h) / (h * 2);
      h = pageH;
    }
  }
  return QRect(int((pageW - w) / 2), int((pageH - h) / 2), int(w), int(h));
}
