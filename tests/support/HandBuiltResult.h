#pragma once
// A search state filled by hand: directory and file records in its pools,
// groups stored with StoreGroup the way the comparison stores them.

#include "engine/SearchState.h"

#include <gtest/gtest.h>

namespace paradrex::test {

class HandBuiltResult : public ::testing::Test {
protected:
    const NameRecord* Dir(const NameRecord* parent, const char* name) {
        return NameRecord::Create(state.namePool, parent, name);
    }
    FileRecord* File(const NameRecord* dir, const char* name) {
        return FileRecord::Create(state.recordPool, dir, name, 10, 0);
    }

    SearchState state;
};

} // namespace paradrex::test
