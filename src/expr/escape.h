#pragma once
// How a long formula run learns that the user wants it stopped. Kept apart
// from the engine's state so that window code can include it: the engine's
// record has a member named like one of Qt's keywords.

namespace qf {

// Asked before every instruction whether the user wants the run stopped.
// Implementations must be cheap (the window's one throttles its keyboard query).
class EscapePoll {
public:
    virtual ~EscapePoll() = default;
    virtual bool escapeRequested() = 0;
};

// nullptr: never stop (the default).
void setEscapePoll(EscapePoll* poll);

}  // namespace qf
