#pragma once
// The three state images of the result lists, in image order: a cross in a
// box (Deleted), an empty box (Unsettled), a green tick in a box (Preserved).
// A file in state s shows image s + 1.

#include "engine/SearchModel.h"

#include <QIcon>

#include <array>

class CStateImages {
public:
    CStateImages();
    const QIcon& Image(int index) const; // 0..2; an empty icon outside
    const QIcon& ImageOf(paradrex::FileState state) const;

private:
    std::array<QIcon, 3> images_;
    QIcon none_;
};
