#include "uimodel/CopiedNames.h"

namespace paradrex {

void CopiedNames::Copy(ListKind list, int row) {
    if (row < 0)
        row = -1;
    switch (list) {
    case ListKind::CloneList:
        clone_ = row;
        break;
    case ListKind::OneList:
        one_ = row;
        break;
    case ListKind::FileList:
        break;
    }
}

int CopiedNames::row(ListKind list) const {
    switch (list) {
    case ListKind::CloneList:
        return clone_;
    case ListKind::OneList:
        return one_;
    case ListKind::FileList:
        break;
    }
    return -1;
}

} // namespace paradrex
