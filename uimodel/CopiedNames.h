#pragma once
// The rows Copy Name remembers for Paste Name: one in the clone list, one in
// the one list (-1: nothing copied there). A list filled anew forgets its
// row, which would now name another file; the other list keeps its own.

#include "review/ListKind.h"

namespace paradrex {

class CopiedNames {
public:
    // Copy Name with `row` selected in `list`; the file list has no Copy
    // Name and remembers nothing, and no row (-1) forgets the list's row.
    void Copy(ListKind list, int row);
    // The row remembered for `list`, -1 when none.
    int row(ListKind list) const;
    // `list` was emptied or filled again.
    void Refilled(ListKind list) { Copy(list, -1); }

private:
    int clone_ = -1;
    int one_ = -1;
};

} // namespace paradrex
