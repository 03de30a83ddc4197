#pragma once

#include "platform/window_messages.h"

#include <optional>

// Where the full-screen closing rules see the pointer, from what a compositor tells: the sum of
// its relative motion, which only a moving pointer makes. A compositor's own doing (a window
// animated under a still pointer, an enter, a re-enter on another output) changes only the
// pointer's position on our surface, so positions count only as long as the pointer has given
// no relative motion: without the protocol, or for a pointer that reports positions only.
class PointerTravel {
  public:
    // An enter or a motion, in the compositor's space.
    void positionAt(CursorPosition position);
    // The pointer back on the surface it last left: no travel, wherever the compositor says it
    // is (it may be animating the surface); later positions count from there.
    void reenteredAt(CursorPosition position);
    // A relative motion's delta as the pointer moved (accelerated, unclipped).
    void movedBy(double dx, double dy);

    // After each batch of events: where the pointer now is, if it moved. Relative motion and a
    // position from one physical motion come in one batch, in either order.
    std::optional<CursorPosition> batchEnded();

  private:
    bool relativeSeen_ = false;
    bool relativeInBatch_ = false;
    std::optional<CursorPosition> position_; // the last one given in this batch
    CursorPosition anchor_;                  // where the relative sum starts
    CursorPosition shift_;                   // from a re-enter's position to where it counts
    double sumX_ = 0.0;
    double sumY_ = 0.0;
};
