#include "review/GroupSetSwitch.h"

namespace paradrex {

GroupSetSwitch& GroupSetSwitch::Instance() {
    static GroupSetSwitch instance;
    return instance;
}

} // namespace paradrex
