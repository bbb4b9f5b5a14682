#pragma once
// The Group Set switch: while it is on, marking the file at one position of a
// clone-set row marks the file at that position in every group of the clone
// set, that is the file in the same directory of every group with the same
// directory layout. One switch per process, on at start, never saved; the
// "Group Set" command flips it and the frame shows it as a check mark. Used
// on the user-interface thread only.

namespace paradrex {

class GroupSetSwitch {
public:
    // The process-wide switch.
    static GroupSetSwitch& Instance();

    bool on() const { return on_; }
    void Flip() { on_ = !on_; }
    void Set(bool on) { on_ = on; }

private:
    bool on_ = true;
};

} // namespace paradrex
