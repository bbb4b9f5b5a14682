#pragma once
// Tests of unreadable files and folders must also work when they run as
// root (as CI does). While an Unprivileged object lives, the calling thread
// (and threads it starts) loses the capabilities that bypass file
// permissions; without root it does nothing.

namespace paradrex::test {

class Unprivileged {
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    bool dropped_ = false;
};

} // namespace paradrex::test
