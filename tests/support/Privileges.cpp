#include "support/Privileges.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace paradrex::test {

namespace {

bool SetEffective(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned caps[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};
    for (unsigned c : caps) {
        if (on)
            data[c / 32].effective |= (1u << (c % 32)) & data[c / 32].permitted;
        else
            data[c / 32].effective &= ~(1u << (c % 32));
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

Unprivileged::Unprivileged() {
    if (::geteuid() == 0)
        dropped_ = SetEffective(false);
}

Unprivileged::~Unprivileged() {
    if (dropped_)
        SetEffective(true);
}

} // namespace paradrex::test
