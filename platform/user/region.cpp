// Rectangles and regions: update regions and paint clipping.
#include "../internal/layer.h"

#include <algorithm>

namespace brelox {

bool rect_empty(const RECT &r) { return r.right <= r.left || r.bottom <= r.top; }

RECT intersect(const RECT &a, const RECT &b)
{
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (rect_empty(r))
        return RECT{0, 0, 0, 0};
    return r;
}

// Past this many pieces the region is kept as its bounding box: repainting
// a little more than needed is harmless, and the list stays short.
constexpr size_t kMaxRects = 16;

void Region::add(const RECT &r)
{
    if (rect_empty(r))
        return;
    for (const RECT &have : rects)
        if (r.left >= have.left && r.top >= have.top && r.right <= have.right && r.bottom <= have.bottom)
            return;
    rects.erase(std::remove_if(rects.begin(), rects.end(),
                               [&](const RECT &have) {
                                   return have.left >= r.left && have.top >= r.top &&
                                          have.right <= r.right && have.bottom <= r.bottom;
                               }),
                rects.end());
    rects.push_back(r);
    if (rects.size() > kMaxRects) {
        RECT b = bounds();
        rects.assign(1, b);
    }
}

bool Region::contains(int x, int y) const
{
    for (const RECT &r : rects)
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return true;
    return false;
}

bool Region::intersects(const RECT &other) const
{
    for (const RECT &r : rects)
        if (!rect_empty(intersect(r, other)))
            return true;
    return false;
}

RECT Region::bounds() const
{
    if (rects.empty())
        return RECT{0, 0, 0, 0};
    RECT b = rects.front();
    for (const RECT &r : rects) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

void CellGrid::resize(int c, int r)
{
    cols = c;
    rows = r;
    cells.assign((size_t)c * r, ' ');
    dirty = true;
}

void CellGrid::put(int col, int row, uint8_t byte)
{
    if (col < 0 || row < 0 || col >= cols || row >= rows)
        return;
    cells[(size_t)row * cols + col] = byte;
    dirty = true;
}

uint8_t CellGrid::get(int col, int row) const
{
    if (col < 0 || row < 0 || col >= cols || row >= rows)
        return ' ';
    return cells[(size_t)row * cols + col];
}

void Surface::resize(int w, int h)
{
    width = w;
    height = h;
    pixels.assign((size_t)w * h, kWhite);
    // Enough cells for every pixel position that rounds into the window.
    cells.resize((w + kCellPixelWidth / 2) / kCellPixelWidth + 1,
                 (h + kCellPixelHeight / 2) / kCellPixelHeight + 1);
    dirty.clear();
    dirty.add(RECT{0, 0, w, h});
}

} // namespace brelox
