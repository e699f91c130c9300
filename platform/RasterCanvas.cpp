#include "platform/RasterCanvas.h"

#include "platform/PixelMemory.h"
#include "platform/TextFace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

namespace {

using i64 = std::int64_t;
using u64 = std::uint64_t;
__extension__ typedef __int128 i128;
__extension__ typedef unsigned __int128 u128;

constexpr std::uint32_t kOpaque = 0xff000000u;
constexpr std::uint32_t kWhite = 0xffffffffu;

// The one place where model colours and buffer pixels meet.
constexpr std::uint32_t ToRgb32(Color c) {
  return kOpaque | (std::uint32_t(RedOf(c)) << 16) | (std::uint32_t(GreenOf(c)) << 8) | BlueOf(c);
}

constexpr Color FromRgb32(std::uint32_t p) {
  return RGBColor(std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p));
}


/// A box of pixels with exclusive right and bottom, in 64 bits so that
/// widening a figure by its pen never overflows. Empty when r <= l or b <= t.
struct Box {
  i64 l = 0;
  i64 t = 0;
  i64 r = 0;
  i64 b = 0;

  bool Empty() const { return r <= l || b <= t; }
  Box Grown(i64 n) const { return {l - n, t - n, r + n, b + n}; }
};

Box OrderedBox(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  return {std::min<i64>(l, r), std::min<i64>(t, b), std::max<i64>(l, r), std::max<i64>(t, b)};
}

Box Intersect(const Box& a, const Box& b) {
  return {std::max(a.l, b.l), std::max(a.t, b.t), std::min(a.r, b.r), std::min(a.b, b.b)};
}

bool Fits64(i128 v) { return v >= INT64_MIN && v <= INT64_MAX; }

/// Truncating a / b and a % b; one machine division when both fit in 64 bits
/// (every figure on a canvas), the slow 128-bit one otherwise.
std::pair<i128, i128> DivMod(i128 a, i128 b) {
  if (Fits64(a) && Fits64(b) && !(a == INT64_MIN && b == -1)) {
    const i64 a64 = static_cast<i64>(a), b64 = static_cast<i64>(b);
    return {a64 / b64, a64 % b64};
  }
  return {a / b, a % b};
}

/// floor(a / b) and ceil(a / b) for b > 0.
i128 FloorDiv(i128 a, i128 b) {
  const auto [q, r] = DivMod(a, b);
  return (r != 0 && a < 0) ? q - 1 : q;
}
i128 CeilDiv(i128 a, i128 b) {
  const auto [q, r] = DivMod(a, b);
  return (r != 0 && a > 0) ? q + 1 : q;
}

/// An unsigned 256-bit product, enough to compare the ellipse equation for
/// boxes the size of the whole 32-bit plane.
struct U256 {
  u128 hi = 0;
  u128 lo = 0;

  friend bool operator<=(const U256& a, const U256& b) {
    return a.hi < b.hi || (a.hi == b.hi && a.lo <= b.lo);
  }

  U256 Plus(u128 v) const {
    U256 out{hi, lo + v};
    if (out.lo < lo) ++out.hi;
    return out;
  }
};

U256 Multiply(u128 a, u128 b) {
  const u128 mask = ~u64{0};
  const u128 a0 = a & mask, a1 = a >> 64, b0 = b & mask, b1 = b >> 64;
  const u128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const u128 mid = (p00 >> 64) + (p01 & mask) + (p10 & mask);
  U256 out;
  out.lo = (p00 & mask) | (mid << 64);
  out.hi = p11 + (p01 >> 64) + (p10 >> 64) + (mid >> 64);
  return out;
}

/// One row of a figure: pixels xa..xb-1, empty when xb <= xa.
struct Run {
  i64 xa = 0;
  i64 xb = 0;

  bool Empty() const { return xb <= xa; }
};

/// The pixels whose centres lie inside the ellipse inscribed in a box, row by
/// row. In doubled coordinates centred on the box (X = 2x + 1 - (l + r),
/// Y likewise) a pixel is inside when X²·H² + Y²·W² <= W²·H² + W² + H²: exact,
/// symmetric about both axes and independent of where the box lies. The small
/// allowance W² + H² makes even a thin ellipse reach all four sides of its
/// box; a round figure grows by a fraction of a pixel at most.
class EllipseRows {
public:
  /// table, when given, holds the rows of a box of the same size at (0, 0):
  /// the rows don't depend on where the box lies.
  explicit EllipseRows(const Box& box, const std::vector<Run>* table = nullptr)
      : box_(box), w_(box.r - box.l), h_(box.b - box.t), sumX_(box.l + box.r),
        sumY_(box.t + box.b), table_(table) {}

  const Box& Bounds() const { return box_; }
  i64 SumX() const { return sumX_; }
  i64 SumY() const { return sumY_; }

  Run Row(i64 y) const {
    if (w_ <= 0 || h_ <= 0 || y < box_.t || y >= box_.b) return {};
    if (table_) {
      const Run& r = (*table_)[static_cast<std::size_t>(y - box_.t)];
      return {r.xa + box_.l, r.xb + box_.l};
    }
    // Callers walk rows in order and look at each row's neighbours.
    Memo& memo = memo_[static_cast<std::size_t>(y & 3)];
    if (memo.valid && memo.y == y) return memo.run;
    memo = {true, y, Compute(y)};
    return memo.run;
  }

  /// The pixels of row y whose four neighbours all belong to the figure.
  Run Interior(i64 y) const {
    const Run mid = Row(y);
    if (mid.Empty()) return {};
    const Run up = Row(y - 1);
    const Run down = Row(y + 1);
    if (up.Empty() || down.Empty()) return {};
    return {std::max({mid.xa + 1, up.xa, down.xa}), std::min({mid.xb - 1, up.xb, down.xb})};
  }

private:
  struct Memo {
    bool valid = false;
    i64 y = 0;
    Run run;
  };

  Run Compute(i64 y) const {
    const i64 dy = 2 * y + 1 - sumY_;
    const u128 absY = static_cast<u128>(dy < 0 ? -dy : dy);
    const u128 h = static_cast<u128>(h_);
    const u128 slack = (h - absY) * (h + absY);  // H² - Y², positive inside the box
    const u128 w2 = static_cast<u128>(w_) * static_cast<u128>(w_);
    const U256 limit = Multiply(w2, slack).Plus(w2 + h * h);
    const auto inside = [&](i64 x) {
      const u128 xh = static_cast<u128>(x) * h;
      return Multiply(xh, xh) <= limit;
    };
    // X has the parity of W + 1; start from the floating estimate and settle exactly.
    const i64 parity = (w_ + 1) & 1;
    const long double wl = static_cast<long double>(w_), hl = static_cast<long double>(h_);
    const long double estimate =
        std::sqrt(wl * wl * static_cast<long double>(slack) + wl * wl + hl * hl) / hl;
    i64 x = static_cast<i64>(std::clamp<long double>(std::floor(estimate), 0.0L,
                                                     static_cast<long double>(w_)));
    if (((x - parity) & 1) != 0) --x;
    while (x >= 0 && !inside(x)) x -= 2;
    while (x + 2 <= w_ && inside(x + 2)) x += 2;
    if (x < 0) return {};
    return {(sumX_ - 1 - x) / 2, (sumX_ - 1 + x) / 2 + 1};
  }

  Box box_;
  i64 w_;
  i64 h_;
  i64 sumX_;
  i64 sumY_;
  const std::vector<Run>* table_;
  mutable std::array<Memo, 4> memo_{};
};

/// The order in which a dotted pen walks an ellipse outline, clockwise from
/// the top: down the right half row by row, then up the left half. The index
/// of any outline pixel is computed in closed form, so a huge ellipse that is
/// mostly off the canvas costs only its visible rows.
///
/// Within the upper half the right edge widens by Δ(y) >= 0 per row; an
/// outline row there holds max(1, Δ) pixels. Because the edge is a concave
/// curve, the rows with Δ >= 2 all come before the rows with Δ = 0, so one
/// split row separates the part counted by columns from the part counted by
/// rows. The lower half mirrors the upper half.
class EllipseWalk {
public:
  explicit EllipseWalk(const EllipseRows& rows) : rows_(rows) {
    const Box& box = rows.Bounds();
    centreRight_ = FloorDiv(rows.SumX(), 2);
    widthOdd_ = ((box.r - box.l) & 1) != 0;
    const i64 mirrorSum = rows.SumY() - 1;
    upperEnd_ = static_cast<i64>(FloorDiv(mirrorSum, 2));
    // With an odd height the middle row is its own mirror image.
    const bool hasMiddle = (mirrorSum & 1) == 0;
    lastPaired_ = hasMiddle ? upperEnd_ - 1 : upperEnd_;
    top_ = FirstRowWhere(box.t, upperEnd_, [&](i64 y) { return !rows_.Row(y).Empty(); });
    bottom_ = mirrorSum - top_;
    // The last upper row whose interior is empty (the top row always is).
    emptyEnd_ = FirstRowWhere(top_, upperEnd_ + 1,
                              [&](i64 y) { return !rows_.Interior(y).Empty(); }) - 1;
    split_ = FindSplit();
    splitRight_ = Right(split_);
    totalRight_ = UpperRight(upperEnd_) + UpperRight(lastPaired_);
  }

  i64 TopRow() const { return top_; }
  i64 BottomRow() const { return bottom_; }

  /// Calls plot(x, index) for every outline pixel of row y in [xlo, xhi).
  template <class Plot>
  void ForRow(i64 y, i64 xlo, i64 xhi, Plot plot) const {
    const Run span = rows_.Row(y);
    if (span.Empty()) return;
    const Run inner = rows_.Interior(y);
    Run right{std::max(span.xa, centreRight_), span.xb};
    Run left{span.xa, std::min(span.xb, centreRight_)};
    if (!inner.Empty()) {
      right.xa = inner.xb;
      left.xb = inner.xa;
    }
    const bool upper = y <= upperEnd_;
    const i64 mirror = rows_.SumY() - 1 - y;
    const i64 rightStart =
        upper ? UpperRight(y - 1) : UpperRight(upperEnd_) + UpperRight(lastPaired_) - UpperRight(mirror);
    const i64 leftStart = upper ? totalRight_ + UpperLeft(lastPaired_) + UpperLeft(upperEnd_) - UpperLeft(y)
                                : totalRight_ + UpperLeft(mirror - 1);
    // Upper rows run left to right, lower rows right to left, on both sides.
    const auto walk = [&](const Run& run, i64 start) {
      for (i64 x = std::max(run.xa, xlo); x < std::min(run.xb, xhi); ++x)
        plot(x, start + (upper ? x - run.xa : run.xb - 1 - x));
    };
    walk(right, rightStart);
    walk(left, leftStart);
  }

private:
  /// The first row in [lo, hi) where a monotone predicate holds, or hi.
  template <class Pred>
  static i64 FirstRowWhere(i64 lo, i64 hi, Pred pred) {
    while (lo < hi) {
      const i64 mid = lo + (hi - lo) / 2;
      if (pred(mid)) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    return lo;
  }

  i64 Right(i64 y) const { return rows_.Row(y).xb; }

  i64 FindSplit() const {
    // The edge is the ellipse X² / a² + Y² / b² = 1 with a² = W² + 1 + W²/H²
    // and b = a·H/W; its slope passes 1 where |Y| = b² / sqrt(a² + b²). The
    // true split lies within a row of that, and the rows around it are
    // checked exactly.
    const Box& box = rows_.Bounds();
    const long double w = static_cast<long double>(box.r - box.l);
    const long double h = static_cast<long double>(box.b - box.t);
    const long double a = std::sqrt(w * w + 1 + (w * w) / (h * h));
    const long double b = a * h / w;
    const long double offset = b * b / std::sqrt(a * a + b * b);
    const long double estimate = (static_cast<long double>(rows_.SumY() - 1) - offset) / 2;
    const i64 guess = static_cast<i64>(std::clamp<long double>(
        std::floor(estimate), static_cast<long double>(top_), static_cast<long double>(upperEnd_)));
    const i64 lo = std::max(top_ + 1, guess - 4);
    const i64 hi = std::min(upperEnd_, guess + 4);
    i64 split = std::max(top_, lo - 1);
    for (i64 y = lo; y <= hi; ++y)
      if (Right(y) - Right(y - 1) >= 2) split = y;
    return split;
  }

  /// Outline pixels of the right half in the upper rows top_..y.
  i64 UpperRight(i64 y) const {
    if (y < top_) return 0;
    const i64 right = Right(y);
    // Rows past the split widen by 0 or 1; those that don't still hold a pixel.
    const i64 stillRows = y <= split_ ? 0 : (y - split_) - (right - splitRight_);
    return right - centreRight_ + stillRows;
  }

  /// The left half lacks the centre column in the rows where it is outline.
  i64 UpperLeft(i64 y) const {
    if (y < top_) return 0;
    return UpperRight(y) - (widthOdd_ ? std::min(y, emptyEnd_) - top_ + 1 : 0);
  }

  const EllipseRows& rows_;
  i64 centreRight_ = 0;
  bool widthOdd_ = false;
  i64 upperEnd_ = 0;
  i64 lastPaired_ = 0;
  i64 top_ = 0;
  i64 bottom_ = 0;
  i64 emptyEnd_ = 0;
  i64 split_ = 0;
  i64 splitRight_ = 0;
  i64 totalRight_ = 0;
};

/// Calls plot(x, y, k) for the k-th pixel of the Bresenham walk from (x0, y0)
/// towards (x1, y1), end point left out, for the pixels inside the inclusive
/// window [xlo, xhi] x [ylo, yhi] only. The k-th pixel steps k along the major
/// axis and round(k * minor / major) along the other, halves away from the
/// start; the first visible k is found by solving that for the window edges.
template <class Plot>
void WalkLine(i64 x0, i64 y0, i64 x1, i64 y1, i64 xlo, i64 xhi, i64 ylo, i64 yhi, Plot plot) {
  const i64 dx = x1 >= x0 ? x1 - x0 : x0 - x1;
  const i64 dy = y1 >= y0 ? y1 - y0 : y0 - y1;
  const i64 sx = x1 >= x0 ? 1 : -1;
  const i64 sy = y1 >= y0 ? 1 : -1;
  const bool xMajor = dx >= dy;
  const i64 major = xMajor ? dx : dy;
  const i64 minor = xMajor ? dy : dx;
  if (major == 0 || xlo > xhi || ylo > yhi) return;
  const i64 m0 = xMajor ? x0 : y0, n0 = xMajor ? y0 : x0;
  const i64 ms = xMajor ? sx : sy, ns = xMajor ? sy : sx;
  const i64 mlo = xMajor ? xlo : ylo, mhi = xMajor ? xhi : yhi;
  const i64 nlo = xMajor ? ylo : xlo, nhi = xMajor ? yhi : xhi;

  // Window as ranges of the step k and of the minor offset.
  i64 kLo = ms > 0 ? mlo - m0 : m0 - mhi;
  i64 kHi = ms > 0 ? mhi - m0 : m0 - mlo;
  const i64 offLo = ns > 0 ? nlo - n0 : n0 - nhi;
  const i64 offHi = ns > 0 ? nhi - n0 : n0 - nlo;
  kLo = std::max<i64>(kLo, 0);
  kHi = std::min<i64>(kHi, major - 1);
  if (offHi < 0 || offLo > minor) return;
  // offset(k) = floor((2·k·minor + major) / (2·major)).
  const i128 twoMajor = 2 * static_cast<i128>(major);
  if (offLo > 0)
    kLo = std::max<i64>(kLo, static_cast<i64>(CeilDiv(twoMajor * offLo - major, 2 * static_cast<i128>(minor))));
  if (offHi < minor)
    kHi = std::min<i64>(kHi, static_cast<i64>(FloorDiv(twoMajor * (offHi + 1) - major - 1,
                                                       2 * static_cast<i128>(minor))));
  if (kLo > kHi) return;

  const i128 start = 2 * static_cast<i128>(kLo) * minor + major;
  const auto [startOff, startRem] = DivMod(start, twoMajor);
  i64 off = static_cast<i64>(startOff);
  i64 rem = static_cast<i64>(startRem);
  const i64 step = 2 * minor, wrap = 2 * major;
  for (i64 k = kLo; k <= kHi; ++k) {
    const i64 m = m0 + ms * k, n = n0 + ns * off;
    if (xMajor) {
      plot(m, n, k);
    } else {
      plot(n, m, k);
    }
    rem += step;
    if (rem >= wrap) {
      rem -= wrap;
      ++off;
    }
  }
}

/// Beyond this many separate changed boxes they merge into their bounding box.
constexpr std::size_t kMaxChangedBoxes = 256;

/// Ellipses up to this size keep their rows, so that the many equal boxes of
/// a model's relationships are computed once.
constexpr i64 kTabledEllipseSide = 256;
constexpr std::size_t kTabledEllipses = 64;

constexpr int kMaxPenWidth = 100;

}  // namespace

struct RasterCanvas::Impl : CanvasTools {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t, PixelAllocator<std::uint32_t>> pixels;
  CanvasRect clip;
  Box drawable;  // clip ∩ buffer: nothing is ever written outside it

  i64 penX = 0;
  i64 penY = 0;

  // Coverage marks for wide lines, whose stamps overlap: a pixel is taken
  // once per line, so that not-xor stays reversible.
  std::vector<std::uint32_t> marks;
  std::uint32_t generation = 0;

  /// Disjoint or merged boxes, within the buffer, drawn on since they were last taken.
  std::vector<Box> changed;

  /// The font's text machinery; made at the first text, dropped with the font.
  std::unique_ptr<TextFace> face;
  std::unordered_map<u64, std::vector<Run>> ellipseTables;

  void Allocate(std::int32_t w, std::int32_t h) {
    width = std::max(w, 0);
    height = std::max(h, 0);
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    pixels.assign(count, kWhite);
    marks.clear();
    generation = 0;
    SetClip({0, 0, width, height});
    changed.assign(1, Box{0, 0, width, height});
  }

  /// Records that pixels inside box (before clipping) may have changed.
  void Touch(const Box& box) {
    const Box b = Intersect(box, Box{0, 0, width, height});
    if (b.Empty()) return;
    for (Box& c : changed) {
      // Touching or overlapping boxes merge; repainting a sliver more is cheaper than a box more.
      if (b.l <= c.r && c.l <= b.r && b.t <= c.b && c.t <= b.b) {
        c = {std::min(c.l, b.l), std::min(c.t, b.t), std::max(c.r, b.r), std::max(c.b, b.b)};
        return;
      }
    }
    if (changed.size() < kMaxChangedBoxes) {
      changed.push_back(b);
      return;
    }
    Box all = b;
    for (const Box& c : changed)
      all = {std::min(all.l, c.l), std::min(all.t, c.t), std::max(all.r, c.r), std::max(all.b, c.b)};
    changed.assign(1, all);
  }

  void SetClip(const CanvasRect& r) {
    clip = r;
    const Box ordered = OrderedBox(r.left, r.top, r.right, r.bottom);
    drawable = Intersect(ordered, Box{0, 0, width, height});
  }

  int EffectivePenWidth() const { return std::clamp(penWidth, 1, kMaxPenWidth); }

  std::size_t IndexOf(i64 x, i64 y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
  }
  std::uint32_t& At(i64 x, i64 y) { return pixels[IndexOf(x, y)]; }

  static void Combine(std::uint32_t& dst, std::uint32_t src, ::PenMode mode) {
    switch (mode) {
      case PenMode::pmCopy:
        dst = src;
        return;
      case PenMode::pmNotXor:
        dst = kOpaque | (~(src ^ dst) & 0x00ffffffu);
        return;
    }
  }

  bool Visible(i64 x, i64 y) const {
    return x >= drawable.l && x < drawable.r && y >= drawable.t && y < drawable.b;
  }

  /// Pixels xa..xb-1 of row y, clipped.
  void Span(i64 y, i64 xa, i64 xb, std::uint32_t src, ::PenMode mode) {
    if (y < drawable.t || y >= drawable.b) return;
    xa = std::max(xa, drawable.l);
    xb = std::min(xb, drawable.r);
    if (xa >= xb) return;
    std::uint32_t* row = &At(0, y);
    if (mode == PenMode::pmCopy) {
      std::fill(row + xa, row + xb, src);
    } else {
      for (i64 x = xa; x < xb; ++x) Combine(row[x], src, mode);
    }
  }

  void FillBox(const Box& box, std::uint32_t src, ::PenMode mode) {
    const Box visible = Intersect(box, drawable);
    for (i64 y = visible.t; y < visible.b; ++y) Span(y, visible.l, visible.r, src, mode);
  }

  void BeginCoverage() {
    if (marks.size() != pixels.size()) {
      marks.assign(pixels.size(), 0);
      generation = 0;
    }
    if (++generation == 0) {
      std::fill(marks.begin(), marks.end(), 0);
      generation = 1;
    }
  }

  /// Plot for figures that may reach a pixel twice: only the first reach counts.
  void PlotOnce(i64 x, i64 y, std::uint32_t src, ::PenMode mode) {
    if (!Visible(x, y)) return;
    std::uint32_t& mark = marks[IndexOf(x, y)];
    if (mark == generation) return;
    mark = generation;
    Combine(At(x, y), src, mode);
  }

  /// The rows of the ellipse in box, from the table of its size when it has one.
  EllipseRows Rows(const Box& box) {
    const i64 w = box.r - box.l, h = box.b - box.t;
    if (w <= 0 || h <= 0 || w > kTabledEllipseSide || h > kTabledEllipseSide) return EllipseRows(box);
    const u64 key = static_cast<u64>(w) << 32 | static_cast<u64>(h);
    auto found = ellipseTables.find(key);
    if (found == ellipseTables.end()) {
      if (ellipseTables.size() >= kTabledEllipses) ellipseTables.clear();
      const EllipseRows atOrigin(Box{0, 0, w, h});
      std::vector<Run> rows(static_cast<std::size_t>(h));
      for (i64 y = 0; y < h; ++y) rows[static_cast<std::size_t>(y)] = atOrigin.Row(y);
      found = ellipseTables.emplace(key, std::move(rows)).first;
    }
    return EllipseRows(box, &found->second);
  }

  void Rectangle(const Box& box);
  void DottedFrame(const Box& box);
  void Ellipse(const Box& box);
  void DottedEllipse(const EllipseRows& rows);
  void Line(i64 x0, i64 y0, i64 x1, i64 y1);

  TextFace& Face() {
    if (!face) face = std::make_unique<TextFace>(font);
    return *face;
  }
};

void RasterCanvas::Impl::Rectangle(const Box& box) {
  const std::uint32_t pen = ToRgb32(penColor);
  const std::uint32_t brush = ToRgb32(brushColor);
  const bool fill = brushStyle == BrushStyle::bsSolid;
  if (penStyle == PenStyle::psClear) {
    // Without an outline the platform fills one pixel less on the right and bottom.
    if (fill) FillBox({box.l, box.t, box.r - 1, box.b - 1}, brush, penMode);
    return;
  }
  const int w = EffectivePenWidth();
  if (penStyle == PenStyle::psDot && w == 1) {
    DottedFrame(box);
    if (fill) FillBox({box.l + 1, box.t + 1, box.r - 1, box.b - 1}, brush, penMode);
    return;
  }
  // Wider rings grow outwards by floor((w-1)/2) and inwards by floor(w/2).
  const Box outer = box.Grown((w - 1) / 2);
  const Box hole = box.Grown(-(w / 2) - 1);
  const Box rows = Intersect(outer, drawable);
  for (i64 y = rows.t; y < rows.b; ++y) {
    if (hole.Empty() || y < hole.t || y >= hole.b) {
      Span(y, outer.l, outer.r, pen, penMode);
      continue;
    }
    Span(y, outer.l, hole.l, pen, penMode);
    if (fill) Span(y, hole.l, hole.r, brush, penMode);
    Span(y, hole.r, outer.r, pen, penMode);
  }
}

void RasterCanvas::Impl::DottedFrame(const Box& box) {
  if (box.Empty()) return;
  const std::uint32_t pen = ToRgb32(penColor);
  const i64 w = box.r - box.l, h = box.b - box.t;
  // Clockwise from the top-left corner; every pixel of the frame is visited once.
  const auto row = [&](i64 y, i64 xa, i64 xb, i64 startIndex, bool forward) {
    if (y < drawable.t || y >= drawable.b) return;
    for (i64 x = std::max(xa, drawable.l); x < std::min(xb, drawable.r); ++x) {
      const i64 index = startIndex + (forward ? x - xa : xb - 1 - x);
      if (index % 2 == 0) Combine(At(x, y), pen, penMode);
    }
  };
  const auto column = [&](i64 x, i64 ya, i64 yb, i64 startIndex, bool forward) {
    if (x < drawable.l || x >= drawable.r) return;
    for (i64 y = std::max(ya, drawable.t); y < std::min(yb, drawable.b); ++y) {
      const i64 index = startIndex + (forward ? y - ya : yb - 1 - y);
      if (index % 2 == 0) Combine(At(x, y), pen, penMode);
    }
  };
  row(box.t, box.l, box.r, 0, true);
  if (h > 1) column(box.r - 1, box.t + 1, box.b, w, true);
  if (h > 1 && w > 1) row(box.b - 1, box.l, box.r - 1, w + h - 1, false);
  if (w > 1 && h > 2) column(box.l, box.t + 1, box.b - 1, 2 * w + h - 2, false);
}

void RasterCanvas::Impl::Ellipse(const Box& box) {
  const std::uint32_t pen = ToRgb32(penColor);
  const std::uint32_t brush = ToRgb32(brushColor);
  const bool fill = brushStyle == BrushStyle::bsSolid;
  if (penStyle == PenStyle::psClear) {
    if (!fill) return;
    const EllipseRows shape = Rows({box.l, box.t, box.r - 1, box.b - 1});
    const Box rows = Intersect(shape.Bounds(), drawable);
    for (i64 y = rows.t; y < rows.b; ++y) {
      const Run run = shape.Row(y);
      Span(y, run.xa, run.xb, brush, penMode);
    }
    return;
  }
  const int w = EffectivePenWidth();
  if (penStyle == PenStyle::psDot && w == 1) {
    const EllipseRows shape = Rows(box);
    DottedEllipse(shape);
    if (fill) {
      const Box rows = Intersect(box, drawable);
      for (i64 y = rows.t; y < rows.b; ++y) {
        const Run inner = shape.Interior(y);
        Span(y, inner.xa, inner.xb, brush, penMode);
      }
    }
    return;
  }
  // The ring is what lies inside the outer ellipse and outside the interior
  // of the inner one; the brush takes that interior. The two never share a pixel.
  const EllipseRows outer = Rows(box.Grown((w - 1) / 2));
  const EllipseRows inner = Rows(box.Grown(-(w / 2)));
  const Box rows = Intersect(outer.Bounds(), drawable);
  for (i64 y = rows.t; y < rows.b; ++y) {
    const Run ring = outer.Row(y);
    const Run hole = inner.Interior(y);
    if (hole.Empty()) {
      Span(y, ring.xa, ring.xb, pen, penMode);
      continue;
    }
    Span(y, ring.xa, std::min(ring.xb, hole.xa), pen, penMode);
    if (fill) Span(y, hole.xa, hole.xb, brush, penMode);
    Span(y, std::max(ring.xa, hole.xb), ring.xb, pen, penMode);
  }
}

void RasterCanvas::Impl::DottedEllipse(const EllipseRows& rows) {
  if (rows.Bounds().Empty()) return;
  const EllipseWalk walk(rows);
  const std::uint32_t pen = ToRgb32(penColor);
  const i64 ya = std::max(walk.TopRow(), drawable.t);
  const i64 yb = std::min(walk.BottomRow() + 1, drawable.b);
  for (i64 y = ya; y < yb; ++y) {
    walk.ForRow(y, drawable.l, drawable.r, [&](i64 x, i64 index) {
      if (index % 2 == 0) Combine(At(x, y), pen, penMode);
    });
  }
}

void RasterCanvas::Impl::Line(i64 x0, i64 y0, i64 x1, i64 y1) {
  if (penStyle == PenStyle::psClear || drawable.Empty()) return;
  const std::uint32_t pen = ToRgb32(penColor);
  const int w = EffectivePenWidth();
  const ::PenMode mode = penMode;
  if (w == 1) {
    const bool dotted = penStyle == PenStyle::psDot;
    WalkLine(x0, y0, x1, y1, drawable.l, drawable.r - 1, drawable.t, drawable.b - 1,
             [&](i64 x, i64 y, i64 k) {
               if (!dotted || k % 2 == 0) Combine(At(x, y), pen, mode);
             });
    return;
  }
  // A w x w stamp at every pixel of the thin line; neighbouring stamps overlap.
  const i64 before = (w - 1) / 2, after = w - 1 - before;
  BeginCoverage();
  WalkLine(x0, y0, x1, y1, drawable.l - after, drawable.r - 1 + before, drawable.t - after,
           drawable.b - 1 + before, [&](i64 x, i64 y, i64) {
             for (i64 sy = y - before; sy <= y + after; ++sy)
               for (i64 sx = x - before; sx <= x + after; ++sx) PlotOnce(sx, sy, pen, mode);
           });
}

RasterCanvas::RasterCanvas(std::int32_t width, std::int32_t height) : d_(std::make_unique<Impl>()) {
  d_->Allocate(width, height);
}

RasterCanvas::~RasterCanvas() = default;

void RasterCanvas::Resize(std::int32_t width, std::int32_t height) { d_->Allocate(width, height); }

void RasterCanvas::SetClipRect(const CanvasRect& r) { d_->SetClip(r); }

const std::uint32_t* RasterCanvas::Bits() const { return d_->pixels.data(); }

std::vector<std::uint32_t> RasterCanvas::Snapshot() const {
  return {d_->pixels.begin(), d_->pixels.end()};
}

std::vector<CanvasRect> RasterCanvas::TakeChangedRects() {
  std::vector<CanvasRect> rects;
  rects.reserve(d_->changed.size());
  for (const Box& b : d_->changed)
    rects.push_back({std::int32_t(b.l), std::int32_t(b.t), std::int32_t(b.r), std::int32_t(b.b)});
  d_->changed.clear();
  return rects;
}

std::int32_t RasterCanvas::Width() const { return d_->width; }
std::int32_t RasterCanvas::Height() const { return d_->height; }
CanvasRect RasterCanvas::ClipRect() const { return d_->clip; }

void RasterCanvas::SetPenColor(Color c) { d_->SetPenColor(c); }
Color RasterCanvas::PenColor() const { return d_->penColor; }
void RasterCanvas::SetPenWidth(int width) { d_->penWidth = width; }
int RasterCanvas::PenWidth() const { return d_->penWidth; }
void RasterCanvas::SetPenStyle(::PenStyle style) { d_->penStyle = style; }
::PenStyle RasterCanvas::PenStyle() const { return d_->penStyle; }
void RasterCanvas::SetPenMode(::PenMode mode) { d_->penMode = mode; }
::PenMode RasterCanvas::PenMode() const { return d_->penMode; }

void RasterCanvas::SetBrushColor(Color c) { d_->SetBrushColor(c); }
Color RasterCanvas::BrushColor() const { return d_->brushColor; }
void RasterCanvas::SetBrushStyle(::BrushStyle style) { d_->brushStyle = style; }
::BrushStyle RasterCanvas::BrushStyle() const { return d_->brushStyle; }

void RasterCanvas::SetFontColor(Color c) { d_->SetFontColor(c); }
Color RasterCanvas::FontColor() const { return d_->fontColor; }

void RasterCanvas::SetFont(const FontSpec& font) {
  if (font == d_->font) return;
  d_->font = font;
  d_->face.reset();
}
const FontSpec& RasterCanvas::Font() const { return d_->font; }

void RasterCanvas::MoveTo(std::int32_t x, std::int32_t y) {
  d_->penX = x;
  d_->penY = y;
}

void RasterCanvas::LineTo(std::int32_t x, std::int32_t y) {
  const i64 w = d_->EffectivePenWidth();
  d_->Touch(Box{std::min<i64>(d_->penX, x), std::min<i64>(d_->penY, y),
                std::max<i64>(d_->penX, x) + 1, std::max<i64>(d_->penY, y) + 1}
                .Grown(w));
  d_->Line(d_->penX, d_->penY, x, y);
  d_->penX = x;
  d_->penY = y;
}

void RasterCanvas::Rectangle(std::int32_t left, std::int32_t top, std::int32_t right,
                             std::int32_t bottom) {
  const Box box = OrderedBox(left, top, right, bottom);
  d_->Touch(box.Grown(d_->EffectivePenWidth()));
  d_->Rectangle(box);
}

void RasterCanvas::Ellipse(std::int32_t left, std::int32_t top, std::int32_t right,
                           std::int32_t bottom) {
  const Box box = OrderedBox(left, top, right, bottom);
  d_->Touch(box.Grown(d_->EffectivePenWidth()));
  d_->Ellipse(box);
}

void RasterCanvas::SetPixel(std::int32_t x, std::int32_t y, Color c) {
  if (x < 0 || x >= d_->width || y < 0 || y >= d_->height) return;
  d_->At(x, y) = ToRgb32(c);
  d_->Touch(Box{x, y, i64{x} + 1, i64{y} + 1});
}

Color RasterCanvas::Pixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || x >= d_->width || y < 0 || y >= d_->height) return clWhite;
  return FromRgb32(d_->pixels[d_->IndexOf(x, y)]);
}

void RasterCanvas::TextOut(std::int32_t x, std::int32_t y, std::string_view text) {
  TextFace& face = d_->Face();
  const i64 w = face.Width(text);
  const i64 h = face.Height();
  if (d_->brushStyle == BrushStyle::bsSolid) {
    d_->Touch({x, y, x + w, y + h});
    d_->FillBox({x, y, x + w, y + h}, ToRgb32(d_->brushColor), PenMode::pmCopy);
  }
  if (text.empty()) return;

  // Glyphs may overhang their advance box (accents, italics).
  const Box extent = Box{x, y, x + w, y + h}.Grown(face.Margin());
  d_->Touch(extent);
  const Box visible = Intersect(extent, d_->drawable);
  if (visible.Empty()) return;
  face.Write(text, x, y, {visible.l, visible.t, visible.r, visible.b}, d_->pixels.data(),
             d_->width, ToRgb32(d_->fontColor));
}

std::int32_t RasterCanvas::TextWidth(std::string_view text) {
  return static_cast<std::int32_t>(d_->Face().Width(text));
}

std::int32_t RasterCanvas::TextHeight(std::string_view) {
  return static_cast<std::int32_t>(d_->Face().Height());
}
