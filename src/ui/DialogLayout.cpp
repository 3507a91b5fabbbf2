#include "DialogLayout.h"

namespace {

// One axis of centring: the far edge first, then the near one, so the near edge wins when the window is too big.
int centredStart(int referenceStart, int referenceLength, int areaStart, int areaEnd, int length) {
    int start = referenceStart + referenceLength / 2 - length / 2;
    if (start + length > areaEnd)
        start = areaEnd - length;
    if (start < areaStart)
        start = areaStart;
    return start;
}

struct Span {
    int start;
    int end;
};

// One axis of a resize: centred in the new length, or the far edge (and with `move` the near edge) shifted by
// the change in length.
Span resizedSpan(Span current, Span initial, bool centre, bool follow, bool move, int initialLength, int newLength) {
    int change = newLength - initialLength;
    if (centre) {
        int start = (newLength + initial.start - initial.end) / 2;
        return {start, start + (initial.end - initial.start)};
    }
    if (!follow && !move)
        return current;
    Span span = current;
    span.end = initial.end + change;
    if (move)
        span.start = initial.start + change;
    return span;
}

} // namespace

LayoutPoint centredPosition(const LayoutRect& reference, const LayoutRect& area, int width, int height) {
    return {centredStart(reference.left, reference.width(), area.left, area.right, width),
            centredStart(reference.top, reference.height(), area.top, area.bottom, height)};
}

LayoutRect resizedRect(const LayoutRect& current, const LayoutRect& initial, uint32_t flags, LayoutSize initialClient,
                       LayoutSize newClient) {
    Span x = resizedSpan({current.left, current.right}, {initial.left, initial.right}, flags & CenterX, flags & SizeX,
                         flags & MoveX, initialClient.width, newClient.width);
    Span y = resizedSpan({current.top, current.bottom}, {initial.top, initial.bottom}, flags & CenterY, flags & SizeY,
                         flags & MoveY, initialClient.height, newClient.height);
    return {x.start, y.start, x.end, y.end};
}
