// Reading a figure in a fuzz target as the loader reads one: open the file, make an empty root,
// empty the motion table, call the reader with the root until it returns 0, close the file. The
// table is one allocation of a quarter megabyte that every read would otherwise make and zero
// afresh; a target keeps its tables for the whole run instead.
#pragma once

#include "model/limb.h"
#include "model/motion_table.h"

namespace fuzz_support {

struct FigureRead {
    // Reads the file name into a new tree and into table, which is emptied first and stays the
    // caller's; aborts when the file cannot be opened or the root cannot be allocated, which no
    // input can cause.
    FigureRead(const char* name, MotionTable* table);
    // Frees the tree.
    ~FigureRead();
    FigureRead(const FigureRead&) = delete;
    FigureRead& operator=(const FigureRead&) = delete;

    Limb* root = nullptr;
    MotionTable* motion = nullptr;
};

// A motion table for the whole run of a target; aborts when it cannot be allocated.
MotionTable* keptTable();

}  // namespace fuzz_support
