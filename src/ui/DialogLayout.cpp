#include "DialogLayout.h"

#include <algorithm>

namespace {

// Sums and differences of coordinates are formed in 64 bits; what comes out is held to the 32-bit range.
int clamped(int64_t value) { return int(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// One axis of centring: the far edge first, then the near one, so the near edge wins when the window is too big.
int centredStart(int64_t referenceStart, int64_t referenceLength, int64_t areaStart, int64_t areaEnd, int64_t length) {
    int64_t start = referenceStart + referenceLength / 2 - length / 2;
    if (start + length > areaEnd)
        start = areaEnd - length;
    if (start < areaStart)
        start = areaStart;
    return clamped(start);
}

struct Span {
    int start;
    int end;
};

// One axis of a resize: centred in the new length, or the far edge (and with `move` the near edge) shifted by
// the change in length.
Span resizedSpan(Span current, Span initial, bool centre, bool follow, bool move, int initialLength, int newLength) {
    int64_t change = int64_t(newLength) - initialLength;
    if (centre) {
        int64_t start = (int64_t(newLength) + initial.start - initial.end) / 2;
        return {clamped(start), clamped(start + (int64_t(initial.end) - initial.start))};
    }
    if (!follow && !move)
        return current;
    Span span = current;
    span.end = clamped(initial.end + change);
    if (move)
        span.start = clamped(initial.start + change);
    return span;
}

} // namespace

LayoutPoint centredPosition(const LayoutRect& reference, const LayoutRect& area, int width, int height) {
    return {centredStart(reference.left, int64_t(reference.right) - reference.left, area.left, area.right, width),
            centredStart(reference.top, int64_t(reference.bottom) - reference.top, area.top, area.bottom, height)};
}

LayoutRect resizedRect(const LayoutRect& current, const LayoutRect& initial, uint32_t flags, LayoutSize initialClient,
                       LayoutSize newClient) {
    Span x = resizedSpan({current.left, current.right}, {initial.left, initial.right}, flags & CenterX, flags & SizeX,
                         flags & MoveX, initialClient.width, newClient.width);
    Span y = resizedSpan({current.top, current.bottom}, {initial.top, initial.bottom}, flags & CenterY, flags & SizeY,
                         flags & MoveY, initialClient.height, newClient.height);
    return {x.start, y.start, x.end, y.end};
}
